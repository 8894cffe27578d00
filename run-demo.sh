#!/usr/bin/env bash
# The demo: builds the module, makes a demo station in demo-station/ from demo/station.json (twelve
# accounts with their areas, code tables, schedules and users), sets up three ports for three receiver
# models (demo/receivers.json), starts a simulated receiver on each (demo/sim-comN.json) and starts the
# station. With a display the window shows the traffic; without one the station runs offscreen. Either
# way every new history record is printed here as a line: time, account, description.
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

# Runs until Ctrl-C, or until the station ends by itself.
wait "${pids[3]}"
