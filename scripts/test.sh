#!/bin/sh
# Installs what is missing, builds and runs the whole test suite.
#   scripts/test.sh            plain build in build/
#   scripts/test.sh --sanitize AddressSanitizer + UBSan build in build-asan/
set -eu
# Checked span and container access in the library and the tests alike.
checked=-Dcpp_args=-D_GLIBCXX_ASSERTIONS
# Warnings are errors here and in CI; the default leaves them warnings for
# packagers with newer compilers.
strict=-Dwerror=true
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cd "$root"
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-asan
    label=sanitized
    "$root/scripts/build.sh" "$dir" -Db_sanitize=address,undefined \
        -Db_lundef=false -Dbench=disabled "$checked" "$strict"
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    dir=build
    label=plain
    "$root/scripts/build.sh" "$dir" "$checked" "$strict"
fi
status=0
meson test -C "$dir" --print-errorlogs || status=$?
# One closing line for the whole run, counted from meson's own log.
log="$dir/meson-logs/testlog.json"
passed=$(grep -c '"result": "OK"' "$log" || true)
failed=$(grep -c -E '"result": "(FAIL|TIMEOUT|ERROR|UNEXPECTEDPASS)"' "$log" || true)
echo "$label: $passed passed, $failed failed"
exit $status
