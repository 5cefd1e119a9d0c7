# What the tests of the real program under Xvfb share, sourced by each of them:
#   work      a private temporary folder, removed at exit with every process started here
#   fail MSG  prints MSG and the program's log, and ends the test
#   poll N CMD...  runs CMD every 0.1 s until it succeeds, at most N tenths of a second, times
#             ORVO_XVFB_PATIENCE (default 3): a loaded machine (parallel builds, other tests)
#             may take several times longer than a quiet one, and only a failure waits that long
#   start_xvfb     starts a private X server and exports DISPLAY once it takes connections
#   start_program [VAR=VALUE...]  starts BIN_DIR/ZorvantaOrvo against the simulated keyboard
#             in $work/sim with its data in $work/data and a private runtime folder; app_pid
work="$(mktemp -d)"
# No session bus for any program started here: without an address, D-Bus starts one through
# the X server, forking a helper that can hang in the child of a program whose threads already
# run (the tray check asks the bus, and a start waited on that helper for good).
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
xvfb_pid=""
app_pid=""
extra_pids=()
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  for pid in "${extra_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  cat "$work"/app*.log >&2 2>/dev/null || true
  # A program that still runs but did not do its part: where each of its threads stands.
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null && command -v gdb >/dev/null; then
    echo "the program's threads:" >&2
    gdb -p "$app_pid" -batch -ex "thread apply all bt" 2>/dev/null | grep -E '^(#|Thread)' >&2 || true
  fi
  exit 1
}
poll() {
  local tenths=$(($1 * ${ORVO_XVFB_PATIENCE:-3}))
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}
start_xvfb() {
  # Xvfb picks a free display and writes its number to fd 3.
  exec 3>"$work/display"
  # -noreset: the server would otherwise start over whenever its last client leaves (the
  # program ended, an xdotool call done), refusing the connections that arrive meanwhile.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  poll 100 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
  poll 100 xdpyinfo >/dev/null 2>&1 || fail "Xvfb takes no connections"
}
start_program() {
  mkdir -p "$work/tmp"
  [ -d "$work/run" ] || mkdir -m 700 "$work/run"
  env XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" QT_QPA_PLATFORM=xcb \
    ZORVANTA_SIMULATOR="$work/sim" ZORVANTA_DATA_DIR="$work/data" "$@" \
    "$bin/ZorvantaOrvo" >"$work/app.log" 2>&1 &
  app_pid=$!
}
# Waits until the window has stopped moving (a dialog may be placed again right after it is
# mapped; a click computed from the old place would land elsewhere).
settled() {
  local last="" now="" same=0
  for _ in $(seq $((30 * ${ORVO_XVFB_PATIENCE:-3}))); do
    now="$(xdotool getwindowgeometry "$1" 2>/dev/null || true)"
    if [ -n "$now" ] && [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge 2 ] && return 0
    else
      same=0
    fi
    last="$now"
    sleep 0.1
  done
  return 1
}
