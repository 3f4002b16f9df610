#!/bin/sh
# Builds the settings-file fuzzer with clang and runs it for a bounded time.
# Usage: fuzz/run.sh [seconds]   (default 60; run from anywhere)
# Needs clang and libclang-rt-14-dev (Debian 12). The committed seed corpus is never changed:
# the fuzzer works on a copy, and a crashing input is left in build-fuzz/findings/.
# Exits non-zero when the fuzzer finds a crash, a hang or a broken property.
set -eu

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

if ! grep -q 'add_subdirectory(fuzz)' "$root/CMakeLists.txt"; then
    echo "fuzz/run.sh: the top-level CMakeLists.txt does not add the fuzz folder" >&2
    exit 2
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCORVANE_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_profilefile -j"$(nproc)"

work="$build/corpus-run"
findings="$build/findings"
rm -rf "$work"
mkdir -p "$work" "$findings"
cp "$root"/fuzz/corpus/profilefile/* "$work"/

cd "$build"
exec "$build/fuzz/fuzz_profilefile" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -dict="$root/fuzz/profilefile.dict" \
    -artifact_prefix="$findings/" "$work"
