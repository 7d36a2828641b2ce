#!/bin/sh
# Records what dmidecode prints for each dump in DUMPS, so that the tests
# can compare against it without dmidecode installed. Run by hand after
# adding or changing a table (needs dmidecode 3.4):
#   sh record-dmidecode.sh DUMPS [OUT]
# for real-tables/ itself, and for the generation tables with DUMPS the
# build's tests/view directory and OUT generations/. For each NAME.dumpbin:
#   OUT/NAME.txt        dmidecode --from-dump NAME.dumpbin (not for codes-*)
#   OUT/NAME.keywords   a transcript (each command line, then what it
#                       printed indented two blanks): every -s keyword,
#                       every --oem-string and the handle lines each -t
#                       type keyword selects
set -eu
dumps=$1
out=${2:-$1}
keywords=$(dmidecode -s 2>&1 | sed -n 's/^  //p')
types=$(dmidecode -t 2>&1 | sed -n 's/^  //p')
for dump in "$dumps"/*.dumpbin; do
    name=$(basename "$dump" .dumpbin)
    # The header names the file read; keep it free of build paths. The
    # code tables are there for their keyword texts only.
    case $name in
        codes-*) ;;
        *) (cd "$dumps" && dmidecode --from-dump "$name.dumpbin") >"$out/$name.txt" ;;
    esac
    indent() { sed 's/^/  /'; }
    {
        for keyword in $keywords; do
            echo "dmidecode -s $keyword"
            dmidecode --from-dump "$dump" -s "$keyword" | indent
        done
        count=$(dmidecode --from-dump "$dump" --oem-string count 2>/dev/null |
                head -n 1)
        echo "dmidecode --oem-string count"
        dmidecode --from-dump "$dump" --oem-string count 2>/dev/null | indent
        n=1
        while [ -n "$count" ] && [ "$n" -le "$count" ]; do
            echo "dmidecode --oem-string $n"
            dmidecode --from-dump "$dump" --oem-string "$n" 2>/dev/null | indent
            n=$((n + 1))
        done
        for type in $types; do
            echo "dmidecode -t $type"
            dmidecode --from-dump "$dump" -t "$type" | grep '^Handle ' | indent
        done
    } >"$out/$name.keywords"
done
