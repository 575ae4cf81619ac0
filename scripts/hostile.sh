#!/usr/bin/env bash
# Runs `nuvisca info` on files that are huge or odd but named like recordings (sparse where
# they are large, so they cost no disk) and prints, per file, the exit status, the wall-clock
# time and the peak resident memory (GNU time). Usage: scripts/hostile.sh [NUVISCA]
# (default build/release/cli/nuvisca).
set -euo pipefail
cd "$(dirname "$0")/.."
nuvisca=$(realpath "${1:-build/release/cli/nuvisca}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$nuvisca" export samples/short-3min.NVD "$work/export.csv"
csv_header() { head -n 8 "$work/export.csv" >"$1"; truncate -s "$2" "$1"; }
csv_header "$work/40G.csv" 40G
csv_header "$work/3G.csv" 3G
csv_header "$work/64MiB+1.csv" $((64 * 1024 * 1024 + 1))
head -c 32 samples/short-3min.NVD >"$work/40G.NVD"
truncate -s 40G "$work/40G.NVD"
{ printf 'RM27,ID '; head -c $((64 * 1024 * 1024 - 8)) /dev/zero | tr '\0' '7'; } >"$work/64MiB-line.csv"

row='%-16s %12s %6s %9s %14s\n'
printf "$row" "file" "bytes" "exit" "seconds" "peak RSS KiB"
for file in 40G.csv 3G.csv 64MiB+1.csv 40G.NVD 64MiB-line.csv; do
  status=0
  /usr/bin/time -o "$work/time" -f '%e %M' "$nuvisca" info "$work/$file" \
    >/dev/null 2>"$work/err" || status=$?
  read -r seconds peak < <(tail -n 1 "$work/time")
  [ "$status" -gt 128 ] && status="sig$((status - 128))"
  printf "$row" "$file" "$(stat -c %s "$work/$file")" "$status" "$seconds" "$peak"
done
