#!/bin/sh
# Lets the kernel run ARM programs through qemu-arm (binfmt_misc), so that
# tests, and the children they start, run like the build machine's own.
# Mounts binfmt_misc and enables the qemu-arm entry when it can; says why
# and fails when it cannot.
set -eu
fs=/proc/sys/fs/binfmt_misc
fail() {
    echo "cannot run ARM programs here: $*" >&2
    echo "(needs root, or a host where binfmt_misc already has qemu-arm" \
        "enabled; containers need it registered on the host)" >&2
    exit 1
}
if [ ! -f "$fs/status" ]; then
    mount -t binfmt_misc binfmt_misc "$fs" 2>/dev/null ||
        fail "binfmt_misc is not mounted and mounting it failed"
fi
if ! grep -qx enabled "$fs/qemu-arm" 2>/dev/null; then
    update-binfmts --enable qemu-arm >/dev/null 2>&1 ||
        fail "the qemu-arm entry of binfmt_misc could not be enabled"
fi
grep -qx enabled "$fs/status" || fail "binfmt_misc is switched off"
# The proof: a tiny ARM program runs.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'int main(void) { return 0; }\n' >"$probe/probe.c"
arm-linux-gnueabihf-gcc "$probe/probe.c" -o "$probe/probe" ||
    fail "the cross compiler does not work"
"$probe/probe" || fail "an ARM program does not start through qemu-arm"
