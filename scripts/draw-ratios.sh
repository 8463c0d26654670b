#!/usr/bin/env bash
# Draws ratios beside their aims as a PNG picture (gnuplot): a bar per figure, the ratio as a
# share of its aim, so that every aim is the line at 1.
#   draw-ratios.sh DATA PICTURE TITLE
# DATA holds a line per figure: "label" ratio aim, and optionally the lowest and the highest
# ratio of several runs, drawn as a range over the bar.
set -euo pipefail
if (($# != 3)); then
  sed -n '2,6s/^# \{0,1\}//p' "$0" >&2
  exit 2
fi
data=$1 picture=$2 title=$3
plots="'$data' using 0:(\$2/\$3):(\$2 > \$3 ? 0xc05050 : 0x4a7ab5):xtic(1) with boxes lc rgb variable"
plots+=", 1 with lines lw 2 dt 2 lc rgb '#b03030'"
top="\$2/\$3"  # where a bar's label goes: over the bar, or over its range
if awk 'NF >= 5 { found = 1 } END { exit !found }' "$data"; then
  plots+=", '$data' using 0:(\$2/\$3):(\$4/\$3):(\$5/\$3) with yerrorbars lc rgb '#303030' pt 0"
  top="\$5/\$3"
fi
plots+=", '$data' using 0:($top):(sprintf('%.3g (aim %s)', \$2, stringcolumn(3)))"
plots+=" with labels offset 0,0.8 font ',9'"
gnuplot <<GNUPLOT
set terminal pngcairo size 900,420 font "DejaVu Sans,11"
set output "$picture"
set title "$title"
set style fill solid 0.6 border -1
set boxwidth 0.6
set yrange [0:*]
set offsets 0, 0, graph 0.12, 0
set grid ytics
set xtics nomirror
set key off
plot $plots
GNUPLOT
