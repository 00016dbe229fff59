#!/bin/sh
# Installs into a scratch DESTDIR and runs the installed program.
# Usage: install_test.sh BUILD_DIR
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr/local > /dev/null
for f in bin/quilvex share/man/man1/quilvex.1 share/doc/quilvex/README.md; do
  test -f "$root/usr/local/$f" || { echo "not installed: $f"; exit 1; }
done
"$root/usr/local/bin/quilvex" -v > "$root/version"
printf 'Quilvex version 1.0.0.0  Copyright (c) 2026 The Quilvex authors\nFunction: Creates xnq file.\nOptions:\n\t-v\tPrints the version number.\n' > "$root/expected"
cmp "$root/version" "$root/expected"
echo "installed and ran $root/usr/local/bin/quilvex"
