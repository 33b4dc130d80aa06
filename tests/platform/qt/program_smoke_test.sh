#!/usr/bin/env bash
# Starts the real program under a virtual X server and uses it with the keyboard as a person
# would: its window appears, a sample recording is opened through "&File" / "&Open...", the
# chart is saved with "Save to a .bmp file" (usable only once a recording is loaded), saving
# again under that name asks before it replaces the file, and "&Exit" ends the program with
# exit code 0. Every step waits for the window state it needs, never for a fixed time, so a busy
# machine only makes the run slower.
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

# shellcheck source=wait_until.sh
source "$(dirname "$0")/wait_until.sh"

# The shown top-level windows whose title matches the pattern: the server runs only the program.
windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }
count() { windows "$1" | wc -l; }
shown() { [ "$(count "$1")" -ge "${2:-1}" ]; }
gone() { [ "$(count "$1")" -lt "${2:-1}" ]; }
ended() { ! kill -0 "$pid" 2>/dev/null; }

# Every window of the program has the program's file name as class; a menu is the one window
# without a title.
class="^$(basename "$program")\$"
program_windows() { xdotool search --onlyvisible --class "$class" 2>/dev/null | wc -l; }
menu_shown() { [ "$(program_windows)" -gt "$(count .)" ]; }

main_title='^Tavro X Data Analysis$'
open_title='^Open$'
save_title='^Save As$'

wait_until "no window titled \"Tavro X Data Analysis\"" shown "$main_title"
window=$(windows "$main_title" | head -1)
echo "window $window is up"

# No window manager runs here to give a window the keyboard focus: give it directly.
focus() { xdotool windowfocus --sync "$1"; }

# Opens the File menu of the main window; the keys after it go to the menu. Keys pressed while
# an action still runs are dropped, so a person who sees no menu presses again.
file_menu() {
  xdotool mousemove --window "$window" 300 300
  focus "$window"
  local tries
  for ((tries = 0; tries < 60; ++tries)); do
    xdotool key alt+f
    for ((look = 0; look < 10; ++look)); do
      menu_shown && return 0
      sleep 0.1
    done
  done
  fail "the File menu did not open"
}

# Types a name into the dialog with the title and confirms it.
confirm_name() {
  focus "$(windows "$1" | head -1)"
  xdotool type --delay 20 "$2"
  xdotool key Return
}

file_menu
xdotool key o
wait_until "no dialog appeared for \"&Open...\"" shown "$open_title"
confirm_name "$open_title" "$recording"
wait_until "the Open dialog did not close" gone "$open_title"

# "Save to a .bmp file" is the fourth item of the File menu. The menu opens once the load has
# ended, so the item is enabled by then.
file_menu
xdotool key Down Down Down Return
wait_until "no dialog appeared for \"Save to a .bmp file\"" shown "$save_title"
confirm_name "$save_title" "$bitmap"
wait_until "the save dialog did not close" gone "$save_title"
wait_until "the chart was not saved, so the recording was not opened" test -s "$bitmap"
[ "$(head -c 2 "$bitmap")" = "BM" ] || fail "the saved chart is no Windows bitmap"
echo "the chart of the opened recording was saved"

# The dialog offers the name chosen last; confirming it asks before the file is replaced. No,
# the question's default, returns to the dialog, and Escape then leaves the file as it was.
before=$(cksum <"$bitmap")
touch -d @946684800 "$bitmap"
file_menu
xdotool key Down Down Down Return
wait_until "no dialog appeared for the second \"Save to a .bmp file\"" shown "$save_title"
dialog=$(windows "$save_title")
focus "$dialog"
xdotool key Return
# The question carries the dialog's title.
wait_until "no question before the file was replaced" shown "$save_title" 2
focus "$(windows "$save_title" | grep -vx "$dialog")"
xdotool key Return
wait_until "No did not return to the save dialog" gone "$save_title" 2
shown "$save_title" || fail "No closed the save dialog"
focus "$dialog"
xdotool key Escape
wait_until "the save dialog did not close" gone "$save_title"
[ "$(cksum <"$bitmap")" = "$before" ] && [ "$(stat -c %Y "$bitmap")" = "946684800" ] ||
  fail "the chart file was replaced although the answer was No"
echo "replacing the chart file was asked first, and No kept it"

file_menu
xdotool key Up Return
wait_until "\"&Exit\" did not end the program" ended
code=0
wait "$pid" || code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "the program ended with exit code 0"
