#!/usr/bin/env bash
# The real program under Xvfb against a simulated keyboard, driven with real X events:
#  1. a click on key A of the keyboard picture opens the key assignment dialog; B typed on the
#     X server's keyboard is captured; "Guardar" stores it in keymap.bin, and the main
#     window's Save sends the key map with (0, 0, 0x05, 0) in A's slot 8;
#  2. key C gets "en marcha" with a program picked in the file dialog (its path typed there),
#     and after Save the keyboard's report of C starts that program once, in its own folder,
#     although its path holds spaces, a semicolon and a leading "-".
#   key_assignment_under_xvfb.sh BIN_DIR
set -euo pipefail
bin="$1"
source "$(dirname "$0")/xvfb_support.sh"
start_xvfb
start_program

window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
main=""
find_main() { main="$(window_named '^Zorvanta Orvo$')"; [ -n "$main" ]; }
poll 150 find_main || fail "no window titled Zorvanta Orvo"
trace="$work/sim/trace.log"
keymap="$work/data/keymap.bin"

# Clicks wait for the start-up read-back, so the key is clicked until the dialog shows.
dialog=""
open_dialog_for() { # x y of the key in the main window
  for _ in $(seq 50); do
    xdotool mousemove --window "$main" "$1" "$2" click 1
    dialog="$(window_named '^Selected key:')"
    [ -n "$dialog" ] && settled "$dialog" && return 0
    sleep 0.2
  done
  return 1
}
click_dialog() { xdotool mousemove --window "$dialog" "$1" "$2" click 1; }
dialog_gone() { [ -z "$(window_named '^Selected key:')" ]; }
save_count() { grep -c ' set 00 0d ' "$trace" 2>/dev/null || true; }
# Fields of the key map's first two packets after the latest announce: "write" lines hold
# the report ID in field 3, so payload byte i is field 3 + 1 + i.
entry_sent() { # payload offset of the slot's entry (4 * slot)
  local packet=$(($1 / 64)) at=$(($1 % 64 + 4))
  awk -v p="$packet" -v at="$at" '
    / set 00 0d / { n = 0; seen = 1; next }
    seen && / write / { if (n == p) line = $(at) " " $(at + 1) " " $(at + 2) " " $(at + 3); n++ }
    END { print line }' "$trace"
}
byte_at() { od -An -tx1 -j"$1" -N1 "$keymap" | tr -d ' '; }
record_of() { echo $((10068 + 772 * $1)); }

# 1. A becomes B.
open_dialog_for 418 281 || fail "a click on key A opened no dialog"
xdotool windowfocus --sync "$dialog"
xdotool key b
click_dialog 285 257 # "Guardar"
poll 50 dialog_gone || fail "Guardar did not end the dialog"
a="$(record_of 63)"
poll 50 test "$(byte_at $((a + 2)))" = 42 || fail "keymap.bin holds $(byte_at $((a + 2))) for A, not B (42)"
[ "$(byte_at $((a + 1)))" = 00 ] || fail "A's record kind is $(byte_at $((a + 1)))"
before="$(save_count)"
xdotool mousemove --window "$main" 950 604 click 1 # Save
saved() { [ "$(save_count)" -gt "$before" ] && [ -n "$(entry_sent 32)" ]; }
poll 100 saved || fail "Save sent no key map"
poll 50 test "$(entry_sent 32)" = "00 00 05 00" || fail "A's slot was sent as $(entry_sent 32)"

# 2. C runs a program.
folder="$work/tools; x"
program="$folder/-run me.sh"
mkdir -p "$folder"
printf '#!/bin/sh\necho "$PWD|$#" >> "%s"\n' "$work/started" >"$program"
chmod 700 "$program"
open_dialog_for 479 306 || fail "a click on key C opened no dialog"
click_dialog 290 40  # "Avanzado"
click_dialog 295 131 # browse of row 1, "en marcha"
picker=""
find_picker() { picker="$(window_named '^Abrir$')"; [ -n "$picker" ]; }
poll 100 find_picker || fail "no file picker"
xdotool windowfocus --sync "$picker"
xdotool type --delay 5 "$program"
# A completion list may take the first Enter.
for _ in 1 2 3; do
  xdotool key Return
  poll 20 test -z "$(window_named '^Abrir$')" && break
done
[ -z "$(window_named '^Abrir$')" ] || fail "the file picker did not take the typed path"
click_dialog 285 257 # "Guardar"
poll 50 dialog_gone || fail "Guardar did not end the dialog"
c="$(record_of 81)"
poll 50 test "$(byte_at $((c + 1)))" = 05 || fail "C's record kind is $(byte_at $((c + 1)))"
before="$(save_count)"
xdotool mousemove --window "$main" 950 604 click 1
poll 100 saved || fail "the second Save sent no key map"
poll 50 test "$(entry_sent 76)" = "0a 00 43 00" || fail "C's slot was sent as $(entry_sent 76)"

echo "02 43" >>"$work/sim/input"
poll 100 test -s "$work/started" || fail "the report of C started nothing"
sleep 0.5 # a second start would have written by now
[ "$(wc -l <"$work/started")" -eq 1 ] || fail "the program started $(wc -l <"$work/started") times"
[ "$(cat "$work/started")" = "$folder|0" ] || fail "the program ran as '$(cat "$work/started")'"
echo "1 passed, 0 failed"
