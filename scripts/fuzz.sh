#!/bin/sh
# Builds the libFuzzer targets with clang under ASan + UBSan and runs them.
#   fuzz.sh [SECONDS]
#       every target for SECONDS (default 60), from its seeds in
#       fuzz/corpus/NAME/; the corpus is left as it is.
#   fuzz.sh --campaign MINUTES [NAME...]
#       each named target (default: all) for MINUTES, then merges what the
#       run reached back into fuzz/corpus/NAME/ (-merge=1): named files there
#       (hand-written seeds, regression inputs) are always kept, the rest is
#       replaced by the smallest set of inputs that covers as much.
# Any finding exits non-zero; its input is kept under build-fuzz/findings/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cd "$root"
dir=build-fuzz
if [ ! -f "$dir/build.ninja" ]; then
    CC=clang CXX=clang++ meson setup "$dir" -Dfuzz=true -Dtests=disabled \
        -Dbench=disabled -Db_sanitize=address,undefined -Db_lundef=false \
        -Dcpp_args=-fsanitize=fuzzer-no-link >/dev/null
fi
# Quiet when it builds; on a failure ninja is run again to show why.
ninja -C "$dir" >/dev/null || { ninja -C "$dir"; exit 1; }
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
findings="$root/$dir/findings"

campaign=0
if [ "${1:-}" = "--campaign" ]; then
    campaign=1
    seconds=$((${2:?minutes} * 60))
    shift 2
else
    seconds=${1:-60}
    [ $# -gt 0 ] && shift
fi
names=$*
if [ -z "$names" ]; then
    for target in "$dir"/fuzz/fuzz_*; do
        if [ -f "$target" ] && [ -x "$target" ]; then
            names="$names ${target##*/fuzz_}"
        fi
    done
fi

# Libfuzzer names the inputs it keeps by their SHA-1; anything else in a
# corpus folder was put there on purpose.
is_generated() {
    echo "$1" | grep -Eq '^[0-9a-f]{40}$'
}

# Replaces the generated inputs of seeds by the smallest set that, together
# with the named ones, covers what seeds and reached cover.
merge_back() {
    target=$1 seeds=$2 reached=$3
    merged=$(mktemp -d) rest=$(mktemp -d)
    for f in "$seeds"/*; do
        [ -f "$f" ] || continue
        if is_generated "${f##*/}"; then cp "$f" "$rest/"; else cp "$f" "$merged/"; fi
    done
    # Edges alone, not how often each was hit: a few hundred files at most.
    "$target" -merge=1 -use_counters=0 "$merged" "$rest" "$reached" \
        2>/dev/null
    for f in "$seeds"/*; do
        if [ -f "$f" ] && is_generated "${f##*/}"; then rm "$f"; fi
    done
    for f in "$merged"/*; do
        if [ -f "$f" ] && is_generated "${f##*/}"; then cp "$f" "$seeds/"; fi
    done
    rm -rf "$merged" "$rest"
    echo "  corpus: $(find "$seeds" -type f | wc -l) files in fuzz/corpus/${seeds##*/}"
}

for name in $names; do
    target="$dir/fuzz/fuzz_$name"
    [ -x "$target" ] || { echo "no fuzz target $name" >&2; exit 2; }
    seeds="$root/fuzz/corpus/$name"
    mkdir -p "$seeds" "$findings"
    reached=$(mktemp -d)
    log="$reached.log"
    echo "fuzzing fuzz_$name for ${seconds}s"
    "$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/$name-" "$reached" "$seeds" 2>"$log" ||
        { tail -n 60 "$log"; exit 1; }
    # The last status line (runs, coverage, features) and the run count.
    grep -E '^#[0-9]+' "$log" | tail -n 1
    grep -E '^stat::number_of_executed_units' "$log" || true
    if [ "$campaign" -eq 1 ]; then
        merge_back "$target" "$seeds" "$reached"
    fi
    rm -rf "$reached" "$log"
done
