#!/usr/bin/env bash
# The Debian package: builds it with cpack into a temporary folder, unpacks it with
# `dpkg-deb -x` and checks that every installed file is in it, that Depends names the Qt 6
# and hidapi libraries, that the maintainer scripts succeed on a machine without udev, and
# that lintian finds nothing it was not told about. Skipped (exit 77) without the tools.
#   package_test.sh BUILD_DIR
set -euo pipefail
build="$1"
id="io.github.zorvanta.Orvo"
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null ||
    { echo "SKIP: $tool is not installed (scripts/bootstrap installs it)"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
shopt -s nullglob
debs=("$work/out"/zorvanta-orvo_*_"$(dpkg --print-architecture)".deb)
[ "${#debs[@]}" -eq 1 ] || { ls "$work/out"; fail "expected one zorvanta-orvo_<version>_<arch>.deb"; }
deb="${debs[0]}"
[[ "$(basename "$deb")" =~ ^zorvanta-orvo_[0-9]+\.[0-9]+(\.[0-9]+)?_[a-z0-9]+\.deb$ ]] ||
  fail "unexpected package name $(basename "$deb")"

dpkg-deb -x "$deb" "$work/root"
for file in \
  usr/bin/ZorvantaOrvo usr/bin/orvoctl \
  usr/share/zorvanta-orvo/VER.bin usr/share/zorvanta-orvo/png/main.png \
  "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
  "usr/share/icons/hicolor/48x48/apps/$id.png" "usr/share/icons/hicolor/128x128/apps/$id.png" \
  "usr/share/icons/hicolor/256x256/apps/$id.png" "usr/share/icons/hicolor/scalable/apps/$id.svg" \
  usr/lib/udev/rules.d/70-zorvanta-orvo.rules \
  usr/share/man/man1/orvoctl.1.gz usr/share/man/man1/ZorvantaOrvo.1.gz \
  usr/share/bash-completion/completions/orvoctl \
  usr/share/doc/zorvanta-orvo/copyright usr/share/doc/zorvanta-orvo/changelog.gz; do
  [ -f "$work/root/$file" ] || fail "the package lacks /$file"
done
[ -x "$work/root/usr/bin/ZorvantaOrvo" ] && [ -x "$work/root/usr/bin/orvoctl" ] ||
  fail "the programs are not executable"
[ -z "$(find "$work/root" -name .orvo-build-tree)" ] || fail "the build tree's marker is packaged"
rule="$work/root/usr/lib/udev/rules.d/70-zorvanta-orvo.rules"
grep -q 'TAG+="uaccess"' "$rule" || fail "the udev rule gives no uaccess"
! grep -qE '^[^#]*(^|[ ,])MODE[:+]?=' "$rule" || fail "the udev rule sets a MODE"

depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6core6 libqt6gui6 libqt6widgets6 'libhidapi-(hidraw|libusb)0'; do
  grep -qE "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
done

# Without udevadm, and with one that fails, the scripts still succeed.
dpkg-deb -e "$deb" "$work/control"
mkdir -p "$work/no-udev" "$work/bad-udev"
printf '#!/bin/sh\nexit 1\n' >"$work/bad-udev/udevadm"
chmod +x "$work/bad-udev/udevadm"
for script in postinst:configure postrm:remove postrm:purge; do
  file="$work/control/${script%%:*}"
  [ -x "$file" ] || fail "${script%%:*} is not executable"
  PATH="$work/no-udev" /bin/sh "$file" "${script#*:}" || fail "$script fails without udevadm"
  PATH="$work/bad-udev:/usr/bin:/bin" /bin/sh "$file" "${script#*:}" ||
    fail "$script fails when udevadm fails"
done

lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log"; fail "lintian reports problems"; }
cat "$work/lintian.log"
echo "package $(basename "$deb"): files, Depends, maintainer scripts and lintian fine"
