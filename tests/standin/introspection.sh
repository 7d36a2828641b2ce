#!/bin/sh
# What a developer sees of the stand-in with busctl: every method that the
# library calls, with the signatures it calls it with, the manager's signal,
# the control interface, and every object that the mapper lists in the tree
# of its service. introspection.sh BUILD_DIR FIXTURE STANDIN_HELPER
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

manager="xyz.openbmc_project.QuorvaneManager1 /xyz/openbmc_project/QuorvaneManager1"
qv0=xyz.openbmc_project.QuorvaneManager1.QV0
# shellcheck disable=SC2086
{
    expect $manager $qv0 Package method sqq x
    expect $manager $qv0 Save method 'sst(uuuss)' x
    expect $manager $qv0 Collect method 's(ussssss)qq' xts
    expect $manager $qv0 Export method 's(ussssss)q' xts
    expect $manager $qv0 GetVersion method - s
    expect $manager $qv0 Ticket method '(uuyyyyyysss)' '(uuttyyyyyysss)as'
    expect $manager org.freedesktop.DBus.Properties PropertiesChanged signal \
        'sa{sv}as' -
}
expect xyz.openbmc_project.EventLogging /xyz/openbmc_project/EventLogging \
    xyz.openbmc_project.EventLogging AddEventLog method yssas -
expect xyz.openbmc_project.ObjectMapper /xyz/openbmc_project/object_mapper \
    xyz.openbmc_project.ObjectMapper GetSubTree method sias 'a{sa{sas}}'
expect xyz.openbmc_project.invd /xyz/openbmc_project/invd/oem \
    org.freedesktop.DBus.Properties Get method ss v
expect xyz.openbmc_project.Inventory.Manager \
    /xyz/openbmc_project/inventory/system/chassis/powersupply0 \
    org.freedesktop.DBus.Properties GetAll method s 'a{sv}'
# Introspection reads the property values through GetAll.
expect xyz.openbmc_project.Inventory.Manager \
    /xyz/openbmc_project/inventory/system/chassis/powersupply0 \
    xyz.openbmc_project.Inventory.Decorator.Asset Model property s '"QP-1600T"'
control="net.qvmclient.Standin /net/qvmclient/Standin net.qvmclient.Standin.Control"
# shellcheck disable=SC2086
{
    expect $control Script method ss -
    expect $control Calls method s as
    expect $control Reset method - -
    expect $control Emit method sss -
}

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
