#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset) and runs each for SECONDS (default 60), one
# after another, from seeds made of samples/ and tests/data/. The corpora in build/fuzz/corpus
# grow from run to run. Fails on any crash, leak, timeout or out-of-memory finding; the
# input that caused it is left in build/fuzz/artifacts/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
targets=(NvdReaderFuzz CsvReaderFuzz RoundTripFuzz SidecarFuzz)

scripts/install-deps.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}" nuvisca-fuzz-seeds

out=build/fuzz
seeds="$out/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/nvd" "$seeds/csv" "$seeds/sidecar"
shopt -s nullglob
# The first records of each recording: small inputs run fast, and libFuzzer grows them.
for f in samples/*.NVD tests/data/*; do
  [ -f "$f" ] && head -c 4096 "$f" >"$seeds/nvd/$(basename "$f")"
done
for f in tests/data/*.csv tests/data/*.CSV; do
  cp "$f" "$seeds/csv/"
done
"$out/fuzz/nuvisca-fuzz-seeds" "$seeds/csv" "$seeds/sidecar" samples/*.NVD tests/data/*.NVD tests/data/*.nvd

declare -A seedDirs=(
  [NvdReaderFuzz]="$seeds/nvd"
  [CsvReaderFuzz]="$seeds/csv"
  [RoundTripFuzz]="$seeds/nvd $seeds/csv"
  [SidecarFuzz]="$seeds/sidecar"
)
# Past one 64 KiB read of the device reader; gap records reach the capacity from small files.
declare -A maxLen=([NvdReaderFuzz]=131072 [CsvReaderFuzz]=65536 [RoundTripFuzz]=65536 [SidecarFuzz]=65536)

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
for target in "${targets[@]}"; do
  corpus="$out/corpus/$target"
  artifacts="$out/artifacts/$target"
  log="$out/logs/$target.log"
  rm -rf "$artifacts"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  echo "== $target: ${seconds}s =="
  status=0
  # shellcheck disable=SC2086  # several seed folders
  "$out/fuzz/$target" "$corpus" ${seedDirs[$target]} \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="${maxLen[$target]}" \
    -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1 &
  pid=$!
  wait "$pid" || status=$?
  rm -rf "/dev/shm/nuvisca-fuzz-$pid"
  grep -E '^#[0-9]+ +(INITED|DONE)' "$log" | tail -2 || true
  grep -E '^Done [0-9]+ runs' "$log" || true
  findings=("$artifacts"/crash-* "$artifacts"/leak-* "$artifacts"/timeout-* "$artifacts"/oom-*)
  if [ "$status" -ne 0 ] || [ ${#findings[@]} -ne 0 ]; then
    echo "!! $target: exit $status, findings: ${findings[*]:-none} (log: $log)"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "no finding in ${#targets[@]} targets"
