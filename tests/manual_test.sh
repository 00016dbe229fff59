#!/bin/sh
# The manual page lints clean and renders.
# Usage: manual_test.sh quilvex.1
set -eu
page=$1
lint=$(mandoc -T lint -W warning "$page" 2>&1) || true
if [ -n "$lint" ]; then
  echo "$lint"
  exit 1
fi
rendered=$(MANWIDTH=80 man -l "$page" 2>&1)
for section in NAME SYNOPSIS DESCRIPTION FILES "EXIT STATUS" EXAMPLES \
  DIAGNOSTICS "SEE ALSO"; do
  printf '%s\n' "$rendered" | grep -q "^$section\$" || {
    echo "missing section: $section"
    exit 1
  }
done
printf '%s\n' "$rendered" | grep -q 'Which file would you like to go first?'
echo "manual page lints clean and renders"
