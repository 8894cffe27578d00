#!/bin/sh
# bench/whole_path.sh BUILD STATION OUT [ACCOUNTS]: sixteen simulated Sur-Gard receivers (type 7) at 115,200 baud,
# 600 events a second offered per line (more than a line at that speed carries), against the headless station (duriduvaze-cli run) on the generated
# station STATION for 60 seconds. Writes each simulator's JSON summary (OUT/simN.json), the station's
# peak RSS in kB (OUT/station-rss.txt) and the number of history records stored (OUT/stored.txt).
# ACCOUNTS: the simulators' account range, 1000-5999 (known to the generated station, every Contact ID
# and SIA code in its code tables) by default; 6000-9999 are accounts the station does not know.
set -eu
B=$1
ST=$2
OUT=$3
ACCOUNTS=${4:-1000-5999}
# DURI_WHOLE_SECONDS: how long the simulators send (default 60).
SECONDS_SENT=${DURI_WHOLE_SECONDS:-60}
mkdir -p "$OUT"
"$B/bench/bench-station" --root "$ST" --accounts 100000 --receiver-type 7 --ports 16
mkdir -p "$ST/ports"
history_bytes() { stat -c %s "$ST"/ORBA/*.EVT/EVENT.MDC 2>/dev/null | awk '{n += $1} END {print n + 0}'; }
before=$(history_bytes)
# The simulators link their lines first; the station opens them at start.
pids=""
for p in $(seq 1 16); do
  "$B/tools/sim/duriduvaze-sim" --receiver 7 --station "$ST" --port "COM$p" --baud 115200 --rate 600 \
    --count 0 --duration $((SECONDS_SENT + 2)) --accounts "$ACCOUNTS" --sync-first --seed $p --json \
    >"$OUT/sim$p.json" 2>"$OUT/sim$p.txt" &
  pids="$pids $!"
done
sleep 1
/usr/bin/time -f "%M" -o "$OUT/station-rss.txt" env QT_QPA_PLATFORM=offscreen \
  "$B/tools/cli/duriduvaze-cli" run --station "$ST" --duration $((SECONDS_SENT + 4)) 2>"$OUT/station.txt" &
station_pid=$!
# The station ends by itself (--duration) so that time(1) can report its peak RSS.
for p in $pids; do wait $p || true; done
wait $station_pid || true
after=$(history_bytes)
echo "$(( (after - before) / 200 ))" >"$OUT/stored.txt"
