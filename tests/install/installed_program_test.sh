#!/usr/bin/env bash
# The installed programs, not the build tree's: installs into a temporary DESTDIR, starts the
# installed ZorvantaOrvo offscreen against a simulated keyboard with HOME and XDG_DATA_HOME in
# a temporary folder until it has saved its screenshot, then runs the installed
# `orvoctl read`. The data files must appear in the per-user data folder (0700) and nothing
# may be written under the install prefix.
#   installed_program_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" ||
  { cat "$work/install.log"; fail "cmake --install failed"; }
prefix="$root/usr"
[ ! -e "$prefix/bin/.orvo-build-tree" ] || fail "the build tree's marker was installed"

snapshot() { (cd "$root" && find . -printf '%p %y %s %T@ %m\n' | sort); }
snapshot >"$work/before"

# Only what the test sets: no ZORVANTA_DATA_DIR, no display, a private single-instance socket.
mkdir -p "$work/home" "$work/tmp"
run() {
  env -i PATH="/usr/bin:/bin" HOME="$work/home" XDG_DATA_HOME="$work/data-home" \
    XDG_CONFIG_HOME="$work/config-home" TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen \
    ZORVANTA_SIMULATOR="$work/sim" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" "$@"
}

shot="$work/screenshot.png"
run ZORVANTA_SCREENSHOT="$shot" timeout 60 "$prefix/bin/ZorvantaOrvo" >"$work/app.log" 2>&1 ||
  { cat "$work/app.log"; fail "the installed ZorvantaOrvo did not end by itself"; }

png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'; }
[ -s "$shot" ] || { cat "$work/app.log"; fail "no screenshot"; }
[ "$(png_size "$shot")" = "$(png_size "$prefix/share/zorvanta-orvo/png/main.png")" ] ||
  fail "the screenshot is $(png_size "$shot"), not the size of the installed main.png"

data="$work/data-home/zorvanta-orvo"
[ "$(stat -c %a "$data")" = 700 ] || fail "the data folder has mode $(stat -c %a "$data")"
[ -d "$data/Configure" ] || fail "no Configure/ in the data folder"
[ "$(stat -c %s "$data/keymap.bin" 2>/dev/null)" = 206928 ] || fail "no keymap.bin of 206928 bytes in $data"
[ -s "$data/MacroDefine.bin" ] || fail "no MacroDefine.bin in $data"
snapshot | diff "$work/before" - || fail "ZorvantaOrvo changed the install prefix"

# orvoctl copies the key actions from the same per-user keymap.bin into the profile it reads.
profile="$work/profile.bin"
run "$prefix/bin/orvoctl" read "$profile" >"$work/orvoctl.log" 2>&1 ||
  { cat "$work/orvoctl.log"; fail "the installed orvoctl read failed"; }
[ "$(stat -c %s "$profile")" = 206928 ] || fail "the profile is $(stat -c %s "$profile") bytes"
cmp -s <(tail -c +10069 "$profile") <(tail -c +10069 "$data/keymap.bin") ||
  fail "orvoctl did not take the key actions from $data/keymap.bin"
snapshot | diff "$work/before" - || fail "orvoctl changed the install prefix"

# The shell completion comes with orvoctl and knows its commands and their words.
completion="$prefix/share/bash-completion/completions/orvoctl"
[ -f "$completion" ] || fail "no bash completion for orvoctl"
complete_line() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _orvoctl
           echo "${COMPREPLY[*]}"' _ "$completion" "$@"
}
[ "$(complete_line orvoctl se)" = set ] || fail "'orvoctl se' completes to '$(complete_line orvoctl se)'"
[ "$(complete_line orvoctl set game-mode o)" = "on off" ] || fail "no on/off for game-mode"
[ "$(complete_line orvoctl macro "")" = "list show new delete rename set import export" ] ||
  fail "the macro commands are not offered"
echo "installed programs: per-user data folder used, prefix untouched, completion installed"
