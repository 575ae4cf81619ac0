#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs the benchmark suite, which ends
# with the table of figures (time, baseline, ratio, target). Then counts heap allocations
# over load, moving average, draw and export of a full recording with heaptrack, and measures
# nuvisca info on huge and odd files (scripts/hostile.sh).
# Arguments go to the suite (e.g. --benchmark_filter=draw). Exit status: the suite's own
# (0 all targets hold, 1 the suite could not run, 2 a target was missed).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
if ! command -v heaptrack >/dev/null || ! command -v heaptrack_print >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends heaptrack
fi

cmake --preset release >/dev/null
cmake --build --preset release --target nuvisca_bench nuvisca
build=build/release
export QT_QPA_PLATFORM=offscreen

# At raised priority where allowed, so that other work on a shared machine disturbs the
# wall-clock figures less; the table's heading shows the niceness.
priority=()
[ "$(id -u)" -eq 0 ] && priority=(nice -n -10)
status=0
"${priority[@]}" "$build/bench/nuvisca_bench" --benchmark_repetitions=5 "$@" || status=$?
[ "$status" -eq 1 ] && exit 1

# Allocation calls of whole nuvisca runs (Qt start-up and file output included), on the full
# 76800-slot recording and on the 360-slot sample: per-sample allocation would show as a
# difference in the tens of thousands.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/nuvisca_bench" --write-recording="$work/full.NVD"
allocations() {
  heaptrack -o "$work/trace" "$build/cli/nuvisca" "$@" >/dev/null 2>&1 ||
    { echo "nuvisca $1 failed under heaptrack" >&2; return 1; }
  heaptrack_print "$work"/trace.* 2>/dev/null | sed -n 's/^calls to allocation functions: \([0-9]*\).*/\1/p'
  rm -f "$work"/trace.*
}
render=(--average 30 --size 1800x900 --end 76800)
render_full=$(allocations render "$work/full.NVD" "$work/graph.png" "${render[@]}")
render_short=$(allocations render samples/short-3min.NVD "$work/graph.png" "${render[@]}")
export_full=$(allocations export "$work/full.NVD" "$work/export.csv" --average 30)
export_short=$(allocations export samples/short-3min.NVD "$work/export.csv" --average 30)
echo
echo "Heap allocation calls (heaptrack) of whole nuvisca runs, moving average box \"30\":"
row='%-62s %11s %11s %10s\n'
printf "$row" "run" "76800 slots" "360 slots" "difference"
printf "$row" "render: load, average, widened draw 1800x900 (twice), PNG" \
  "$render_full" "$render_short" "$((render_full - render_short))"
printf "$row" "export: load, average, CSV export" \
  "$export_full" "$export_short" "$((export_full - export_short))"
echo
echo "nuvisca info on huge and odd files named like recordings (peak resident memory, GNU time):"
scripts/hostile.sh "$build/cli/nuvisca"
exit "$status"
