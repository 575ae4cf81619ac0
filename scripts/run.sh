#!/usr/bin/env bash
# Installs what is missing, builds the viewer and opens it with the sample recordings listed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target nuvisca-viewer nuvisca
exec build/release/app/nuvisca-viewer samples/*.NVD "$@"
