#!/bin/sh
# Builds the Debian package, checks its fields and contents, unpacks it into
# a scratch root and runs the program from there.
# Usage: package_test.sh BUILD_DIR
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log") || {
  cat "$work/cpack.log"
  exit 1
}
deb=$(ls "$work"/quilvex_1.0.0_*.deb)

field() { dpkg-deb -f "$deb" "$1"; }
check() {
  if [ "$(field "$1")" != "$2" ]; then
    echo "$1: '$(field "$1")', expected '$2'"
    exit 1
  fi
}
check Package quilvex
check Version 1.0.0
check Section utils
check Maintainer "The Quilvex authors"
field Description | grep -q 'out.xnq'
# Computed by dpkg-shlibdeps, not written by hand.
field Depends | grep -q 'libc6 (>= '

dpkg-deb -c "$deb" | awk '{print $6}' | sort > "$work/contents"
for f in ./usr/bin/quilvex ./usr/share/man/man1/quilvex.1 \
  ./usr/share/doc/quilvex/README.md; do
  grep -qx "$f" "$work/contents" || { echo "not in package: $f"; exit 1; }
done

dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/quilvex" -v | head -n 1 |
  grep -qx 'Quilvex version 1.0.0.0  Copyright (c) 2026 The Quilvex authors'
(cd "$work" && printf 'cpack.log\nn\n' | "$work/root/usr/bin/quilvex" > /dev/null)
grep -qx '0x00000000,"cpack.log"' "$work/out.xnq"
echo "package $deb checked"
