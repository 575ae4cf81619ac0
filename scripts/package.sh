#!/usr/bin/env bash
# Builds the Debian package from the release preset into build/release/. With --check, also
# installs it on this machine, runs the programs from PATH, asks the desktop's MIME database
# about a sample, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target nuvisca-viewer nuvisca nuvisca_icons
rm -f build/release/nuvisca_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(realpath build/release/nuvisca_*.deb)
dpkg-deb --field "$deb" Package Version Installed-Size Depends Recommends
echo "$deb: $(du -k "$deb" | cut -f1) KiB"
[ "${1:-}" = "--check" ] || exit 0

type=application/x-nuvisca-recording
sample=samples/short-3min.NVD
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
unset XDG_DATA_HOME XDG_DATA_DIRS XDG_CURRENT_DESKTOP DESKTOP_SESSION
if dpkg-query -W -f='${Status}' nuvisca 2>/dev/null | grep -q "install ok installed"; then
  echo "nuvisca is installed already; --check would remove it" >&2
  exit 1
fi
if [ "$(xdg-mime query filetype "$sample")" = "$type" ]; then
  echo "$type is known before the package is installed: the check would prove nothing" >&2
  exit 1
fi

trap '$sudo apt-get remove -y -qq nuvisca >/dev/null' EXIT
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
echo "== $(command -v nuvisca) --help"
nuvisca --help
out=$(mktemp -d)
QT_QPA_PLATFORM=offscreen nuvisca render "$sample" "$out/graph.png"
file -b "$out/graph.png"
rm -rf "$out"
got=$(xdg-mime query filetype "$sample")
default=$(xdg-mime query default "$type")
echo "xdg-mime query filetype $sample: $got"
echo "xdg-mime query default $type: $default"
[ "$got" = "$type" ] && [ "$default" = org.nuvisca.viewer.desktop ] && [ -x /usr/bin/nuvisca-viewer ]
echo "package check passed"
