#!/usr/bin/env bash
# Runs a validator; its warnings count as failures, like the compiler's.
set -uo pipefail
command -v "$1" >/dev/null ||
  { echo "skipped: $1 is not installed (scripts/install-deps.sh installs it)"; exit 77; }
out=$("$@" 2>&1)
status=$?
echo "$out"
[ $status -eq 0 ] && ! grep -qi "warning" <<<"$out"
