#!/bin/sh
# An ssh server on a loopback port with keys made for it alone, for trying ssh recipes on one
# machine:
#
#   tools/loopback-sshd.sh start DIR [PATH]  # sshd; sessions get PATH (default: this one's)
#   export PARALLEL_SSH="ssh -F DIR/ssh_config"   # every host name now reaches it, as this user
#   tools/loopback-sshd.sh stop DIR          # ends the sshd it started, by its PID
#
# Its configuration, keys and logs stay in DIR; the machine's own sshd and its configuration are
# never touched. Run as root, sshd needs its privilege separation folder, /run/sshd, which it
# makes when missing, as the system's service would. DIR must not exist yet, or be empty.
set -eu

usage() {
  echo "usage: $0 start DIR [PATH] | stop DIR" >&2
  exit 2
}
[ $# -ge 2 ] || usage
action=$1
dir=$2
session_path=${3:-$PATH}

free_port() {
  /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

write_configs() {
  port=$(free_port)
  cat >"$dir/sshd_config" <<EOF
ListenAddress 127.0.0.1
Port $port
HostKey $dir/host_key
PidFile $dir/sshd.pid
AuthorizedKeysFile $dir/authorized_keys
AuthenticationMethods publickey
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
UsePAM no
StrictModes no
SetEnv PATH=$session_path
EOF
  cat >"$dir/ssh_config" <<EOF
Host *
  HostName 127.0.0.1
  Port $port
  User $(id -un)
  IdentityFile $dir/key
  IdentitiesOnly yes
  UserKnownHostsFile $dir/known_hosts
  StrictHostKeyChecking yes
  BatchMode yes
EOF
  printf '[127.0.0.1]:%s %s\n' "$port" "$(cat "$dir/host_key.pub")" >"$dir/known_hosts"
}

stop() {
  [ -f "$dir/sshd.started" ] || return 0
  pid=$(cat "$dir/sshd.started")
  kill "$pid" 2>/dev/null || true
  tries=0
  while kill -0 "$pid" 2>/dev/null && [ $tries -lt 50 ]; do
    tries=$((tries + 1))
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$dir/sshd.started"
}

start() {
  mkdir -p "$dir"
  [ -z "$(ls -A "$dir")" ] || { echo "loopback-sshd: $dir is not empty" >&2; exit 2; }
  dir=$(cd "$dir" && pwd)
  ssh-keygen -q -t ed25519 -N '' -f "$dir/host_key"
  ssh-keygen -q -t ed25519 -N '' -f "$dir/key"
  cp "$dir/key.pub" "$dir/authorized_keys"
  write_configs
  [ "$(id -u)" -ne 0 ] || mkdir -p -m 0755 /run/sshd
  /usr/sbin/sshd -D -e -f "$dir/sshd_config" >"$dir/sshd.log" 2>&1 &
  echo $! >"$dir/sshd.started"
  tries=0
  until ssh -F "$dir/ssh_config" loopback true 2>/dev/null; do
    tries=$((tries + 1))
    if [ $tries -ge 300 ] || ! kill -0 "$(cat "$dir/sshd.started")" 2>/dev/null; then
      echo "loopback-sshd: sshd did not let this user in" >&2
      tail -n 20 "$dir/sshd.log" >&2
      stop
      exit 1
    fi
    sleep 0.1
  done
}

case $action in
  start) start ;;
  stop) [ -d "$dir" ] && stop ;;
  *) usage ;;
esac
