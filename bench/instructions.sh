#!/usr/bin/env bash
# Instructions per iteration of a benchmark, counted by callgrind: steady on a machine shared
# with other work, where wall time is not.
#   bench/instructions.sh BENCH_BINARY FILTER
# The benchmarks run each iteration in an out-of-line function named One...(); only those are
# counted, and the number of iterations is the number of calls they made of what they wrap.
set -euo pipefail
binary=$1 filter=$2
out=$(mktemp)
valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='*::One*' \
  "$binary" --benchmark_filter="$filter" --benchmark_min_time="${MIN_TIME:-0.01}" >/dev/null 2>&1
total=$(callgrind_annotate "$out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
# Calls of the One... functions, from their callers' records (names appear once, then by id).
calls=$(awk '
  match($0, /^c?fn=\([0-9]+\)/) {
    id = substr($0, RSTART, RLENGTH); sub(/^c?fn=/, "", id)
    rest = substr($0, RLENGTH + 2)
    if (rest != "") name[id] = rest
    if ($0 ~ /^cfn=/) wanted = (name[id] ~ /::One[A-Za-z]*\(/)
    next
  }
  /^calls=/ { if (wanted) { split($0, f, /[= ]/); n += f[2] } wanted = 0 }
  END { print n + 0 }' "$out")
rm -f "$out"
if [[ "$calls" -eq 0 ]]; then
  echo "no iterations counted" >&2
  exit 1
fi
echo $((total / calls))
