#!/bin/sh
# Installs the build into a scratch root, then builds a C99 program for the
# target with nothing but the installed header and pkg-config's flags, runs
# it and compares the record layouts it prints with the installed header's.
#   c_consumer.sh BUILD_DIR SOURCE LAYOUT_CHECK SANITIZE CC...
# PKG_CONFIG_LIBDIR, when set, is where the target's own .pc files are.
set -eu
build_dir=$1
source=$2
layout_check=$3
# A sanitized library needs its runtime in the consumer too.
sanitize=$4
shift 4
extra=""
[ "$sanitize" != none ] && extra="-fsanitize=$sanitize"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
meson install -C "$build_dir" --destdir "$root" --no-rebuild --quiet
pcdir=$(dirname "$(find "$root" -name qvmclient.pc | head -n 1)")
flags=$(PKG_CONFIG_PATH="$pcdir" PKG_CONFIG_SYSROOT_DIR="$root" \
    pkg-config --cflags --libs qvmclient)
libdir=$(dirname "$(find "$root" -name 'libqvmclient.so.1' | head -n 1)")
header=$(find "$root" -name qvmclient.h | head -n 1)
# shellcheck disable=SC2086
"$@" -std=c99 -Wall -Wextra -pedantic -Werror $extra "$source" $flags \
    -o "$root/consumer"
LD_LIBRARY_PATH="$libdir" "$root/consumer" >"$root/layouts"
"$layout_check" "$header" <"$root/layouts"
