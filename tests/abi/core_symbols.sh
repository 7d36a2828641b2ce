#!/bin/sh
# The core below the C interface neither defines nor uses an exported name:
# every name the given archives' objects define or reference is checked
# against the list under symbols/.
#   core_symbols.sh SYMBOLS_DIR ARCHIVE...
set -eu
export LC_ALL=C
symbols_dir=$1
shift
exported=$(mktemp)
trap 'rm -f "$exported"' EXIT
cat "$symbols_dir"/*.txt | sed '/^$/d' | sort -u >"$exported"
found=$(nm --format=posix "$@" | awk 'NF >= 2 && $1 !~ /:$/ {print $1}' |
    sort -u | comm -12 "$exported" -)
if [ -n "$found" ]; then
    echo "the core defines or uses exported names:" >&2
    echo "$found" >&2
    exit 1
fi
