#!/bin/sh
# Configures and builds a build directory, showing ninja's progress:
#   build.sh DIR [meson options]
# A directory configured before takes the options given again.
set -eu
dir=${1:-build}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ ! -f "$dir/build.ninja" ]; then
    echo "configuring $dir $*"
    log=$(mktemp)
    meson setup "$dir" "$@" >"$log" 2>&1 || { cat "$log"; rm -f "$log"; exit 1; }
    rm -f "$log"
elif [ $# -gt 0 ]; then
    meson configure "$dir" "$@" >/dev/null
fi
echo "building in $dir"
ninja -C "$dir"
