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
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-800x600x24}" -nolisten tcp 3>&4 2>/dev/null &
server=$!
read -r display <&4
stop_server() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
}
trap stop_server EXIT
export DISPLAY=":$display"
# Ready by its own word is not always ready to accept a client; ask until it answers.
for _ in $(seq 100); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.05
done
status=0
"$@" || status=$?
exit "$status"
