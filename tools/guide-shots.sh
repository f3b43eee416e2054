#!/usr/bin/env bash
# Makes the pictures of docs/guide.md (docs/guide-*.png) from one play of lesson 2 with seed 3:
# a checkpoint, the end with "Your numbers", the weight plot with Fit Weights on and off, the
# whole window, and the Course window zoomed in on the closure. The lesson trains a fixed number
# of steps, so every number in the pictures is the same on every machine.
# Usage: tools/guide-shots.sh [path/to/orvel]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
orvel=$(realpath "${1:-$top/build/ci/app/orvel}")
docs="$top/docs"
command -v import >/dev/null || apt-get install -y -qq imagemagick >/dev/null

work=$(mktemp -d)
server=""
program=""
cleanup() {
  if [ -n "$program" ]; then kill "$program" 2>/dev/null || true; fi
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Displays :71 to :79 are this script's; the others belong to other users of the machine.
for number in $(seq 71 79); do
  [ -e "/tmp/.X$number-lock" ] && continue
  Xvfb ":$number" -screen 0 1600x1000x24 -nolisten tcp -noreset 2>/dev/null &
  server=$!
  export DISPLAY=":$number"
  for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
    sleep 0.1
  done
  kill "$server" 2>/dev/null || true
  server=""
done
[ -n "$server" ] || { echo "guide-shots.sh: no free display in :71..:79" >&2; exit 1; }

geometry() {  # "WxH+X+Y" of window $1 on the screen
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "${WIDTH}x${HEIGHT}+${X}+${Y}"
}
trained() {  # the steps trained so far, from the last row of course.csv
  tail -n 1 "$work/course.csv" 2>/dev/null | cut -d, -f3
}
wait_for_steps() {  # until the course has a row within the last logging interval of $1
  for _ in $(seq 600); do
    local now
    now=$(trained)
    [ -n "$now" ] && [ "$now" -ge $(($1 - 100)) ] 2>/dev/null && { sleep 1.5; return 0; }
    sleep 0.1
  done
  echo "guide-shots.sh: the lesson did not reach step $1" >&2
  return 1
}
shoot() {  # shoot GEOMETRY FILE [convert options...]: a piece of the screen, in 256 colours, undithered
  # so that the near-whites of the panels keep their shades
  local crop=$1 file=$2
  shift 2
  import -window root -crop "$crop" +repage "$work/shot.png"
  convert "$work/shot.png" "$@" -dither None -colors 256 -strip "PNG8:$docs/$file"
  echo "wrote docs/$file ($(stat -c %s "$docs/$file") bytes)"
}
click() {  # click WINDOW X Y, in the window's own coordinates
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.5
}

cd "$work"
"$orvel" --seed 3 --speed 100000 --lesson "$top/lessons/2-monocular-deprivation.txt" \
  >orvel.out 2>&1 &
program=$!
frame=$("$top/tools/window-id.sh" --frame)
panel=$("$top/tools/window-id.sh" --name 'Lesson:')
eval "$(xdotool getwindowgeometry --shell "$panel")"
panel_width=$WIDTH panel_height=$HEIGHT
continue_lesson() { click "$panel" $((panel_width - 52)) $((panel_height - 23)); }

# The second question: the right eye has been closed for 100,000 steps.
wait_for_steps 300000
continue_lesson
wait_for_steps 400000
eval "$(xdotool getwindowgeometry --shell "$frame")"
both="$((panel_width + 8 + WIDTH))x${panel_height}+${X}+${Y}"
shoot "$both" guide-lesson-question.png -filter Lanczos -resize 700x

continue_lesson
wait_for_steps 800000
shoot "$(geometry "$panel")" guide-lesson-end.png
eval "$(xdotool getwindowgeometry --shell "$frame")"
plot="410x150+${X}+$((Y + 19))"
shoot "$plot" guide-fit-on.png

# View → Fit Weights, back to the classic scale; Tab takes the focus off the listing's first line.
click "$frame" 180 8
click "$frame" 215 51
xdotool key --window "$frame" Tab
sleep 0.5
shoot "$plot" guide-fit-off.png
shoot "$(geometry "$frame")" guide-window.png

# View → Course, ten notches of the wheel about step 300,000, where the right eye closed.
click "$frame" 180 8
click "$frame" 210 30
course=$("$top/tools/window-id.sh" --name 'Course$')
xdotool windowmove "$course" 0 0
xdotool windowsize "$course" 680 500
sleep 1
xdotool mousemove --window "$course" 309 250
for _ in $(seq 10); do
  xdotool click 4
  sleep 0.1
done
sleep 1
shoot "680x500+0+0" guide-course.png

kill -TERM "$program"
wait "$program" || true
program=""
