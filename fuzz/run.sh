#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# Usage: fuzz/run.sh [seconds] [target ...]   (default 60 s each; every target when none is named)
# A target fuzz_<name> takes its seeds from fuzz/corpus/<name>/ and, when present, its
# dictionary from fuzz/<name>.dict, plus the seeds fuzz/make-limit-seeds.sh makes at its limits.
# Needs clang and libclang-rt-14-dev (Debian 12). The committed seed corpora are never changed:
# each fuzzer works on a copy, and a crashing input is left in build-fuzz/findings/<name>/.
# Exits non-zero when a fuzzer finds a crash, a hang or a broken property.
set -eu

seconds="${1:-60}"
[ $# -gt 0 ] && shift
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

if ! grep -q 'add_subdirectory(fuzz)' "$root/CMakeLists.txt"; then
    echo "fuzz/run.sh: the top-level CMakeLists.txt does not add the fuzz folder" >&2
    exit 2
fi

targets="$*"
if [ -z "$targets" ]; then
    for corpus in "$root"/fuzz/corpus/*/; do
        targets="$targets fuzz_$(basename "$corpus")"
    done
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCORVANE_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" --target $targets -j"$(nproc)"

for target in $targets; do
    name="${target#fuzz_}"
    work="$build/corpus-run/$name"
    findings="$build/findings/$name"
    rm -rf "$work"
    mkdir -p "$work" "$findings"
    cp "$root/fuzz/corpus/$name"/* "$work"/
    dict=""
    [ -f "$root/fuzz/$name.dict" ] && dict="-dict=$root/fuzz/$name.dict"
    # The seeds at the size limits are megabytes: made here, not committed, and run once each
    # through every check rather than fuzzed (mutating megabytes would starve the fuzzing).
    # libFuzzer cuts a seed to -max_len, by default at most 1 MiB: they must stay whole.
    limits="$build/corpus-run/$name-limits"
    rm -rf "$limits"
    sh "$root/fuzz/make-limit-seeds.sh" "$name" "$limits"
    if [ -n "$(ls "$limits")" ]; then
        maxlen=$(wc -c "$limits"/* | sort -n | tail -n 2 | head -n 1 | awk '{print $1}')
        echo "== $target on the seeds at its size limits"
        (cd "$build" && "$build/fuzz/$target" -runs=0 -max_len="$maxlen" -timeout=60 \
            -rss_limit_mb=2048 -artifact_prefix="$findings/" "$limits")
    fi
    echo "== $target for $seconds s"
    # shellcheck disable=SC2086
    (cd "$build" && "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 $dict -artifact_prefix="$findings/" "$work")
done
