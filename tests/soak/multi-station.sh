#!/usr/bin/env bash
# Three stations sharing one data directory, four simulated receivers each, storms of events; then a
# checker: every acknowledged event is in the history (records >= acknowledged, and no more than the
# messages sent, resends included, so duplicates are only the receivers' own resends), EVENT.MDX has one
# record per EVENT.MDC record, every stack entry points at a record of the month, PERIOD.INX is sorted
# without duplicates.
# Usage: tests/soak/multi-station.sh [BUILD_DIR] [SECONDS] [RATE]   (loopback only; bounded in time)
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
seconds="${2:-60}"
rate="${3:-20}"
cli="$build/tools/cli/duriduvaze-cli"
sim="$build/tools/sim/duriduvaze-sim"
for program in "$cli" "$sim"; do
  [[ -x "$program" ]] || { echo "multi-station: $program not built; skipped"; exit 0; }
done

scratch="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT
shared="$scratch/shared-ORBA"
mkdir -p "$shared"
echo '{"receivers": [{"port": 1, "receiver_type": 7}, {"port": 2, "receiver_type": 7},
  {"port": 3, "receiver_type": 7}, {"port": 4, "receiver_type": 7}]}' >"$scratch/receivers.json"

sims=()
for s in 1 2 3; do
  root="$scratch/station$s"
  mkdir -p "$root"
  ln -s "$shared" "$root/ORBA"
  "$cli" receivers --station "$root" "$scratch/receivers.json" >/dev/null
  for p in 1 2 3 4; do
    first=$(( (s * 10 + p) * 100 ))
    "$sim" --receiver 7 --station "$root" --port "COM$p" --rate "$rate" --full-speed --accounts "$first-$((first + 99))" \
      --seed $((s * 10 + p)) --ack-timeout-ms 2000 --resends 100000 --duration "$seconds" --json \
      >"$scratch/sim-$s-$p.json" 2>/dev/null &
    sims+=($!)
    pids+=($!)
  done
done
for s in 1 2 3; do
  for p in 1 2 3 4; do
    for _ in $(seq 50); do [[ -L "$scratch/station$s/ports/COM$p" ]] && break; sleep 0.1; done
  done
  "$cli" run --station "$scratch/station$s" >"$scratch/station$s.log" 2>&1 &
  pids+=($!)
done
for pid in "${sims[@]}"; do wait "$pid" || true; done
sleep 2  # the last passes end
for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
pids=()

sent=0; acknowledged=0; resent=0
for f in "$scratch"/sim-*.json; do
  summary="$(tail -n 1 "$f")"
  field() { sed -n "s/.*\"$1\":\([0-9]*\).*/\1/p" <<<"$summary"; }
  sent=$((sent + $(field sent))); acknowledged=$((acknowledged + $(field acknowledged)))
  resent=$((resent + $(field resent)))
done
root="$scratch/station1"
stored=0; fail=0
periods="$("$cli" history-dump --station "$root" periods | sed -n 's/.*"PeriodKey":"\([0-9]*\)".*/\1/p')"
sorted="$(sort <<<"$periods")"
[[ "$periods" == "$sorted" && -z "$(uniq -d <<<"$periods")" ]] || { echo "multi-station: PERIOD.INX not sorted or duplicated"; fail=1; }
for key in $periods; do
  "$cli" history-dump --station "$root" --period "$key" history >"$scratch/history.jsonl"
  n=$(wc -l <"$scratch/history.jsonl")
  # The stations' own link events ("0000 ACOM1" as each simulator ends and its line hangs up) are not
  # the receivers' messages.
  stored=$((stored + $(grep -cvE '"Description":"[^"]*0000 [AR]COM[0-9]+' "$scratch/history.jsonl" || true)))
  for d in "$shared"/"$key".[Ee][Vv][Tt]; do
    mdc=$(stat -c %s "$d/EVENT.MDC"); mdx=$(stat -c %s "$d/EVENT.MDX")
    (( mdc % 200 == 0 && mdx == mdc / 200 * 11 )) || { echo "multi-station: $key EVENT.MDX $mdx bytes for EVENT.MDC $mdc"; fail=1; }
  done
  last=$n
done
bad_stack=$("$cli" history-dump --station "$root" stack | sed -n 's/.*"record":\(-\{0,1\}[0-9]*\).*/\1/p' |
  awk -v n="${last:-0}" '$1 < 0 || $1 >= n' | wc -l)
(( bad_stack == 0 )) || { echo "multi-station: $bad_stack stack entries point past the month's records"; fail=1; }
duplicates=$((stored > acknowledged ? stored - acknowledged : 0))
lost=$((acknowledged > stored ? acknowledged - stored : 0))
echo "multi-station: 3 stations x 4 receivers, ${seconds}s: sent $sent, resent $resent, acknowledged $acknowledged," \
  "stored $stored, duplicates $duplicates (receivers' resends), lost $lost"
(( acknowledged > 0 )) || { echo "multi-station: nothing acknowledged"; fail=1; }
(( lost == 0 )) || fail=1
(( stored <= sent + resent )) || { echo "multi-station: more records than messages sent"; fail=1; }
(( fail == 0 )) && echo "multi-station: passed"
exit "$fail"
