#!/bin/sh
# A Slurm cluster of one node, this machine, for trying job arrays on a laptop and in the tests:
#
#   tools/slurm-cluster.sh start DIR   # munged, slurmctld and slurmd, all kept under DIR
#   . DIR/env                          # sbatch, squeue, scancel now talk to it
#   tools/slurm-cluster.sh stop DIR    # ends the daemons it started, by their PIDs
#
# Nothing outside DIR is read or written: /etc/slurm and /etc/munge stay as they are. There are
# no cgroups (the linuxproc process tracker), no task plugin and no accounting, so it needs no
# systemd; the daemons run as the invoking user, which must be root for slurmd to start jobs.
# DIR must not exist yet, or be empty. Start fails with the daemon's own log when it cannot.
set -eu

usage() {
  echo "usage: $0 start|stop DIR" >&2
  exit 2
}
[ $# -eq 2 ] || usage
action=$1
dir=$2

# A TCP port on the loopback that nothing listens on now.
free_port() {
  /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

write_config() {
  user=$(id -un)
  cpus=$(nproc)
  cat >"$dir/slurm.conf" <<EOF
ClusterName=orvel
SlurmctldHost=$(hostname -s)(127.0.0.1)
SlurmctldPort=$(free_port)
SlurmdPort=$(free_port)
SlurmUser=$user
SlurmdUser=$user
AuthInfo=socket=$dir/munge/socket
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
MpiDefault=none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
NodeName=orvel-node NodeAddr=127.0.0.1 NodeHostname=$(hostname -s) CPUs=$cpus State=UNKNOWN
PartitionName=orvel Nodes=orvel-node Default=YES MaxTime=INFINITE State=UP
EOF
  printf 'export SLURM_CONF=%s\n' "$dir/slurm.conf" >"$dir/env"
}

# Runs a daemon in the foreground in the background, its PID in DIR/NAME.started.
launch() {
  name=$1
  shift
  "$@" >"$dir/$name.out" 2>&1 &
  echo $! >"$dir/$name.started"
}

fail() {
  echo "slurm-cluster: $1" >&2
  for log in "$dir"/*.log "$dir"/*.out; do
    [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
  done
  stop
  exit 1
}

# Asks until the answer comes, 300 times a tenth of a second apart: a busy machine is slow to start.
await() {
  what=$1
  shift
  tries=0
  until "$@" >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ $tries -lt 300 ] || fail "$what"
    sleep 0.1
  done
}

node_idle() {
  [ "$(SLURM_CONF="$dir/slurm.conf" sinfo -h -n orvel-node -o %t)" = idle ]
}

start() {
  mkdir -p "$dir"
  [ -z "$(ls -A "$dir")" ] || { echo "slurm-cluster: $dir is not empty" >&2; exit 2; }
  dir=$(cd "$dir" && pwd)
  mkdir -m 0700 "$dir/munge"
  mkdir "$dir/state" "$dir/spool"
  dd if=/dev/urandom of="$dir/munge/key" bs=1024 count=1 2>/dev/null
  chmod 0400 "$dir/munge/key"
  write_config
  launch munged munged --foreground --force --key-file="$dir/munge/key" \
    --socket="$dir/munge/socket" --pid-file="$dir/munge/pid" --log-file="$dir/munged.log" \
    --seed-file="$dir/munge/seed"
  await "munged did not start" test -S "$dir/munge/socket"
  launch slurmctld slurmctld -D -i -f "$dir/slurm.conf"
  launch slurmd slurmd -D -N orvel-node -f "$dir/slurm.conf"
  await "the node did not come up idle" node_idle
}

# Jobs still running would outlive slurmd: they are cancelled first, while it can end them.
cancel_jobs() {
  [ -f "$dir/slurmctld.started" ] || return 0
  export SLURM_CONF="$dir/slurm.conf"
  scancel --user="$(id -un)" 2>/dev/null || return 0
  tries=0
  while [ -n "$(squeue -h 2>/dev/null)" ] && [ $tries -lt 50 ]; do
    tries=$((tries + 1))
    sleep 0.1
  done
}

# Ends the daemons this script started, by the PIDs it noted, and waits for them to go.
stop() {
  cancel_jobs
  for name in slurmd slurmctld munged; do
    [ -f "$dir/$name.started" ] || continue
    pid=$(cat "$dir/$name.started")
    kill "$pid" 2>/dev/null || true
    tries=0
    while kill -0 "$pid" 2>/dev/null && [ $tries -lt 50 ]; do
      tries=$((tries + 1))
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$dir/$name.started"
  done
}

case $action in
  start) start ;;
  stop) [ -d "$dir" ] && stop ;;
  *) usage ;;
esac
