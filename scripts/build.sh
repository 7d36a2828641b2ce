#!/bin/sh
# Configures and builds a build directory: build.sh DIR [meson options]. A
# directory configured before takes the options given again.
set -eu
dir=${1:-build}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ ! -f "$dir/build.ninja" ]; then
    meson setup "$dir" "$@" >/dev/null
elif [ $# -gt 0 ]; then
    meson configure "$dir" "$@" >/dev/null
fi
ninja -C "$dir" >/dev/null
