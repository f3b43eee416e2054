#!/usr/bin/env bash
# Faults a user's machine really has, played against the real programs.
# Usage: faults.sh CASE path/to/orvel path/to/orvel-batch
#   CASE: unwritable, full-disk, sigterm, sigint, sigkill; each checks the window (under Xvfb,
#   clicked with xdotool) and orvel-batch.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
case_name=$1
orvel=$(realpath "$2")
batch=$(realpath "$3")
mapfile -t logs < <("$top/tools/log-names.sh")
work=$(mktemp -d)
trap 'umount "$work/small" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

fail() { echo "FAIL ($case_name): $*"; exit 1; }

# A fresh directory for one program's logs.
fresh() { rm -rf "$work/$1"; mkdir "$work/$1"; cd "$work/$1"; }

whole_lines() {
  for log in "${logs[@]}" course.csv; do
    [ -f "$log" ] && [ -s "$log" ] || continue
    [ "$(tail -c 1 "$log" | od -An -c | tr -d ' ')" = '\n' ] || fail "$PWD/$log ends in a partial line"
  done
}

# The logged steps each file holds: weights, summaries, probes and course rows.
step_counts() {
  echo "$(wc -l < log-learn.txt) $(wc -l < log-learn-2.txt) $(wc -l < log.txt)" \
    "$(($(wc -l < course.csv) - 1))"
}

ascending_steps() {
  awk 'NR > 1 && $1 <= last { bad = 1 } { last = $1 } END { exit bad }' log-learn-2.txt ||
    fail "step fields of log-learn-2.txt do not ascend"
}

# Closed by a signal, the logs lose nothing: every file holds every logged step.
same_steps() {
  local counts=($(step_counts))
  for count in "${counts[@]}"; do
    [ "$count" -eq "${counts[0]}" ] || fail "logged steps per file differ: ${counts[*]}"
  done
}

# Killed after running $1 ms, each file may miss the last 0.1 s of logged steps, and no more: the
# files differ by at most what 0.1 s logs at the rate they show, taken four times over for a
# shared machine's scheduling.
complete_steps() {
  local sorted=($(step_counts | tr ' ' '\n' | sort -n))
  local least=${sorted[0]} most=${sorted[-1]}
  local bound=$((most * 400 / $1 + 100))
  [ $((most - least)) -le "$bound" ] ||
    fail "logged steps per file differ by more than 0.1 s of logging ($bound): $(step_counts)"
}

# Starts the window in the background, clicks Start, lets it run; sets $pid.
start_window_run() {
  "$orvel" 2>err.txt &
  pid=$!
  local window
  window=$("$top/tools/window-id.sh") || fail "$(cat err.txt)"
  sleep 0.3
  xdotool mousemove --window "$window" 500 60 click 1
  sleep "${1:-1}"
}

# Sends signal to $pid and checks it exits with status $2 (default 0) without hanging.
stop_with() {
  kill -"$1" "$pid"
  local start=$(date +%s%N) status=0
  wait "$pid" || status=$?
  local elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  [ "$status" -eq "${2:-0}" ] || fail "exit status $status after SIG$1"
  # A hang, not a slow machine, is the fault: sanitizer builds on a busy machine take seconds.
  [ "$elapsed" -lt 15000 ] || fail "took $elapsed ms to end after SIG$1"
}

messages() { grep -c '^orvel:' err.txt || true; }

unwritable() {
  fresh window
  for log in "${logs[@]}"; do mkdir "$log"; done
  start_window_run 0.5
  stop_with TERM
  [ "$(grep -c '^orvel: cannot open log.*: Is a directory$' err.txt)" -eq 7 ] || fail "$(cat err.txt)"
  [ "$(messages)" -eq 7 ] || fail "other messages: $(cat err.txt)"

  fresh batch
  for log in "${logs[@]}"; do mkdir "$log"; done
  status=0
  "$batch" --seed 1 run=1000 2>err.txt || status=$?
  [ "$status" -eq 1 ] || fail "orvel-batch exited $status with no log written"
  [ "$(grep -c '^orvel-batch: cannot open' err.txt)" -eq 7 ] || fail "$(cat err.txt)"
}

