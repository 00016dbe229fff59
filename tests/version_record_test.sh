#!/bin/sh
# Reads the version record and the PE header back out of quilvex.exe.
# Usage: version_record_test.sh quilvex.exe WINDRES OBJDUMP
set -eu
exe=$1 windres=$2 objdump=$3
record=$("$windres" -J coff -O rc -i "$exe")
headers=$("$objdump" -p "$exe")
status=0
expect() {  # expect TEXT WHAT LINE
  if ! printf '%s\n' "$1" | grep -qxF -- "$3"; then
    echo "missing from the $2: $3"
    status=1
  fi
}
for line in \
  'LANGUAGE 9, 1' \
  ' FILEVERSION 1, 0, 0, 0' \
  ' PRODUCTVERSION 1, 0, 0, 0' \
  '    BLOCK "040904B0"' \
  '      VALUE "CompanyName", "The Quilvex authors"' \
  '      VALUE "FileDescription", "Makes a layout file"' \
  '      VALUE "FileVersion", "1.0.0.0"' \
  '      VALUE "InternalName", "Quilvex"' \
  '      VALUE "LegalCopyright", "Copyright (c) 2026 The Quilvex authors"' \
  '      VALUE "OriginalFilename", "quilvex.exe"' \
  '      VALUE "ProductName", "Quilvex"' \
  '      VALUE "ProductVersion", "1.00"' \
  '    VALUE "Translation", 0x409, 1200'; do
  expect "$record" "version record" "$line"
done
case $headers in
*"file format pei-i386"*)
  expect "$headers" "PE header" 'Magic			010b	(PE32)' ;;
*"file format pei-x86-64"*)
  expect "$headers" "PE header" 'Magic			020b	(PE32+)' ;;
*) echo "not a PE program: $exe"; status=1 ;;
esac
expect "$headers" "PE header" 'Subsystem		00000003	(Windows CUI)'
# Linked statically: only the system's own DLLs.
dlls=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u | tr '\n' ' ')
if [ "$dlls" != "KERNEL32.dll msvcrt.dll " ]; then
  echo "unexpected DLLs: $dlls"
  status=1
fi
[ $status = 0 ] && echo "$exe: version record and header as expected"
exit $status
