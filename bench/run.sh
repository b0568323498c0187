#!/usr/bin/env bash
# Runs every benchmark of a build folder (default: build), then prints one table of
# all figures and writes it as JSON to <build>/bench/results.json.
#
# Sizes: the lists' benchmarks (store, grid, window, weapons, start-up) run 10k,
# 100k and 1M lines; STALLMARK_BENCH_SIZES="10000 100000" runs every benchmark at
# the sizes given. STALLMARK_BENCH_RUNS sets the runs per
# figure (at least 5). Each size runs in a fresh process.
set -euo pipefail
build=${1:-build}
out="$build/bench"
parts="$out/parts"
rm -rf "$parts"
mkdir -p "$parts"
export STALLMARK_BENCH_OUT="$parts"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
programs=(store/store_bench magic/magic_bench window/window_bench startup/startup_bench controls/controls_bench
  game/game_bench memos/memo_bench bulk/bulk_bench)
results=()
status=0
for p in "${programs[@]}"; do
  b="$out/$p"
  [ -x "$b" ] || { echo "== $(basename "$p"): not built"; continue; }
  echo "== $(basename "$p")"
  "$b" || { echo "== $(basename "$p") failed"; status=1; }
  results+=("$parts/$(basename "$p").tsv")
done
"$out/report/bench_report" "$out/results.json" "${results[@]}"
exit $status
