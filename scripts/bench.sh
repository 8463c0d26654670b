#!/usr/bin/env bash
# Measures the setup program beside its peers, each pair side by side in this one run, on a
# machine made afresh in build/bench, and prints the ratios:
# - start-up to the window shown (Qt's offscreen platform, a prefix made by wineboot with
#   Delphi 3, 4 and 5 installed) beside plain_window, the same window written by hand in
#   plain Qt Widgets (tests/bench holds its picture beside the program's), and beside a bare
#   Qt Widgets program that shows one empty window (the aim is judged on the program and
#   plain_window started in turn); and the peak memory of each;
# - reading the three Delphi keys as the program does beside "wine reg query" of the same
#   values, each started from nothing (no Wine server running);
# - the unattended install beside cp of the same files to the same targets: the demo
#   distribution, one whose files are 20 MB each, and that one again over its own
#   installation;
# - loading and saving a large hive beside a plain pass and a plain copy (bench_hive).
#   --quiet LOAD  first wait (up to an hour) until the one-minute load average is below
#                 LOAD: figures from a busy machine are not worth keeping
#   --runs N      timed runs of each program (default 20; fewer of the slow ones)
# Besides the table it draws each ratio against its aim in build/bench/ratios.png (gnuplot).
set -euo pipefail
cd "$(dirname "$0")/.."

quiet=
runs=20
while (($#)); do
  case "$1" in
    --quiet | --runs)
      if (($# < 2)); then
        echo "bench.sh: $1 needs a value" >&2
        exit 2
      fi
      if [ "$1" = --quiet ]; then quiet=$2; else runs=$2; fi
      shift 2
      ;;
    -h | --help)
      sed -n '2,17s/^# \{0,1\}//p' "$0"
      exit 0
      ;;
    *)
      echo "bench.sh: unknown argument \"$1\" (try --help)" >&2
      exit 2
      ;;
  esac
done
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
  echo "bench.sh: --runs needs a positive number" >&2
  exit 2
fi
slow_runs=$(((runs + 3) / 4))

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build/release -j "$(nproc)" --target PolyverbSetup make_demo bench_hive \
  bare_window plain_window setup_shown delphi_keys in_turn

bin=$PWD/build/release
work=$PWD/build/bench
prefix=$work/prefix
# No display: the window goes to Qt's offscreen platform, and Wine shows nothing.
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=offscreen WINEPREFIX=$prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko installers in the prefix

echo "== the machine: a prefix made by wineboot, a demo distribution and a 20 MB one =="
if [ -d "$prefix" ]; then wineserver -k >/dev/null 2>&1 || true; fi
rm -rf "$work"
mkdir -p "$work"
wineboot -i >/dev/null 2>&1
wineserver -w
for dist in dist dist20; do
  "$bin/tests/support/make_demo" --dist "$work/$dist" --prefix "$prefix" \
    --program "$bin/installer/PolyverbSetup" >/dev/null
done
head -c 20M /dev/urandom >"$work/20MB"
for file in "$work"/dist20/*; do
  case ${file##*/} in
    PolyverbSetup | PolyverbSetupWindow.so) ;; # the program and its window stay as built
    *) cp "$work/20MB" "$file" ;;
  esac
done
rm "$work/20MB"

# What an install puts where, learnt from one run of the program, so that cp copies exactly
# the same files to the same targets and each timed run can start from the same prefix.
listing() { (cd "$prefix" && find . -type "$1" | LC_ALL=C sort); }
cp -p "$prefix/user.reg" "$work/user.reg.before"
listing f >"$work/files.before"
listing d >"$work/folders.before"
"$work/dist/PolyverbSetup" --unattended >"$work/install.log"
listing f >"$work/files.after"
listing d >"$work/folders.after"
LC_ALL=C comm -13 "$work/files.before" "$work/files.after" >"$work/installed"
LC_ALL=C comm -13 "$work/folders.before" "$work/folders.after" >"$work/created"

# cp-DIST.sh: the created folders, then one cp per target folder with all its files.
write_peer() {
  local dist=$1 path folder
  local -A files_in=()
  local order=()
  while IFS= read -r path; do
    folder=${path%/*}
    [[ -v "files_in[$folder]" ]] || order+=("$folder")
    files_in[$folder]+=" $(printf '%q' "$work/$dist/${path##*/}")"
  done <"$work/installed"
  {
    while IFS= read -r folder; do printf 'mkdir %q\n' "$prefix/${folder#./}"; done <"$work/created"
    for folder in "${order[@]}"; do
      printf 'cp%s %q/\n' "${files_in[$folder]}" "$prefix/${folder#./}"
    done
  } >"$work/cp-$dist.sh"
}
write_peer dist
write_peer dist20
{
  printf 'rm -f --'
  while IFS= read -r path; do printf ' %q' "$prefix/${path#./}"; done <"$work/installed"
  echo
  if [ -s "$work/created" ]; then
    printf 'rmdir --'
    while IFS= read -r folder; do printf ' %q' "$prefix/${folder#./}"; done < <(tac "$work/created")
    echo
  fi
  printf 'cp -p %q %q\n' "$work/user.reg.before" "$prefix/user.reg"
  # Nothing of the last run is left to be written back during the next one.
  echo sync
} >"$work/undo-install.sh"
# The peer really does the same: what it leaves is what the program left.
bash "$work/undo-install.sh"
bash "$work/cp-dist.sh"
if ! listing f | cmp -s - "$work/files.after"; then
  echo "bench.sh: cp of the same files does not leave the prefix as the program did" >&2
  exit 1
