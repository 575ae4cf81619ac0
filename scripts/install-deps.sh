#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the viewer; with --fuzz,
# its libFuzzer runtime and the symbolizer for the fuzz targets.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins libgl-dev qt6-svg-dev
  libgtest-dev libgmock-dev libbenchmark-dev libedf-dev
  fonts-noto-cjk
  poppler-utils
  qt6-translations-l10n librsvg2-bin
  desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl libglib2.0-bin file
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(libclang-rt-14-dev llvm-14)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
