#!/usr/bin/env bash
# In a private XDG data tree holding the system's MIME types and the staged ones: device
# recordings are recognised by name and by content, and the viewer is their default application.
set -euo pipefail
stage=$1 id=$2 samples=$3
type=application/x-nuvisca-recording
for tool in update-mime-database update-desktop-database xdg-mime mimetype gio; do
  command -v $tool >/dev/null ||
    { echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"; exit 77; }
done

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
export XDG_DATA_HOME=$home/share XDG_DATA_DIRS=$home/none XDG_CONFIG_HOME=$home/config
mkdir -p "$XDG_DATA_HOME/mime/packages" "$XDG_DATA_HOME/applications"
cp /usr/share/mime/packages/freedesktop.org.xml "$stage/usr/share/mime/packages/$id.xml" \
  "$XDG_DATA_HOME/mime/packages/"
cp "$stage/usr/share/applications/$id.desktop" "$XDG_DATA_HOME/applications/"
update-mime-database "$XDG_DATA_HOME/mime"
update-desktop-database "$XDG_DATA_HOME/applications"

echo text >"$home/by-name.NVD"
echo text >"$home/by-name.nvd"
cp "$samples/short-3min.NVD" "$home/no-extension"
{ printf ' '; cat "$samples/short-3min.NVD"; } >"$home/shifted-magic"
status=0
while read -r file expected; do
  # xdg-mime on a bare system, and GLib as file managers use it, which keeps globs' case.
  for got in "$(xdg-mime query filetype "$file")" \
    "$(gio info -a standard::content-type "$file" | sed -n 's/.*content-type: //p')"; do
    [ "$got" = "$expected" ] || { echo "$file: $got, expected $expected"; status=1; }
  done
done <<EOT
$samples/short-3min.NVD $type
$home/by-name.NVD $type
$home/by-name.nvd $type
$home/no-extension $type
$home/shifted-magic application/octet-stream
EOT
got=$(xdg-mime query default $type)
[ "$got" = "$id.desktop" ] || { echo "default for $type: '$got', expected $id.desktop"; status=1; }
exit $status
