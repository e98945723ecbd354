#!/usr/bin/env bash
# Builds every benchmark in Release and runs each once, with the arguments the
# figures in BENCHMARKS.md were taken with. Usage, from anywhere:
#
#   bench/run-all.sh            (build folder build-bench/, or $BUILD_DIR)
#
# Takes about ten minutes. Each benchmark's standard error (the browser
# engine's start-up chatter among it) goes to build-bench/bench-logs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
logs=$build/bench-logs

generator=()
if command -v ninja >/dev/null && [ ! -e "$build/CMakeCache.txt" ]; then
    generator=(-G Ninja)
fi
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
      -DTARVELO_BUILD_TESTS=OFF -DTARVELO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target \
      bench_padtext bench_store bench_autofill bench_keypress bench_formfill bench_launch bench_idle
mkdir -p "$logs"

# The same engine settings the tests use; the benchmarks pick the offscreen
# platform and fresh homes themselves.
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}

run() {
    local name=$1
    shift
    echo
    echo "== $name: $*"
    if ! "$build/bench/$name" "$@" 2>"$logs/$name.log"; then
        echo "$name failed; see $logs/$name.log"
        return 1
    fi
}

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), $(nproc) cores;" \
     "load average $(cut -d' ' -f1-3 /proc/loadavg); $(date -I)"
status=0
run bench_padtext --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || status=1
run bench_store || status=1
run bench_autofill 200 || status=1
run bench_keypress 300 || status=1
run bench_formfill 200 || status=1
run bench_launch 10 || status=1
run bench_idle 30 || status=1
run bench_sitestab 10000 20 || status=1
exit $status
