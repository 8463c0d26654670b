#!/usr/bin/env bash
# Every fuzz target for minutes rather than the seconds scripts/test.sh gives it, in the
# sanitizer build, one after the other; then a table of what each did: its runs, the code it
# reached (libFuzzer's coverage points "cov" and features "ft"), its corpus and its time.
#   FUZZ_MINUTES=N   minutes per target (5)
# Arguments name the targets to run (hive, fuzz_hive); without any, every target runs.
# The corpus of each target is kept in build/sanitize/fuzz/corpus-<target>, so a second run
# goes on from where the first stopped. A crash stops the script with the fuzzer's report.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

minutes=${FUZZ_MINUTES:-5}
seconds=$((minutes * 60))

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DSETUP_SANITIZE=ON -DSETUP_FUZZ=ON -DSETUP_BENCH=OFF >/dev/null
cmake --build build/sanitize -j "$(nproc)"

table=build/sanitize/fuzz/long-run.txt
printf '%-28s %8s %12s %10s %8s %8s %8s\n' target time runs runs/s cov ft corpus >"$table"
targets=()
for name in "$@"; do targets+=("build/sanitize/fuzz/fuzz_${name#fuzz_}"); done
((${#targets[@]})) || targets=(build/sanitize/fuzz/fuzz_*)

for target in "${targets[@]}"; do
  [ -x "$target" ] || { echo "no fuzz target $target" >&2; exit 1; }
  name=$(basename "$target")
  corpus=build/sanitize/fuzz/corpus-$name
  log=build/sanitize/fuzz/$name.long.log
  mkdir -p "$corpus"
  seeds=fuzz/seeds/${name#fuzz_}
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "-- $name (${minutes} min)"
  started=$SECONDS
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
    "${args[@]}" 2>"$log" || { tail -50 "$log"; exit 1; }
  took="$(((SECONDS - started) / 60))m$(((SECONDS - started) % 60))s"
  # The last status line ("#N DONE cov: C ft: F corp: K/...") and the final statistics.
  done_line=$(grep -E '^#[0-9]+' "$log" | tail -1)
  runs=$(grep -oP 'stat::number_of_executed_units:\s*\K[0-9]+' "$log")
  rate=$(grep -oP 'stat::average_exec_per_sec:\s*\K[0-9]+' "$log")
  cov=$(grep -oP 'cov: \K[0-9]+' <<<"$done_line" || echo -)
  ft=$(grep -oP 'ft: \K[0-9]+' <<<"$done_line" || echo -)
  corp=$(grep -oP 'corp: \K[0-9]+' <<<"$done_line" || echo -)
  printf '%-28s %8s %12s %10s %8s %8s %8s\n' "$name" "$took" "$runs" "$rate" "$cov" "$ft" "$corp" | tee -a "$table"
done

echo "== ${minutes} min per target, sanitizer build =="
cat "$table"
