#!/bin/sh
# Builds the libFuzzer targets with clang under ASan + UBSan and runs each for
# a bounded time: fuzz.sh [SECONDS]. Any finding exits non-zero.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cd "$root"
dir=build-fuzz
if [ ! -f "$dir/build.ninja" ]; then
    CC=clang CXX=clang++ meson setup "$dir" -Dfuzz=true -Dtests=disabled \
        -Dbench=disabled -Db_sanitize=address,undefined -Db_lundef=false \
        -Dcpp_args=-fsanitize=fuzzer-no-link >/dev/null
fi
ninja -C "$dir" >/dev/null
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "$dir"/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus=$(mktemp -d)
    seeds="$root/fuzz/corpus/${name#fuzz_}"
    echo "fuzzing $name for ${seconds}s"
    dirs="$corpus"
    [ -d "$seeds" ] && dirs="$corpus $seeds"
    # shellcheck disable=SC2086
    "$target" -max_total_time="$seconds" -print_final_stats=0 \
        -artifact_prefix="$corpus/" $dirs 2>"$corpus.log" ||
        { tail -n 60 "$corpus.log"; exit 1; }
    tail -n 1 "$corpus.log"
    rm -rf "$corpus" "$corpus.log"
done
