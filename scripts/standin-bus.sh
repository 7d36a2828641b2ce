#!/bin/sh
# Sourced helper. start_standin BUILD_DIR [FIXTURE] starts qvm-standin on a
# private bus in the background and sets STANDIN_PID and STANDIN_ADDRESS;
# stop_standin ends it (and with it the bus).
start_standin() {
    standin_out=$(mktemp)
    if [ -n "${2:-}" ]; then
        "$1/tools/standin/qvm-standin" --private --fixture "$2" >"$standin_out" &
    else
        "$1/tools/standin/qvm-standin" --private >"$standin_out" &
    fi
    STANDIN_PID=$!
    STANDIN_ADDRESS=""
    tries=0
    while [ -z "$STANDIN_ADDRESS" ] && [ $tries -lt 100 ]; do
        STANDIN_ADDRESS=$(sed -n 's/^DBUS_SYSTEM_BUS_ADDRESS=//p' "$standin_out")
        [ -n "$STANDIN_ADDRESS" ] || sleep 0.05
        tries=$((tries + 1))
    done
    rm -f "$standin_out"
    [ -n "$STANDIN_ADDRESS" ] || { echo "qvm-standin did not start" >&2; return 1; }
}

stop_standin() {
    [ -n "${STANDIN_PID:-}" ] || return 0
    kill "$STANDIN_PID" 2>/dev/null || true
    wait "$STANDIN_PID" 2>/dev/null || true
    STANDIN_PID=""
}
