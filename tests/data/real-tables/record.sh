#!/bin/sh
# Records what dmidecode prints for each table here, so that the tests can
# compare against it without dmidecode installed. Run once by hand after
# adding a table (needs dmidecode 3.4):   sh record.sh
#   NAME.txt        dmidecode --from-dump NAME.dumpbin
#   NAME.keywords   a transcript: every -s keyword, every --oem-string and
#                   the handle lines each -t type keyword selects
set -eu
cd "$(dirname "$0")"
keywords=$(dmidecode -s 2>&1 | sed -n 's/^  //p')
types=$(dmidecode -t 2>&1 | sed -n 's/^  //p')
for dump in *.dumpbin; do
    name=${dump%.dumpbin}
    dmidecode --from-dump "$dump" >"$name.txt"
    {
        for keyword in $keywords; do
            echo "\$ dmidecode -s $keyword"
            dmidecode --from-dump "$dump" -s "$keyword"
        done
        count=$(dmidecode --from-dump "$dump" --oem-string count 2>/dev/null || true)
        echo "\$ dmidecode --oem-string count"
        [ -z "$count" ] || echo "$count"
        n=1
        while [ -n "$count" ] && [ "$n" -le "$count" ]; do
            echo "\$ dmidecode --oem-string $n"
            dmidecode --from-dump "$dump" --oem-string "$n"
            n=$((n + 1))
        done
        for type in $types; do
            echo "\$ dmidecode -t $type"
            dmidecode --from-dump "$dump" -t "$type" | grep '^Handle '
        done
    } >"$name.keywords"
done
