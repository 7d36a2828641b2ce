#!/bin/sh
# Installs the Debian packages that building and testing need, when missing.
set -eu
packages="meson ninja-build g++ clang pkg-config binutils
libsystemd-dev libjson-c-dev
libgtest-dev libgmock-dev libbenchmark-dev dbus-daemon
nlohmann-json3-dev libcli11-dev abigail-tools systemd doxygen scdoc bash-completion"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing >/dev/null
