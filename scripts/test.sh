#!/bin/sh
# Installs what is missing, builds and runs the whole test suite.
#   scripts/test.sh               plain build in build/
#   scripts/test.sh --sanitize    AddressSanitizer + UBSan build in build-asan/
#   scripts/test.sh --cross armhf the BMC's 32-bit ARM in build-armhf/, run
#                                 under qemu-arm through binfmt_misc (root)
set -eu
# Checked span and container access in the library and the tests alike.
checked=-Dcpp_args=-D_GLIBCXX_ASSERTIONS
# Warnings are errors here and in CI; the default leaves them warnings for
# packagers with newer compilers.
strict=-Dwerror=true
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
case "${1:-}" in
--sanitize)
    "$root/scripts/install-deps.sh"
    dir=build-asan
    label=sanitized
    "$root/scripts/build.sh" "$dir" -Db_sanitize=address,undefined \
        -Db_lundef=false -Dbench=disabled "$checked" "$strict"
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    ;;
--cross)
    arch=${2:?usage: test.sh --cross armhf}
    "$root/scripts/install-deps.sh" --cross "$arch"
    "$root/scripts/binfmt-arm.sh"
    dir=build-$arch
    label=$arch
    if [ ! -f "$dir/build.ninja" ]; then
        "$root/scripts/build.sh" "$dir" --cross-file "scripts/cross/$arch.ini" \
            -Dwerror=true "$checked"
    else
        "$root/scripts/build.sh" "$dir"
    fi
    ;;
*)
    "$root/scripts/install-deps.sh"
    dir=build
    label=plain
    "$root/scripts/build.sh" "$dir" "$checked" "$strict"
    ;;
esac
status=0
# Emulated programs run several times slower: the time limits stretch.
multiplier=1
[ "$label" = armhf ] && multiplier=3
meson test -C "$dir" --print-errorlogs -t "$multiplier" || status=$?
# One closing line for the whole run, counted from meson's own log.
log="$dir/meson-logs/testlog.json"
passed=$(grep -c '"result": "OK"' "$log" || true)
failed=$(grep -c -E '"result": "(FAIL|TIMEOUT|ERROR|UNEXPECTEDPASS)"' "$log" || true)
echo "$label: $passed passed, $failed failed"
exit $status
