#!/bin/sh
# Installs the Debian packages that building and testing need, when missing.
#   install-deps.sh              for the build machine
#   install-deps.sh --cross armhf  also the cross compiler, the emulator and
#                                the armhf libraries (multiarch)
set -eu
packages="meson ninja-build g++ clang pkg-config binutils
libsystemd-dev libjson-c-dev
libgtest-dev libgmock-dev libbenchmark-dev dbus-daemon
nlohmann-json3-dev libcli11-dev abigail-tools systemd doxygen scdoc bash-completion"
if [ "${1:-}" = "--cross" ]; then
    arch=${2:?which architecture}
    [ "$arch" = armhf ] || { echo "no cross build for $arch" >&2; exit 2; }
    # The test programs are ARM programs that the kernel hands to qemu-arm;
    # dbus-daemon and the build tools stay the build machine's.
    packages="$packages g++-arm-linux-gnueabihf qemu-user-static binfmt-support
libc6:armhf libstdc++6:armhf libsystemd-dev:armhf libjson-c-dev:armhf
libgtest-dev:armhf libgmock-dev:armhf libbenchmark-dev:armhf"
    dpkg --print-foreign-architectures | grep -qx "$arch" || {
        dpkg --add-architecture "$arch"
        apt-get update -qq
    }
fi
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
