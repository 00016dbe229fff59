#!/bin/sh
# Builds the Windows .zip and checks that it holds quilvex.exe and README.
# Usage: zip_package_test.sh BUILD_DIR CMAKE
set -eu
build=$1 cmake=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G ZIP -B "$work" > "$work/cpack.log") || {
  cat "$work/cpack.log"
  exit 1
}
zip=$(ls "$work"/quilvex-1.0.0-*.zip)
contents=$(cd "$work" && "$cmake" -E tar tf "$zip" | sort | tr '\n' ' ')
if [ "$contents" != "README.md quilvex.exe " ]; then
  echo "unexpected contents of $zip: $contents"
  exit 1
fi
echo "$zip holds $contents"
