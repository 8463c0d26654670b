#!/usr/bin/env bash
# Runs scripts/bench.sh several times in a row and gives each ratio as the median of the runs,
# with the lowest and the highest: on a shared or virtual machine one run's ratios move by a
# tenth and more from run to run, the peers' times as much as ours.
#   bench-repeat.sh [--quiet LOAD] [--runs N] TIMES
#   bench-repeat.sh --summary RATIOS...   the same table from runs made before
# The options go to every run of bench.sh. Each run's table is kept as build/bench/run-K.txt
# and its ratios as build/bench/ratios-K.dat; the chart build/bench/ratios.png then shows the
# medians, each with its range.
set -euo pipefail
cd "$(dirname "$0")/.."

# The runs' ratio files ("label" ratio aim, a line per figure) become a line per figure, in
# the order of the first: "label" median aim lowest highest.
summarise() {
  awk '
    {
      label = $0; sub(/" .*/, "\"", label)
      split(substr($0, length(label) + 2), field, " ")
      if (!(label in count)) { order[++labels] = label; aim[label] = field[2] }
      values[label, ++count[label]] = field[1]
    }
    END {
      for (i = 1; i <= labels; i++) {
        label = order[i]; n = count[label]
        for (a = 1; a <= n; a++) sorted[a] = values[label, a] + 0
        for (a = 2; a <= n; a++)  # few runs: an insertion sort will do
          for (b = a; b > 1 && sorted[b - 1] > sorted[b]; b--) {
            t = sorted[b]; sorted[b] = sorted[b - 1]; sorted[b - 1] = t
          }
        median = n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
        printf "%s %.2f %s %.2f %.2f\n", label, median, aim[label], sorted[1], sorted[n]
      }
    }' "$@"
}

# The summary as a table to read.
print_summary() {
  awk '{ label = $0; sub(/" .*/, "\"", label); n = split($0, f, " ")
         printf "%-16s %6s  (%s-%s)   %s\n", label, f[n - 3], f[n - 1], f[n], f[n - 2] }' "$1"
}

usage() {
  sed -n '2,9s/^# \{0,1\}//p' "$0" >&2
  exit 2
}

if (($# > 1)) && [ "$1" = --summary ]; then
  shift
  summary=$(mktemp)
  trap 'rm -f "$summary"' EXIT
  summarise "$@" >"$summary"
  print_summary "$summary"
  exit 0
fi

options=()
while (($# > 1)); do
  case "$1" in
    --quiet | --runs)
      options+=("$1" "$2")
      shift 2
      ;;
    *) break ;;
  esac
done
if (($# != 1)) || ! [[ "$1" =~ ^[1-9][0-9]*$ ]]; then usage; fi
times=$1
work=$PWD/build/bench
# bench.sh makes build/bench afresh: the runs' results wait aside until the last one is done.
kept=$(mktemp -d)
trap 'rm -rf "$kept"' EXIT
runs=()
for ((k = 1; k <= times; k++)); do
  echo "== run $k of $times =="
  scripts/bench.sh "${options[@]}" | tee "$kept/run-$k.out"
  sed -n '/^Speed beside the peers/,$p' "$kept/run-$k.out" >"$kept/run-$k.txt"
  cp "$work/ratios.dat" "$kept/ratios-$k.dat"
  runs+=("$work/ratios-$k.dat")
done
cp "$kept"/run-*.txt "$kept"/ratios-*.dat "$work/"

summary=$work/ratios-median.dat
summarise "${runs[@]}" >"$summary"
echo
echo "Ratios over $times runs of bench.sh, $(date '+%Y-%m-%d %H:%M'): median (lowest-highest), aim"
print_summary "$summary"
scripts/draw-ratios.sh "$summary" "$work/ratios.png" \
  "Beside the peers, $(date '+%Y-%m-%d'): each ratio as a share of its aim, median of $times runs (below 1: met)"
echo "The chart of the medians: $work/ratios.png"
