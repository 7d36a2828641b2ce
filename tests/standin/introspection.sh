#!/bin/sh
# What a developer sees of the stand-in with busctl: the members EXPECTED
# lists, and every object that the mapper lists in the tree of its service.
# introspection.sh BUILD_DIR FIXTURE STANDIN_HELPER EXPECTED
set -eu
command -v busctl >/dev/null 2>&1 ||
    { echo "SKIP: busctl (from systemd) is not installed"; exit 77; }
# shellcheck source=/dev/null
. "$3"
trap stop_standin EXIT
start_standin "$1" "$2"
bus="--address=$STANDIN_ADDRESS"
failed=0

# expect SERVICE PATH INTERFACE MEMBER KIND SIGNATURE RESULT ("-": none)
expect() {
    busctl "$bus" introspect "$1" "$2" "$3" |
        awk -v m=".$4" -v k="$5" -v s="$6" -v r="$7" \
            '$1 == m && $2 == k && $3 == s && $4 == r {found = 1}
             END {exit !found}' ||
        { echo "not introspected: $*" >&2; failed=1; }
}

# shellcheck disable=SC2086
while read -r line; do
    case $line in '#'* | '') ;; *) expect $line ;; esac
done <"$4"

# Every (service, path) pair of the mapper's answer is in that service's tree.
pairs=$(busctl "$bus" --json=short call xyz.openbmc_project.ObjectMapper \
    /xyz/openbmc_project/object_mapper xyz.openbmc_project.ObjectMapper \
    GetSubTree sias / 0 0 |
    python3 -c 'import json, sys
for path, services in json.load(sys.stdin)["data"][0].items():
    for service in services:
        print(service, path)')
[ -n "$pairs" ] || { echo "the mapper lists nothing" >&2; failed=1; }
for service in $(echo "$pairs" | cut -d' ' -f1 | sort -u); do
    tree=$(busctl "$bus" tree --list "$service")
    echo "$pairs" | awk -v s="$service" '$1 == s {print $2}' |
        while read -r path; do
            echo "$tree" | grep -qx "$path" ||
                { echo "$service: $path not in its tree" >&2; exit 1; }
        done || failed=1
done
exit $failed
