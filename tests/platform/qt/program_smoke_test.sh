#!/usr/bin/env bash
# Starts the real program under a virtual X server and uses it with the keyboard as a person
# would: its window appears, a sample recording is opened through "&File" / "&Open...", the
# chart is saved with "Save to a .bmp file" (usable only once a recording is loaded), and
# "&Exit" ends the program with exit code 0.
#   program_smoke_test.sh <tavro-x> <recording>
set -euo pipefail

if [ -z "${TAVRO_UNDER_XVFB:-}" ]; then
  export TAVRO_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

program=$1
recording=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bitmap="$work/chart"

# Qt's own widgets, whatever desktop theme the machine has.
unset QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work"

"$program" &
pid=$!

fail() {
  echo "FAIL: $*" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
}

window=$(timeout 20 xdotool search --sync --name '^Tavro X Data Analysis$' | head -1) ||
  fail "no window titled \"Tavro X Data Analysis\""
echo "window $window is up"

# Keys go to whichever window has the focus: the main window, or the dialog it opened.
keys() { xdotool key --delay 120 "$@"; sleep 0.5; }
type_text() { xdotool type --delay 20 "$1"; sleep 0.3; }
wait_for_dialog() {  # a second top-level window of the program
  for _ in $(seq 50); do
    [ "$(xdotool search --onlyvisible --pid "$pid" --name '.' 2>/dev/null | wc -l)" -ge 2 ] && return 0
    sleep 0.2
  done
  fail "no dialog appeared for $1"
}

# No window manager runs here to give the main window the keyboard focus, at the start or
# when a dialog has closed: give it directly.
focus_main() {
  xdotool mousemove --window "$window" 300 300
  xdotool windowfocus --sync "$window"
  sleep 0.5
}

focus_main
keys alt+f o
wait_for_dialog "&Open..."
type_text "$recording"
keys Return
sleep 2

# "Save to a .bmp file" is the fourth item of the File menu.
focus_main
keys alt+f Down Down Down Return
wait_for_dialog "Save to a .bmp file"
type_text "$bitmap"
keys Return
for _ in $(seq 50); do [ -s "$bitmap" ] && break; sleep 0.2; done
[ -s "$bitmap" ] || fail "the chart was not saved, so the recording was not opened"
[ "$(head -c 2 "$bitmap")" = "BM" ] || fail "the saved chart is no Windows bitmap"
echo "the chart of the opened recording was saved"

focus_main
keys alt+f Up Return
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$pid" 2>/dev/null && fail "\"&Exit\" did not end the program"
wait "$pid"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "the program ended with exit code 0"
