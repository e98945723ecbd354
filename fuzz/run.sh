#!/usr/bin/env bash
# Builds the PAD text fuzzer with clang and its sanitizers, then runs it for
# SECONDS on a scratch copy of the real PAD files in tests/data/pad and of the
# inputs that once broke it, in tests/data/fuzz-regressions.
# When the fuzzer finds a crash, a leak, a hang or runaway memory use, the
# input is copied into tests/data/fuzz-regressions, where the unit test
# unit_tst_fuzzregressions replays it from then on, and the script fails.
#   fuzz/run.sh 180
set -euo pipefail

seconds=${1:?usage: fuzz/run.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVELO_FUZZ_BUILD:-$root/build-fuzz}
regressions=$root/tests/data/fuzz-regressions

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DTARVELO_FUZZ=ON \
    -DTARVELO_BUILD_TESTS=OFF -DTARVELO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_padtext -j"$(nproc)"

# The fuzzer adds what it finds to its first corpus folder: never tests/data.
corpus=$(mktemp -d "$build/fuzz-corpus.XXXXXX")
artifacts=$(mktemp -d "$build/fuzz-artifacts.XXXXXX")
trap 'rm -rf "$corpus"' EXIT
cp "$root"/tests/data/pad/*.xml "$corpus"/
find "$regressions" -type f ! -name 'README*' -exec cp {} "$corpus"/ \;

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
status=0
"$build/fuzz/fuzz_padtext" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" || status=$?

if [ "$status" -ne 0 ]; then
    mkdir -p "$regressions"
    for input in "$artifacts"/*; do
        [ -f "$input" ] || continue
        cp "$input" "$regressions/"
        echo "new regression case: tests/data/fuzz-regressions/$(basename "$input")"
        echo "  replay: $build/fuzz/fuzz_padtext $regressions/$(basename "$input")"
    done
    echo "fuzz_padtext failed (exit status $status)" >&2
fi
rmdir "$artifacts" 2>/dev/null || true
exit "$status"
