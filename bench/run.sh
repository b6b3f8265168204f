#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: each figure of the record store beside the same
# work done on the bare engine on the same file, then the summary table (exit 1 when a goal is
# missed). The first run generates the book of about 1 000 000 records under the build folder
# (bench-data/); later runs reuse it. Benchmark flags pass through, e.g. --benchmark_filter=seek.
# Usage: bench/run.sh [build-dir] [benchmark flags...]   (default build dir: build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=build-bench
if [[ $# -gt 0 && $1 != -* ]]; then
  BUILD_DIR=$1
  shift
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" --target store_bench
exec "$BUILD_DIR/bench/store_bench" "$@"
