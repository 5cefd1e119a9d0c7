#!/usr/bin/env bash
# The profile manager of the real program under Xvfb, used with real X clicks and key strokes
# (xdotool): a click on "Perfil" opens it one pixel up and left of the main window's corner,
# two clicks on "+Nuevo" make "Profile_1.bin" and "Profile_2.bin" (10068 bytes each), and a
# double click on the first row, a typed name and Enter rename its file in place while the
# dialog stays open; the close button ends it.
#   profiles_under_xvfb.sh BIN_DIR
set -euo pipefail
bin="$1"
command -v xdotool >/dev/null || { echo "SKIP: xdotool is missing"; exit 0; }
source "$(dirname "$0")/xvfb_support.sh"
start_xvfb
start_program

main_window() { xdotool search --onlyvisible --name '^Zorvanta Orvo$' 2>/dev/null | head -n1; }
dialog() { xdotool search --onlyvisible --name '^Perfil$' 2>/dev/null | head -n1; }
shown() { [ -n "$(main_window)" ]; }
closed() { [ -z "$(dialog)" ]; }
poll 150 shown || fail "the main window did not show"
main="$(main_window)"

# The window takes clicks once the start-up read-back is handled: click "Perfil" until the
# profile manager shows.
open_manager() {
  [ -n "$(dialog)" ] && return 0
  xdotool mousemove --window "$main" 50 610 click 1
  return 1
}
poll 150 open_manager || fail "the profile manager did not open"
dlg="$(dialog)"
settled "$dlg" || fail "the profile manager keeps moving"
corner() { xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'; }
read -r mx my <<<"$(corner "$main")"
read -r dx dy <<<"$(corner "$dlg")"
[ "$dx $dy" = "$((mx - 1)) $((my - 1))" ] || fail "dialog at $dx,$dy, main window at $mx,$my"

profiles="$work/data/Configure"
size_is() { [ -f "$1" ] && [ "$(stat -c %s "$1")" -eq "$2" ]; }
xdotool mousemove --window "$dlg" 40 570 click 1
poll 50 size_is "$profiles/Profile_1.bin" 10068 || fail "the first +Nuevo made no Profile_1.bin"
xdotool mousemove --window "$dlg" 40 570 click 1
poll 50 size_is "$profiles/Profile_2.bin" 10068 || fail "the second +Nuevo made no Profile_2.bin"
[ "$(ls "$profiles" | wc -l)" -eq 2 ] || fail "profiles: $(ls "$profiles")"

# The first row starts at the list's top (y 31): a double click edits it, the typed text
# replaces the selected name, Enter confirms. X delivers the keys after the clicks, so the
# editor is open by the time they arrive.
xdotool mousemove --window "$dlg" 100 38 click --repeat 2 --delay 120 1
xdotool type --delay 20 Juego
xdotool key Return
renamed() { [ -f "$profiles/Juego.bin" ] && [ ! -e "$profiles/Profile_1.bin" ]; }
poll 50 renamed || fail "the rename did not happen: $(ls "$profiles")"
size_is "$profiles/Juego.bin" 10068 || fail "Juego.bin is $(stat -c %s "$profiles/Juego.bin") bytes"
[ -n "$(dialog)" ] || fail "Enter closed the profile manager"

xdotool mousemove --window "$dlg" 255 18 click 1
poll 50 closed || fail "the close button did not close the profile manager"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
echo "1 passed, 0 failed"
