#!/usr/bin/env bash
# Runs a command on a fresh Xvfb server and stops the server afterwards; the exit status is the
# command's. The server picks a free display itself (-displayfd), so servers started in quick
# succession never race for one, as xvfb-run -a's guess can.
# Usage: [XVFB_SCREEN=WxHxDEPTH] tools/with-xvfb.sh COMMAND [ARGUMENT...]   (default 800x600x24)
set -euo pipefail
fifo=$(mktemp -u)
mkfifo "$fifo"
# Held open for the server's whole life, so its one write never meets a closed pipe.
exec 4<>"$fifo"
rm -f "$fifo"
server=""
stop_server() {
  [ -n "$server" ] || return 0
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  server=""
}
trap stop_server EXIT

# Starts a server and waits until it answers a client: ready by its own word is not always ready
# to accept one, and a server that dies on start never says a word. -noreset: by default the
# server resets when its last client leaves, and a program connecting in that moment (just after
# the readiness check) finds no server at all.
start_server() {
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-800x600x24}" -nolisten tcp -noreset 3>&4 2>/dev/null &
  server=$!
  local display
  read -r -t 10 display <&4 || return 1
  export DISPLAY=":$display"
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  return 1
}

# A server that does not answer is replaced; three in a row that do not are a fault.
for attempt in 1 2 3; do
  start_server && break
  stop_server
  if [ "$attempt" -eq 3 ]; then
    echo "with-xvfb.sh: no Xvfb server answered" >&2
    exit 1
  fi
done
status=0
"$@" || status=$?
exit "$status"
