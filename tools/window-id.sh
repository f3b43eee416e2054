#!/usr/bin/env bash
# Prints the X window id of the BCM Orvel window's client area (the stored layout, below the menu
# bar) once it appears on $DISPLAY; fails after 10 s. With --frame, the whole window's instead;
# with --name REGEX, the first window whose name matches REGEX.
name='^BCM Orvel client area$'
[ "${1:-}" = --frame ] && name='^BCM Orvel$'
[ "${1:-}" = --name ] && name=$2
for _ in $(seq 100); do
  window=$(xdotool search --name "$name" 2>/dev/null | head -n 1) || true
  [ -n "$window" ] && { echo "$window"; exit 0; }
  sleep 0.1
done
echo "no window named '$name' appeared on $DISPLAY" >&2
exit 1
