#!/bin/sh
# Installs the build into a scratch root, then builds and runs a C99 program
# with nothing but the installed header and pkg-config's flags.
set -eu
build_dir=$1
source=$2
# A sanitized library needs its runtime in the consumer too.
sanitize=${3:-none}
extra=""
[ "$sanitize" != none ] && extra="-fsanitize=$sanitize"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
meson install -C "$build_dir" --destdir "$root" --no-rebuild --quiet
pcdir=$(dirname "$(find "$root" -name qvmclient.pc | head -n 1)")
flags=$(PKG_CONFIG_PATH="$pcdir" PKG_CONFIG_SYSROOT_DIR="$root" \
    pkg-config --cflags --libs qvmclient)
libdir=$(dirname "$(find "$root" -name 'libqvmclient.so.1' | head -n 1)")
# shellcheck disable=SC2086
cc -std=c99 -Wall -Wextra -pedantic -Werror $extra "$source" $flags \
    -o "$root/consumer"
LD_LIBRARY_PATH="$libdir" "$root/consumer"