fi
bash "$work/undo-install.sh"
echo "An install copies $(wc -l <"$work/installed") files into" \
  "$(sed 's|/[^/]*$||' "$work/installed" | sort -u | wc -l) folders."

# Both read the same values, or the comparison means nothing.
"$bin/bench/delphi_keys" >"$work/keys.ours"
wine_queries=
while IFS= read -r line; do
  read_as=${line%%=*}
  wine_queries+="wine reg query 'HKLM\\${read_as%\\*}' /v '${read_as##*\\}' /reg:32 && "
done <"$work/keys.ours"
wine_queries+=true
sh -c "$wine_queries" | tr -d '\r' | sed -n 's/.*REG_SZ *//p' >"$work/keys.wine"
wineserver -k >/dev/null 2>&1 || true
wineserver -w
if ! cut -d= -f2- "$work/keys.ours" | cmp -s - "$work/keys.wine"; then
  echo "bench.sh: the program and wine reg query read different values:" >&2
  cat "$work/keys.ours" "$work/keys.wine" >&2
  exit 1
fi

load() { cut -d' ' -f1 /proc/loadavg; }
if [ -n "$quiet" ]; then
  for ((waited = 0; waited < 3600; waited += 30)); do
    awk -v load="$(load)" -v most="$quiet" 'BEGIN { exit !(load < most) }' && break
    echo "load $(load), waiting for it to fall below $quiet"
    sleep 30
  done
fi
load_before=$(load)

echo "== start-up to the window shown =="
hyperfine -N --warmup 5 --runs "$runs" --export-csv "$work/startup.csv" \
  -n "bare Qt window" "'$bin/bench/bare_window'" \
  -n "bare Qt window with a line of text" "'$bin/bench/bare_window' --text" \
  -n "the setup window in plain Qt" "'$bin/bench/plain_window'" \
  -n "setup window" "'$bin/bench/setup_shown' --dist '$work/dist'"
# Timed one after the other, a slow minute can fall on one program alone; the aim is judged on
# the two started in turn, which meet the same minutes.
"$bin/bench/in_turn" "$((runs * 5))" "$bin/bench/plain_window" \; \
  "$bin/bench/setup_shown" --dist "$work/dist" | tee "$work/startup-in-turn.txt"
"$bin/bench/setup_shown" --dist "$work/dist" --phases

# The median of five runs' peak resident memory, in kB.
peak_kb() {
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1
    tail -1 "$work/rss"
  done | sort -n | sed -n 3p
}
bare_kb=$(peak_kb "$bin/bench/bare_window")
plain_kb=$(peak_kb "$bin/bench/plain_window")
setup_kb=$(peak_kb "$bin/bench/setup_shown" --dist "$work/dist")

echo "== the three Delphi keys =="
hyperfine --runs "$slow_runs" --export-csv "$work/keys.csv" \
  --prepare true --prepare "wineserver -k >/dev/null 2>&1; wineserver -w" \
  -n "as the program reads them" "'$bin/bench/delphi_keys'" \
  -n "wine reg query" "$wine_queries"
wineserver -k >/dev/null 2>&1 || true
wineserver -w

echo "== the unattended install =="
# bash, as the scripts above are written with its quoting.
undo="bash '$work/undo-install.sh'"
hyperfine --shell bash --warmup 1 --runs "$runs" --export-csv "$work/install.csv" \
  --prepare "$undo" \
  -n "setup --unattended" "'$work/dist/PolyverbSetup' --unattended" \
  -n "cp" ". '$work/cp-dist.sh'"
hyperfine --shell bash --runs "$slow_runs" --export-csv "$work/install20.csv" \
  --prepare "$undo" \
  -n "setup --unattended, 20 MB files" "'$work/dist20/PolyverbSetup' --unattended" \
  -n "cp, 20 MB files" ". '$work/cp-dist20.sh'"
# Over the files of an earlier run, each copy replaces a file (and flushes it first).
hyperfine --shell bash --warmup 1 --runs "$slow_runs" --export-csv "$work/again20.csv" \
  --prepare sync \
  -n "setup --unattended again, 20 MB files" "'$work/dist20/PolyverbSetup' --unattended" \
  -n "cp again, 20 MB files" ". '$work/cp-dist20.sh'"
