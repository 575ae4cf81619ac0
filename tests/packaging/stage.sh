#!/usr/bin/env bash
# Installs BUILD_DIR into STAGE as a package would (prefix /usr) and checks that each
# installed piece is where the desktop looks for it.
set -euo pipefail
build=$1 stage=$2 id=$3 version=$4

rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
cd "$stage/usr"
status=0
for f in bin/nuvisca-viewer bin/nuvisca share/applications/$id.desktop \
  share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
  share/icons/hicolor/scalable/apps/$id.svg; do
  [ -s "$f" ] || { echo "not installed: $f"; status=1; }
done
for size in 16 24 32 48 64 128 256; do
  png=share/icons/hicolor/${size}x$size/apps/$id.png
  file "$png" | grep -q "PNG image data, $size x $size," || { echo "no ${size}px icon: $png"; status=1; }
done
grep -q "<release version=\"$version\"" "share/metainfo/$id.metainfo.xml" ||
  { echo "metainfo has no release entry for $version"; status=1; }
exit $status
