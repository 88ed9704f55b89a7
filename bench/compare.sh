#!/usr/bin/env bash
# The table of the drawing and interaction goals, before and after a change: instructions per
# iteration (callgrind, bench/instructions.sh) and CPU time per iteration (Google Benchmark,
# median of three), for two build folders configured with -DFLOW_BENCH=ON.
#   bench/compare.sh BEFORE_BUILD AFTER_BUILD
set -euo pipefail
before=$1 after=$2
here=$(dirname "$0")

cpu() { # binary filter -> median CPU time in ms
  "$1" --benchmark_filter="$2\$" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median"/ {printf "%.3g", $4 / ($5 == "ms" ? 1 : ($5 == "us" ? 1000 : 1e6))}'
}

row() { # label binary filter [count instructions]
  local label=$1 binary=$2 filter=$3 count=${4:-yes}
  local ib=- ia=-
  if [[ $count == yes ]]; then
    ib=$(MIN_TIME=${MIN_TIME:-0.01} "$here/instructions.sh" "$before/bench/$binary" "$filter")
    ia=$(MIN_TIME=${MIN_TIME:-0.01} "$here/instructions.sh" "$after/bench/$binary" "$filter")
    ib=$(awk -v n="$ib" 'BEGIN {printf "%.1f M", n / 1e6}')
    ia=$(awk -v n="$ia" 'BEGIN {printf "%.1f M", n / 1e6}')
  fi
  echo "| $label | $ib | $ia | $(cpu "$before/bench/$binary" "$filter") ms | $(cpu "$after/bench/$binary" "$filter") ms |"
}

echo "| Measure (1280 x 800) | instructions before | after | CPU time before | after |"
echo "|---|---|---|---|---|"
row "Empty frame" redraw_bench BM_EmptyFrame
for nodes in 100 1000 5000 10000; do
  row "$nodes nodes, window-sized part in view" redraw_bench "BM_Redraw/nodes:$nodes/whole:0/ratio:1"
  row "$nodes nodes, wholly in view" redraw_bench "BM_Redraw/nodes:$nodes/whole:1/ratio:1"
done
row "100,000 nodes, wholly in view" redraw_bench "BM_Redraw/nodes:100000/whole:1/ratio:1" no
MIN_TIME=3 row "Mouse move, 1,000 nodes all in view" hover_bench BM_MouseMoveAllInView
MIN_TIME=3 row "Mouse move, 10,000 nodes all in view" hover_bench BM_MouseMoveTenThousand
MIN_TIME=3 row "Wheel notch, 10,000 nodes" hover_bench BM_WheelNotchTenThousand
row "Hit test pass alone, 1,000 nodes" hover_bench BM_HitTestPassOnly
row "Load of 100,000 nodes" file_bench "Load/100000" no
