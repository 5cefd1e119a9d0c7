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
work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
hidden_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$hidden_pid" ] && kill "$hidden_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Xvfb picks a free display and writes its number to fd 3.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

# Private runtime folders keep this run's single-instance socket apart from any other running
# program.
mkdir -p "$work/tmp"
mkdir -m 700 "$work/run" "$work/run2"
XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" QT_QPA_PLATFORM=xcb ZORVANTA_SIMULATOR="$work/sim" \
  ZORVANTA_DATA_DIR="$work/data" ZORVANTA_TEST_CLICK=950,604 \
  "$bin/ZorvantaOrvo" >"$work/app.log" 2>&1 &
app_pid=$!

png_size() { # width and height from the PNG header
  od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'
}
read -r want_w want_h <<<"$(png_size "$bin/png/main.png")"

info=""
for _ in $(seq 150); do
  info="$(xwininfo -name "Zorvanta Orvo" 2>/dev/null || true)"
  if grep -q "Map State: IsViewable" <<<"$info"; then break; fi
  sleep 0.1
done
grep -q "Map State: IsViewable" <<<"$info" || { cat "$work/app.log"; fail "no window titled Zorvanta Orvo"; }
got_w="$(awk '/^ *Width:/{print $2}' <<<"$info")"
got_h="$(awk '/^ *Height:/{print $2}' <<<"$info")"
[ "$got_w $got_h" = "$want_w $want_h" ] || fail "window is ${got_w}x${got_h}, main.png ${want_w}x${want_h}"

keymap="$work/data/keymap.bin"
trace="$work/sim/trace.log"
for _ in $(seq 150); do
  [ "$(grep -c ' set 00 07 ' "$trace" 2>/dev/null || true)" -ge 1 ] && break
  sleep 0.1
done
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
for _ in $(seq 100); do viewable && break; sleep 0.1; done
viewable || fail "without a tray the window must show although the keyboard is missing"
for _ in $(seq 50); do xwininfo -name "Advertencia" >/dev/null 2>&1 && break; sleep 0.1; done
xwininfo -name "Advertencia" >/dev/null 2>&1 || fail "no warning that the keyboard is missing"
kill -0 "$hidden_pid" 2>/dev/null || fail "the program ended without a keyboard"
timeout 20 bash -c "$(declare -f start_hidden); work='$work' bin='$bin' start_hidden" ||
  fail "the second start did not end by itself"
for _ in $(seq 50); do viewable && break; sleep 0.1; done
viewable || fail "the second start did not show the first one's window"
kill -0 "$hidden_pid" 2>/dev/null || fail "the first program ended"
echo "1 passed, 0 failed"
