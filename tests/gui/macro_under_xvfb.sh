#!/usr/bin/env bash
# The real program under Xvfb records a macro typed on the X server's keyboard: a click on
# "Macros" opens the macro manager, "Nuevo" and the record button start a recording, xdotool
# types "a" and "b", the record button stops, OK writes "MacroDefine.bin" (slot 0 "Macro_001"
# with both event streams), and Save sends macro block 0 to the simulated keyboard: one
# announce and three packets holding repeat count 0, 1 and the four events.
#   macro_under_xvfb.sh BIN_DIR
set -euo pipefail
bin="$1"
source "$(dirname "$0")/xvfb_support.sh"
start_xvfb
start_program

keymap="$work/data/keymap.bin"
macros="$work/data/MacroDefine.bin"
trace="$work/sim/trace.log"
main_window() { xdotool search --onlyvisible --name '^Zorvanta Orvo$' 2>/dev/null | head -n1; }
dialog() { xdotool search --onlyvisible --name '^Gestión de macros$' 2>/dev/null | head -n1; }
byte_at() { od -An -tu1 -j"$2" -N1 "$1" 2>/dev/null | tr -d ' '; }
# XTEST events arrive in order, so the click lands where the pointer went.
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

poll 150 eval '[ -n "$(main_window)" ]' || fail "no window titled Zorvanta Orvo"
# The window takes clicks once the start-up read-back is handled, which writes the keyboard's
# report rate (3) into keymap.bin.
poll 150 eval '[ "$(byte_at "$keymap" $((0x000B)))" = 3 ]' || fail "the read-back did not finish"
main="$(main_window)"

click_at "$main" 144 612 # "Macros"
poll 150 eval '[ -n "$(dialog)" ]' || fail "the macro manager did not open"
dlg="$(dialog)"
settled "$dlg" || fail "the macro manager keeps moving"
click_at "$dlg" 48 380  # "Nuevo"
click_at "$dlg" 335 112 # "Empezar a grabar"
xdotool windowfocus --sync "$dlg"
xdotool key --delay 60 a b
click_at "$dlg" 335 112 # "Para de grabar"
click_at "$dlg" 278 380 # OK
poll 150 eval '[ -z "$(dialog)" ]' || fail "OK did not close the macro manager"

# Slot 0: "Macro_001" in UTF-16LE, repeat count 1, then the device and display streams.
name="$(od -An -tx1 -N20 "$macros" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')"
[ "$name" = "4d 00 61 00 63 00 72 00 6f 00 5f 00 30 00 30 00 31 00 00 00" ] ||
  fail "slot 0's name is $name"
events() { od -An -tx1 -j"$1" -N10 "$macros" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
[ "$(events 510)" = "01 00 00 01 04 81 04 01 05 81" ] || fail "slot 0 starts $(events 510)"
[ "$(events 703)" = "01 41 81 41 01 42 81 42 00 00" ] || fail "display stream $(events 703)"

before="$(wc -l <"$trace")"
click_at "$main" 950 604 # Save
poll 150 eval '[ "$(tail -n +$((before + 1)) "$trace" | grep -c " write ")" -ge 3 ]' ||
  fail "Save sent no macro block"
sleep 0.5 # anything more would have arrived by now
sent="$(tail -n +$((before + 1)) "$trace")"
[ "$(grep -c ' set 00 11 ' <<<"$sent")" -eq 1 ] || fail "not one macro block announced"
grep -q ' set 00 11 00 00 03 ' <<<"$sent" || fail "block 0 was not announced"
[ "$(grep -c ' write ' <<<"$sent")" -eq 3 ] || fail "not three packets"
first="$(grep -m1 ' write ' <<<"$sent" | cut -d' ' -f3-13)"
[ "$first" = "00 00 01 01 04 81 04 01 05 81 05" ] || fail "first packet starts $first"
echo "1 passed, 0 failed"
