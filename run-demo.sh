#!/usr/bin/env bash
# The demo: builds the module, makes a demo station in demo-station/ from demo/station.json (twelve
# accounts with their areas, code tables, schedules and users), sets up three ports for three receiver
# models (demo/receivers.json), starts a simulated receiver on each (demo/sim-comN.json) and starts the
# station. COM4 is the built-in DC-09 receiver on 127.0.0.1:3061: a simulated alarm panel reports to
# it over TCP, encrypted with the key the station's accounts file gives its accounts (demo/sim-dc09.json).
# With a display the window shows the traffic; without one the station runs offscreen. Either way every
# new history record is printed here as a line: time, account, description.
#
#   ./run-demo.sh              the station window (offscreen without a display)
#   ./run-demo.sh --headless   the station without its window (duriduvaze-cli run), traffic printed too
#
# Ctrl-C stops everything the script started, each by its process id, and prints what each simulated
# receiver sent and had acknowledged.
set -euo pipefail
cd "$(dirname "$0")"
top="$PWD"

headless=0
[[ "${1:-}" == "--headless" ]] && headless=1

./tools/install-deps.sh
cmake -S . -B build -G Ninja > /dev/null
targets=(duriduvaze-cli duriduvaze-sim)
window="$top/build/src/app/duriduvaze"
if [[ $headless -eq 0 ]] && grep -q '^DURIDUVAZE_WINDOW:BOOL=ON' build/CMakeCache.txt && [[ -f src/app/CMakeLists.txt ]]; then
  targets+=(duriduvaze)
fi
cmake --build build -j "$(nproc)" --target "${targets[@]}"
cli="$top/build/tools/cli/duriduvaze-cli"
sim="$top/build/tools/sim/duriduvaze-sim"

station="$top/demo-station"
rm -rf "$station"
mkdir -p "$station/ORBA"
"$cli" load --station "$station" demo/station.json
"$cli" receivers --station "$station" demo/receivers.json > /dev/null
# The DC-09 panels' key, in a file only the station's user may read (the port refuses it otherwise).
dc09_key=000102030405060708090A0B0C0D0E0F
(umask 077 && for account in $(seq 1001 1012); do echo "$account $dc09_key 0"; done > "$station/dc09-accounts")

pids=()
stopping=0
stop_all() {
  [[ $stopping -eq 1 ]] && return
  stopping=1
  for pid in "${pids[@]}"; do
    kill -TERM "$pid" 2> /dev/null || true
  done
  for pid in "${pids[@]}"; do
    wait "$pid" 2> /dev/null || true
  done
  echo
  for n in 1 2 3; do
    [[ -s "$station/sim-com$n.log" ]] && echo "COM$n receiver: $(tail -n 3 "$station/sim-com$n.log" | tr '\n' ' ')"
  done
  [[ -s "$station/sim-dc09.log" ]] && echo "COM4 DC-09 panel: $(tail -n 4 "$station/sim-dc09.log" | tr '\n' ' ')"
  echo "The demo station stays in $station (ORBA/ holds its database)."
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# The receivers first: the station opens the ports it finds when it starts. Until the station answers,
# each one sends a heartbeat every four seconds; the first one only synchronises the port.
for n in 1 2 3; do
  "$sim" --scenario "demo/sim-com$n.json" --station "$station" --port "COM$n" > "$station/sim-com$n.log" 2>&1 &
  pids+=($!)
done
for n in 1 2 3; do
  for _ in $(seq 50); do [[ -L "$station/ports/COM$n" ]] && break; sleep 0.1; done
done

if [[ $headless -eq 0 && -x "$window" ]]; then
  if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display: the station window runs offscreen."
  fi
  (cd "$station" && exec "$window") &
  pids+=($!)
else
  "$cli" run --station "$station" --traffic &
  pids+=($!)
fi
echo "Station running in $station. History records as they land (Ctrl-C stops the demo):"
"$cli" history-dump --station "$station" history --follow &
pids+=($!)
# The DC-09 panel once the station listens (it waits for the station and resends until answered).
"$sim" --dc09 127.0.0.1:3061 --key "$dc09_key" --scenario demo/sim-dc09.json --null 60 > "$station/sim-dc09.log" 2>&1 &
pids+=($!)

# Runs until Ctrl-C, or until the station ends by itself.
wait "${pids[3]}"
