#!/usr/bin/env bash
# Starts the real program under a virtual X server of 96 dpi and of 192 dpi, each set up the
# way a desktop scaled to 100 % or 200 % is (the screen's size in millimetres and Xft.dpi), and
# checks that the window opens twice as wide and twice as high at 192 dpi: its controls, charts
# and fonts follow the desktop's scale together. "&Exit" ends each run with exit code 0.
#   program_scale_test.sh <tavro-x>
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# shellcheck source=wait_until.sh
source "$(dirname "$0")/wait_until.sh"

# Under the X server of `dpi`: prints the main window's size as "width height" and ends the
# program through "&Exit".
window_size() {
  local program=$1 dpi=$2
  echo "Xft.dpi: $dpi" | xrdb -merge
  # Qt's own widgets, whatever desktop theme the machine has, and no scale but the screen's.
  unset QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM QT_SCALE_FACTOR QT_AUTO_SCREEN_SCALE_FACTOR
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export XDG_RUNTIME_DIR="$work"
  "$program" &
  pid=$!
  main_window() { xdotool search --onlyvisible --name '^Tavro X Data Analysis$' 2>/dev/null; }
  wait_until "no window titled \"Tavro X Data Analysis\" at $dpi dpi" main_window >/dev/null
  local window
  window=$(main_window | head -1)
  xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p'

  # A menu is the one window of the program without a title. No window manager runs here to
  # give a window the keyboard focus: give it directly.
  program_windows() { xdotool search --onlyvisible --class "^$(basename "$program")\$" | wc -l; }
  menu_shown() { [ "$(program_windows)" -gt 1 ]; }
  xdotool mousemove --window "$window" 300 300
  xdotool windowfocus --sync "$window"
  xdotool key alt+f
  wait_until "the File menu did not open at $dpi dpi" menu_shown
  xdotool key Up Return
  local code=0
  wait "$pid" || code=$?
  [ "$code" -eq 0 ] || fail "exit code $code at $dpi dpi"
}

if [ "$1" = "--window-size" ]; then
  window_size "$2" "$3"
  exit 0
fi

program=$1
size_at() {
  xvfb-run -a -s "-screen 0 2600x1600x24 -dpi $1" "$0" --window-size "$program" "$1"
}
read -r width height <<<"$(size_at 96)"
read -r scaled_width scaled_height <<<"$(size_at 192)"
echo "the window is ${width}x${height} at 96 dpi and ${scaled_width}x${scaled_height} at 192 dpi"
[ -n "$width" ] && [ -n "$scaled_width" ] || fail "no window size"
[ "$scaled_width" -eq $((2 * width)) ] && [ "$scaled_height" -eq $((2 * height)) ] ||
  fail "the window does not follow the screen's scale"
