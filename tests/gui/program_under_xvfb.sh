#!/usr/bin/env bash
# The real program under Xvfb against a simulated keyboard: its window is mapped with the
# title "Zorvanta Orvo" at the size of main.png, it writes keymap.bin (206928 bytes) holding
# the keyboard's values after the read-back, and a click on Save (delivered by the program's
# hidden test switch once the read-back is handled) sends exactly one palm-rest report.
# Then, with the keyboard unplugged (and no tray, as under Xvfb), the window shows with its
# warning, and a second start brings it forward and ends.
#   program_under_xvfb.sh BIN_DIR
set -euo pipefail
bin="$1"
source "$(dirname "$0")/xvfb_support.sh"
start_xvfb
# A private runtime folder keeps this run's single-instance socket apart from any other
# running program; the second part of the test has its own.
mkdir -m 700 "$work/run2"
start_program ZORVANTA_TEST_CLICK=950,604

png_size() { # width and height from the PNG header
  od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'
}
read -r want_w want_h <<<"$(png_size "$bin/png/main.png")"

info=""
mapped() {
  info="$(xwininfo -name "Zorvanta Orvo" 2>/dev/null || true)"
  grep -q "Map State: IsViewable" <<<"$info"
}
poll 150 mapped || fail "no window titled Zorvanta Orvo"
got_w="$(awk '/^ *Width:/{print $2}' <<<"$info")"
got_h="$(awk '/^ *Height:/{print $2}' <<<"$info")"
[ "$got_w $got_h" = "$want_w $want_h" ] || fail "window is ${got_w}x${got_h}, main.png ${want_w}x${want_h}"

keymap="$work/data/keymap.bin"
trace="$work/sim/trace.log"
poll 150 eval '[ "$(grep -c " set 00 07 " "$trace" 2>/dev/null || true)" -ge 1 ]' || fail "Save sent nothing"
sleep 0.5 # a second report would have arrived by now
[ "$(grep -c ' set 00 07 ' "$trace")" -eq 1 ] || fail "Save sent $(grep -c ' set 00 07 ' "$trace") palm-rest reports"

[ "$(stat -c %s "$keymap")" -eq 206928 ] || fail "keymap.bin is $(stat -c %s "$keymap") bytes"
byte_at() { od -An -tu1 -j"$1" -N1 "$keymap" | tr -d ' '; }
# The simulated keyboard's factory values: report rate 3, brightness 50, palm-rest brightness 50.
[ "$(byte_at $((0x000B)))" = 3 ] || fail "reportRate in keymap.bin is $(byte_at $((0x000B)))"
[ "$(byte_at $((0x1D1C)))" = 50 ] || fail "lightingBrightness in keymap.bin is $(byte_at $((0x1D1C)))"
[ "$(byte_at $((0x274B + 2)))" = 50 ] || fail "palm-rest brightness in keymap.bin is wrong"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""

# Keyboard missing on a desktop without a tray (Xvfb runs none): the window still shows, with
# the warning "¡Teclado no detectado!"; a second start brings it forward and ends at once.
mkdir -p "$work/sim2" "$work/tmp2"
touch "$work/sim2/unplugged"
start_hidden() {
  XDG_RUNTIME_DIR="$work/run2" TMPDIR="$work/tmp2" QT_QPA_PLATFORM=xcb ZORVANTA_SIMULATOR="$work/sim2" \
    ZORVANTA_DATA_DIR="$work/data2" "$bin/ZorvantaOrvo" >>"$work/app2.log" 2>&1
}
viewable() { xwininfo -name "Zorvanta Orvo" 2>/dev/null | grep -q "Map State: IsViewable"; }
start_hidden &
hidden_pid=$!
extra_pids+=("$hidden_pid")
poll 100 viewable || fail "without a tray the window must show although the keyboard is missing"
poll 50 xwininfo -name "Advertencia" >/dev/null 2>&1 || fail "no warning that the keyboard is missing"
kill -0 "$hidden_pid" 2>/dev/null || fail "the program ended without a keyboard"
timeout 60 bash -c "$(declare -f start_hidden); work='$work' bin='$bin' start_hidden" ||
  fail "the second start did not end by itself"
poll 50 viewable || fail "the second start did not show the first one's window"
kill -0 "$hidden_pid" 2>/dev/null || fail "the first program ended"
echo "1 passed, 0 failed"
