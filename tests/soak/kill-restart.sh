#!/usr/bin/env bash
# A station killed with SIGKILL in the middle of a storm loses nothing it acknowledged: a simulated
# Sur-Gard sends COUNT distinct events on COM1 of a scratch station; once some are acknowledged the
# station process is killed and started again; the simulator resends what was not acknowledged. With
# more than 175 events the pending stack fills and the rest wait in its backlog. The station is then
# stopped, the operators empty the stack, and the station starts again: the waiting entries must reach
# the stack in their order. The checker then compares message by message: every event the simulator saw
# acknowledged is in the history and was on the stack (before or after the emptying) or still waits in
# the backlog. EVENT.MDX must have one record per EVENT.MDC record, and a later burst must append after
# them.
# Usage: tests/soak/kill-restart.sh [BUILD_DIR] [COUNT]     (loopback only; about 40 s)
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
count="${2:-200}"
cli="$build/tools/cli/duriduvaze-cli"
sim="$build/tools/sim/duriduvaze-sim"
window="$build/src/app/duriduvaze"
for program in "$cli" "$sim" "$window"; do
  [[ -x "$program" ]] || { echo "kill-restart: $program not built; skipped"; exit 0; }
done

scratch="$(mktemp -d)"
window_pid=
cleanup() {
  [[ -n "$window_pid" ]] && kill -KILL "$window_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
station="$scratch/station"
mkdir -p "$station/ORBA"
echo '{"receivers": [{"port": 1, "receiver_type": 7}]}' >"$scratch/receivers.json"
"$cli" receivers --station "$station" "$scratch/receivers.json" >/dev/null

start_window() {
  (cd "$station" && exec env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$window" \
    >>"$scratch/window.log" 2>&1) &
  window_pid=$!
}
records() {
  local key
  key="$("$cli" history-dump --station "$station" periods | sed -n 's/.*"PeriodKey":"\([0-9]*\)".*/\1/p' | tail -n 1)"
  [[ -z "$key" ]] && { echo 0; return; }
  # The station's own link events ("0000 ACOM1" when a simulator ends and its line hangs up) are not
  # the receiver's messages.
  "$cli" history-dump --station "$station" --period "$key" history | { grep -cvE '"Description":"[^"]*0000 [AR]COM[0-9]+' || true; }
}
month_dir() {
  local d last=
  for d in "$station"/ORBA/*.[Ee][Vv][Tt]; do [[ -d "$d" ]] && last="$d"; done
  echo "$last"
}

# Distinct events (account and zone), so that each acknowledged one can be found again.
{
  echo '{"receiver": 7, "rate": 200, "count": 1, "events": ['
  for i in $(seq 0 $((count - 1))); do
    (( i > 0 )) && echo ','
    echo "{\"account\": \"$((1000 + i))\", \"contact_id\": \"E130\", \"area\": 1, \"zone\": $((1 + i % 999))}"
  done
  echo ']}'
} >"$scratch/storm.json"
"$sim" --receiver 7 --station "$station" --port COM1 --scenario "$scratch/storm.json" --rate 200 --full-speed \
  --ack-timeout-ms 800 --resends 100000 --duration 120 --json --verbose >"$scratch/sim.json" 2>"$scratch/sim.log" &
sim_pid=$!
for _ in $(seq 50); do [[ -L "$station/ports/COM1" ]] && break; sleep 0.2; done
start_window
# Kill once a third of the storm is acknowledged.
for _ in $(seq 300); do
  (( $(grep -c '^ack event' "$scratch/sim.log" || true) >= count / 3 )) && break
  sleep 0.1
done
acked_before_kill=$(grep -c '^ack event' "$scratch/sim.log" || true)
kill -KILL "$window_pid"
wait "$window_pid" 2>/dev/null || true
stored_at_kill=$(records)
start_window
sim_status=0
wait "$sim_pid" || sim_status=$?

summary="$(tail -n 1 "$scratch/sim.json")"
field() { sed -n "s/.*\"$1\":\([0-9]*\).*/\1/p" <<<"$summary"; }
sent=$(field sent); acknowledged=$(field acknowledged); resent=$(field resent)
stored=$(records)
dir="$(month_dir)"
mdc=$(stat -c %s "$dir/EVENT.MDC"); mdx=$(stat -c %s "$dir/EVENT.MDX")

# The operators handle every pending event while the station is down; at its start the backlog goes
# onto the emptied stack, oldest first.
kill -TERM "$window_pid" 2>/dev/null || true
wait "$window_pid" 2>/dev/null || true
key="$(basename "$dir")"; key="${key%%.*}"
"$cli" history-dump --station "$station" --period "$key" history >"$scratch/history.jsonl"
"$cli" history-dump --station "$station" stack >"$scratch/stack-before.jsonl"
"$cli" history-dump --station "$station" backlog >"$scratch/backlog-before.jsonl"
head -c 2450 /dev/zero | tr '\0' '\377' >"$station/ORBA/EVT.STK"
start_window
for _ in $(seq 100); do
  [[ -s "$station/ORBA/EVT.STK" ]] && [[ ! -s "$station/ORBA/EVT.BKL" ]] && break
  sleep 0.1
done
"$cli" history-dump --station "$station" stack >"$scratch/stack-after.jsonl"
"$cli" history-dump --station "$station" backlog >"$scratch/backlog-after.jsonl"
waited=$(wc -l <"$scratch/backlog-before.jsonl")
in_order=0
[[ "$(sed -n 's/.*"record":\([0-9]*\).*/\1/p' "$scratch/backlog-before.jsonl")" == \
   "$(sed -n 's/.*"record":\([0-9]*\).*/\1/p' "$scratch/stack-after.jsonl")" ]] && in_order=1

# The next events append normally (a new line, so the station is started again on it).
kill -TERM "$window_pid" 2>/dev/null || true
wait "$window_pid" 2>/dev/null || true
rm -f "$station/ports/COM1"
"$sim" --receiver 7 --station "$station" --port COM1 --count 5 --rate 50 --ack-timeout-ms 800 --resends 1000 \
  --duration 30 --json >"$scratch/sim2.json" 2>/dev/null &
sim_pid=$!
for _ in $(seq 50); do [[ -L "$station/ports/COM1" ]] && break; sleep 0.2; done
start_window
wait "$sim_pid" || true
after=$(records)
kill -TERM "$window_pid" 2>/dev/null || true
wait "$window_pid" 2>/dev/null || true
window_pid=

echo "kill-restart: sent $sent, resent $resent, acknowledged $acknowledged ($acked_before_kill before the kill," \
  "$stored_at_kill records at the kill), stored $stored, $waited waiting in the stack's backlog, then $after after 5 more"
fail=0
[[ "$sim_status" -eq 0 ]] || { echo "kill-restart: simulator status $sim_status"; fail=1; }
(( acknowledged == count )) || { echo "kill-restart: only $acknowledged of $count acknowledged"; fail=1; }
python3 "$src/tests/soak/check-acknowledged.py" "$scratch/sim.json" "$scratch/history.jsonl" \
  "$scratch/stack-before.jsonl" "$scratch/stack-after.jsonl" "$scratch/backlog-after.jsonl" || fail=1
(( count <= 175 || waited > 0 )) || { echo "kill-restart: $count events and nothing waited for the full stack"; fail=1; }
(( in_order == 1 )) || { echo "kill-restart: the backlog did not reach the emptied stack in order"; fail=1; }
[[ ! -s "$scratch/backlog-after.jsonl" ]] || { echo "kill-restart: entries still wait on an empty stack"; fail=1; }
(( stored <= sent + resent )) || { echo "kill-restart: more records than messages sent"; fail=1; }
(( mdc % 200 == 0 && mdx == mdc / 200 * 11 )) || { echo "kill-restart: EVENT.MDX $mdx bytes for EVENT.MDC $mdc"; fail=1; }
(( after == stored + 5 )) || { echo "kill-restart: $after records after 5 more events (expected $((stored + 5)))"; fail=1; }
(( fail == 0 )) && echo "kill-restart: passed"
exit "$fail"