full_disk() {
  fresh window
  ln -s /dev/full log.txt
  start_window_run 1
  stop_with TERM
  [ "$(cat err.txt | grep -c '^orvel')" -eq 1 ] &&
    grep -q '^orvel: cannot write log.txt: No space left on device$' err.txt || fail "$(cat err.txt)"
  rm log.txt
  whole_lines
  [ -s log-learn-2.txt ] || fail "the other logs were not written"

  fresh reference
  "$batch" --seed 5 run=5000 2>/dev/null
  fresh batch
  ln -s /dev/full log.txt
  status=0
  "$batch" --seed 5 run=5000 2>err.txt || status=$?
  [ "$status" -eq 1 ] || fail "orvel-batch exited $status on a full disk"
  [ "$(cat err.txt)" = "orvel-batch: cannot write log.txt: No space left on device" ] ||
    fail "$(cat err.txt)"
  for log in "${logs[@]:1}"; do cmp -s "$log" "../reference/$log" || fail "$log differs"; done
  small_disk
}

# A disk that fills for real (a 2 MB tmpfs, where root may mount one): every file ends on a whole
# line, and each file's failure is told once, in an ensemble naming the unit.
small_disk() {
  mkdir "$work/small"
  mount -t tmpfs -o size=2m tmpfs "$work/small" 2>/dev/null || { echo "no tmpfs: skipped"; return; }
  cd "$work/small"
  status=0
  "$batch" --seed 1 --quiet --dir s run=1000000 right=off run=1000000 2>"$work/err.txt" || status=$?
  [ "$status" -eq 1 ] || fail "orvel-batch exited $status on a full tmpfs"
  grep -q '^orvel-batch: cannot write run.json: No space' "$work/err.txt" || fail "$(cat "$work/err.txt")"
  [ -z "$(sort "$work/err.txt" | uniq -d)" ] || fail "told twice: $(cat "$work/err.txt")"
  (cd s && whole_lines)
  rm -rf s
  "$batch" --seeds 1-4 --quiet --dir e run=1000000 2>"$work/err.txt" || true
  [ -z "$(sort "$work/err.txt" | uniq -d)" ] || fail "told twice: $(cat "$work/err.txt")"
  ! grep 'cannot write [^e]' "$work/err.txt" | grep -v summary.csv || fail "a unit not named: $(cat "$work/err.txt")"
  for unit in e/seed-*; do (cd "$unit" && whole_lines); done
  cd "$work" && umount "$work/small"
}

signalled() {
  fresh window
  start_window_run 1
  stop_with "$1"
  whole_lines
  ascending_steps
  same_steps
  [ "$(wc -l < log.txt)" -ge 10 ] || fail "too little was logged"

  fresh batch
  "$batch" --seed 1 run=100000000 --quiet 2>err.txt &
  pid=$!
  sleep 1
  stop_with "$1" "$2"
  whole_lines
  ascending_steps
  same_steps
}

# Runs for a second, then kills $pid and checks what the files hold.
kill_after_a_second() {
  local start=$(date +%s%N)
  sleep 1
  kill -KILL "$pid"
  local elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  wait "$pid" 2>/dev/null || true
  whole_lines
  complete_steps "$elapsed"
}

killed() {
  fresh window
  start_window_run 0
  kill_after_a_second
  ascending_steps

  fresh batch
  "$batch" --seed 1 run=100000000 --quiet &
  pid=$!
  kill_after_a_second
}

inside_xvfb() {
  case "$case_name" in
    unwritable) unwritable ;;
    full-disk) full_disk ;;
    sigterm) signalled TERM 143 ;;
    sigint) signalled INT 130 ;;
    sigkill) killed ;;
    *) fail "unknown case" ;;
  esac
  echo "1 passed, 0 failed"
}

if [ -z "${DISPLAY:-}" ]; then
  exec "$top/tools/with-xvfb.sh" "$0" "$@"
fi
inside_xvfb
