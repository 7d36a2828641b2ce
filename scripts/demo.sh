#!/bin/sh
# The main job: builds the library and its tools, starts the stand-in
# platform services on a private bus and talks to them through qvm.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
qvm="$root/build/tools/qvm/qvm"
. "$root/scripts/standin-bus.sh"
trap stop_standin EXIT INT TERM
start_standin "$root/build"

echo "library version:  $("$qvm" version)"
echo "manager version:  $("$qvm" --bus "$STANDIN_ADDRESS" manager version)"
echo "package request:  $("$qvm" --bus "$STANDIN_ADDRESS" manager package \
    --ticket DEMO-TICKET --number1 1 --number2 2)"
