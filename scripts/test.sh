#!/usr/bin/env bash
# Installs what is missing, builds the debug and the sanitizer build and runs every test in
# both, builds every target of the release build, whose optimiser finds warnings of its own,
# then builds the Debian package and checks it installed on this machine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
for preset in debug asan; do
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" --parallel 2
done
echo "== release (build only) =="
cmake --preset release >/dev/null
cmake --build --preset release
echo "== package =="
scripts/package.sh --check
