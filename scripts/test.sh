#!/usr/bin/env bash
# Installs what is missing, builds the debug and the sanitizer build and runs every test in
# both, builds every target of the release build, whose optimiser finds warnings of its own,
# and of a clang build, whose warnings differ from gcc's, then builds the Debian package and
# checks it installed on this machine.
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
for preset in release clang; do
  echo "== $preset (build only) =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "== package =="
scripts/package.sh --check
