#!/bin/bash
# Makes the pictures of resources/Help from the running program: the main window after a
# prediction's "Go to", the "Prediction - Setup" page, the "Prediction" page with results, the
# search's progress window and the details of a pass. Needs xvfb-run, xdotool and ImageMagick (import, convert).
#
#   cmake --build build --target zenarith
#   tools/make_help_pictures.sh build/program resources/Help
#
# The program runs on a copy of its folder, under a virtual screen of 1024 x 768 where the window
# lies centred at (112, 84); the clicks below are window coordinates of its controls. The
# pictures show the machine's date and the shipped sample elements and settings.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  program=$2
  shots=$3
  "$program/zenarith" --home "$program" &
  pid=$!
  sleep 4
  window=$(xdotool search --name '^Zenarith$' | head -1)
  click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-0.5}"; }
  shot() { import -window root -crop "$1" +repage "$shots/$2.png"; }
  click 365 577                  # the "Prediction - Setup" tab
  click 421 452                  # "Calculate all loadad"
  shot 800x600+112+84 setup
  click 466 577                  # the "Prediction" tab
  click 577 492 0.3              # "Predict"
  sleep 6
  shot 402x248+301+220 search    # the progress window, centred on the main window
  xdotool mousemove 502 445 click 1; sleep 0.5    # its "Ok"
  click 78 515 1                 # the culmination of the second pass found: its details open
  details=$(xdotool search --name '^Pass details' | head -1)
  import -window "$details" "$shots/details.png"
  eval "$(xdotool getwindowgeometry --shell "$details")"
  xdotool mousemove --window "$details" $((WIDTH - 40)) $((HEIGHT - 16)) click 1; sleep 0.5  # "Close"
  shot 800x600+112+84 results
  click 577 521 1                # "Go to"
  click 43 577                   # the "Main" tab
  xdotool mousemove --window "$window" 300 200; sleep 0.5
  shot 800x600+112+84 main
  kill "$pid"
  exit 0
fi

program=$(cd "$1" && pwd)
help=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program" "$work/program"
mkdir -p "$work/shots" "$work/lock"
# A lock folder of its own, so a running copy of the program does not stop this one.
env -u XDG_RUNTIME_DIR TMPDIR="$work/lock" \
  xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$work/program" "$work/shots"
cd "$work/shots"
convert main.png -resize 552x414 -colors 192 -strip "PNG8:$help/main_window.png"
convert setup.png -crop 604x186+16+399 +repage -resize 90% -colors 128 -strip \
  "PNG8:$help/setup_page.png"
convert results.png -crop 604x186+16+399 +repage -resize 90% -colors 128 -strip \
  "PNG8:$help/prediction_page.png"
convert search.png -colors 64 -strip "PNG8:$help/search_dialog.png"
convert details.png -resize 600x -colors 128 -strip "PNG8:$help/pass_details.png"
