#!/usr/bin/env bash
# Builds the PAD text fuzzer with clang and its sanitizers, then runs it for
# SECONDS on a scratch copy of the real PAD files in tests/data/pad.
# Exits non-zero when the fuzzer finds a crash; the input that caused it is
# kept in <build>/fuzz-artifacts.
#   fuzz/run.sh 180
set -euo pipefail

seconds=${1:?usage: fuzz/run.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVELO_FUZZ_BUILD:-$root/build-fuzz}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DTARVELO_FUZZ=ON \
    -DTARVELO_BUILD_TESTS=OFF -DTARVELO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_padtext -j2

# The fuzzer adds what it finds to its first corpus folder: never tests/data.
corpus=$(mktemp -d "$build/fuzz-corpus.XXXXXX")
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
cp "$root"/tests/data/pad/*.xml "$corpus"/

status=0
"$build/fuzz/fuzz_padtext" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" || status=$?
echo "corpus: $corpus ($(ls "$corpus" | wc -l) inputs), findings: $artifacts"
exit "$status"
