#!/bin/sh
# Installs the build into a fresh prefix: both programs and both manual pages
# land where PATH and man look, and the pages render without a warning.
set -eu
cmake=$1 build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for program in image-border dibdump; do
  test -x "$prefix/bin/$program"
  page=$prefix/share/man/man1/$program.1.gz
  warnings=$(zcat "$page" | groff -ww -z -man 2>&1)
  [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
