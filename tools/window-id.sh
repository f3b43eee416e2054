#!/usr/bin/env bash
# Prints the X window id of the BCM Orvel window once it appears on $DISPLAY; fails after 10 s.
for _ in $(seq 100); do
  window=$(xdotool search --name '^BCM Orvel$' 2>/dev/null | head -n 1) || true
  [ -n "$window" ] && { echo "$window"; exit 0; }
  sleep 0.1
done
echo "no BCM Orvel window appeared on $DISPLAY" >&2
exit 1
