#!/usr/bin/env bash
# Builds the project twice (normal, and with AddressSanitizer + UndefinedBehaviorSanitizer),
# runs every test in both builds and every fuzz target for a short, bounded time.
# Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-20}

echo "== normal build =="
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

echo "== sanitizer build =="
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DSETUP_SANITIZE=ON -DSETUP_FUZZ=ON -DSETUP_BENCH=OFF
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== fuzz targets (${fuzz_seconds}s each) =="
for target in build/sanitize/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/sanitize/fuzz/corpus-$name
  mkdir -p "$corpus"
  seeds=fuzz/seeds/${name#fuzz_}
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "-- $name"
  "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -print_final_stats=0 \
    "${args[@]}" 2>build/sanitize/fuzz/$name.log || { tail -50 build/sanitize/fuzz/$name.log; exit 1; }
  tail -1 build/sanitize/fuzz/$name.log
done

echo "All tests passed in both builds; fuzz targets ran clean."
