#!/usr/bin/env bash
# The desktop's files as installed: the desktop entry passes desktop-file-validate, the
# AppStream data passes `appstreamcli validate --no-net`, and every icon is a picture of the
# size its folder names. Skipped (exit 77) when a validator is not installed.
#   installed_metadata_test.sh BUILD_DIR
set -euo pipefail
build="$1"
id="io.github.zorvanta.Orvo"
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null ||
    { echo "SKIP: $tool is not installed (scripts/bootstrap installs it)"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work" cmake --install "$build" --prefix /usr >"$work/install.log" ||
  { cat "$work/install.log"; fail "cmake --install failed"; }
share="$work/usr/share"

desktop="$share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
for key in Name Comment Icon Exec Categories Keywords; do
  grep -q "^$key=" "$desktop" || fail "the desktop entry has no $key"
done
grep -qx "Categories=Settings;HardwareSettings;" "$desktop" || fail "wrong Categories"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"

metainfo="$share/metainfo/$id.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -q "<modalias>usb:v04D9pA12E\*</modalias>" "$metainfo" || fail "no modalias for the keyboard"

png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
for size in 48 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$icon" ] || fail "no $icon"
  [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
done
svg="$share/icons/hicolor/scalable/apps/$id.svg"
grep -q "<svg " "$svg" && grep -q "</svg>" "$svg" || fail "no SVG icon at $svg"
echo "desktop entry, AppStream data and icons valid"
