#!/bin/sh
# The shared object's ABI against a committed baseline (abigail-tools).
#   abi.sh dump LIB OUT        writes LIB's ABI to OUT, free of build paths
#   abi.sh check BASELINE LIB  fails when LIB breaks BASELINE's ABI
# Only the exported interface counts: its functions, variables and every
# type they reach (the records' sizes and field offsets included). Added
# functions and variables are compatible and pass. Exit 77 (skip) when the
# tools or LIB's debug information are missing.
set -eu
usage() { echo "usage: abi.sh dump LIB OUT | check BASELINE LIB" >&2; exit 2; }
[ $# -eq 3 ] || usage

need() {
    for tool in abidw abidiff readelf; do
        command -v "$tool" >/dev/null 2>&1 ||
            { echo "SKIP: $tool is not installed (abigail-tools)"; exit 77; }
    done
    readelf -S "$1" | grep -q '\.debug_info' ||
        { echo "SKIP: $1 has no debug information (build with -g)"; exit 77; }
}

case $1 in
dump)
    need "$2"
    # Locations, build paths and sequential type ids would change with every
    # edit or build directory; the translation units are named from src/.
    abidw --exported-interfaces-only --no-corpus-path --no-comp-dir-path \
        --no-show-locs --no-elf-needed --type-id-style hash "$2" |
        sed "s|path='[^']*/src/|path='src/|" >"$3"
    ;;
check)
    [ -f "$2" ] || {
        echo "no ABI baseline $2: see the README (ABI baseline)" >&2
        exit 1
    }
    need "$3"
    status=0
    abidiff --exported-interfaces-only --no-added-syms "$2" "$3" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "the ABI of $3 differs from $2 (abidiff status $status)" >&2
        exit 1
    fi
    ;;
*)
    usage
    ;;
esac