bash "$work/undo-install.sh"

echo "== hive load and save =="
"$bin/bench/bench_hive" | tee "$work/hive.txt"

# The median time of row N (1 = the first program) of a hyperfine CSV file, in ms; counted
# from the end of the row, as a program's name may hold a comma.
median_ms() { awk -F, -v row="$2" 'NR == row + 1 { printf "%.1f", $(NF - 4) * 1000 }' "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
line() { printf '%-38s %10s %10s %8s   %s\n' "$@"; }

bare=$(median_ms "$work/startup.csv" 1)
text=$(median_ms "$work/startup.csv" 2)
plain=$(median_ms "$work/startup.csv" 3)
shown=$(median_ms "$work/startup.csv" 4)
ours_keys=$(median_ms "$work/keys.csv" 1)
wine_keys=$(median_ms "$work/keys.csv" 2)
echo
echo "Speed beside the peers, $(date '+%Y-%m-%d %H:%M'): $(nproc) cores," \
  "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) memory," \
  "load $load_before before and $(load) after; medians"
line "" ours peer ratio aim
# Each ratio with an aim also goes to the chart: its label, the ratio and the aim.
chart=$work/ratios.dat
: >"$chart"
aimed() { printf '"%s" %s %s\n' "$1" "$2" "$3" >>"$chart"; }
line "start-up to the window shown" "$shown ms" "$bare ms" "$(ratio "$shown" "$bare")" ""
line "  (peer with one line of text)" "" "$text ms" "$(ratio "$shown" "$text")" ""
line "  (peer: the same window in plain Qt)" "" "$plain ms" "$(ratio "$shown" "$plain")" ""
# in_turn prints a line per program: its median in ms, then its ratio to the first.
in_turn_ms() { awk -v row="$1" 'NR == row { printf "%.1f", $1 }' "$work/startup-in-turn.txt"; }
in_turn_ratio=$(awk 'NR == 2 { printf "%.2f", $3 }' "$work/startup-in-turn.txt")
line "  (the two started in turn)" "$(in_turn_ms 2) ms" "$(in_turn_ms 1) ms" "$in_turn_ratio" \
  "at most 1.15"
aimed "start-up" "$in_turn_ratio" 1.15
mb() { awk -v kb="$1" 'BEGIN { printf "%.1f MB", kb / 1024 }'; }
# The difference of two sizes in kB, with its sign.
more_mb() { awk -v kb="$(($1 - $2))" 'BEGIN { printf "%+.1f MB", kb / 1024 }'; }
line "peak memory" "$(mb "$setup_kb")" "$(mb "$bare_kb")" "$(more_mb "$setup_kb" "$bare_kb")" ""
line "  (peer: the same window in plain Qt)" "" "$(mb "$plain_kb")" \
  "$(more_mb "$setup_kb" "$plain_kb")" "at most +5 MB"
# Memory goes to the chart as ours over the peer's plus 5 MB, whose aim is 1.
aimed "memory" "$(ratio "$setup_kb" "$((plain_kb + 5120))")" 1
line "reading the three Delphi keys" "$ours_keys ms" "$wine_keys ms" \
  "$(ratio "$ours_keys" "$wine_keys")" "at most 0.10"
aimed "Delphi keys" "$(ratio "$ours_keys" "$wine_keys")" 0.1
# The slow runs are few: their spread (fastest and slowest run) is given with the median.
spread_ms() { awk -F, -v row="$2" 'NR == row + 1 { printf "%.0f-%.0f", $(NF - 1) * 1000, $NF * 1000 }' "$1"; }
for run in "install:unattended install, demo files:2.00:demo install" \
  "install20:unattended install, 20 MB files:1.10:20 MB install" \
  "again20:  the same over its own files::"; do
  IFS=: read -r csv label aim short <<<"$run"
  ours=$(median_ms "$work/$csv.csv" 1)
  peer=$(median_ms "$work/$csv.csv" 2)
  line "$label" "$ours ms" "$peer ms" "$(ratio "$ours" "$peer")" "${aim:+at most $aim}"
  [ "$csv" = install ] || line "  (fastest-slowest of $slow_runs runs)" \
    "$(spread_ms "$work/$csv.csv" 1)" "$(spread_ms "$work/$csv.csv" 2)" "" ""
  [ -z "$aim" ] || aimed "$short" "$(ratio "$ours" "$peer")" "$aim"
done
sed -n '/^hive of/,$p' "$work/hive.txt"
awk '/^BM_Load \/ BM_PlainPass/ { print "\"hive load\"", $4, 1.25 }' "$work/hive.txt" >>"$chart"

scripts/draw-ratios.sh "$chart" "$work/ratios.png" \
  "Beside the peers, $(date '+%Y-%m-%d'): each ratio as a share of its aim (below 1: met)"
echo "The chart of these ratios: $work/ratios.png"
