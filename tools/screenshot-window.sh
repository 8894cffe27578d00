#!/usr/bin/env bash
# Takes a picture of the station window running the demo station (./run-demo.sh) under a virtual X
# display, once the simulated receivers' traffic has arrived, and writes it to docs/window.png (or the
# file given). Needs xvfb and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/window.png}"
command -v Xvfb >/dev/null || { echo "Xvfb missing: apt-get install xvfb" >&2; exit 1; }
command -v import >/dev/null || { echo "import missing: apt-get install imagemagick" >&2; exit 1; }

display=:$((90 + RANDOM % 9))
log=$(mktemp)
cleanup() {
  [[ -n "${demo:-}" ]] && kill -INT "$demo" 2>/dev/null && wait "$demo" 2>/dev/null || true
  [[ -n "${xvfb:-}" ]] && kill "$xvfb" 2>/dev/null || true
  rm -f "$log"
}
trap cleanup EXIT
Xvfb "$display" -screen 0 800x520x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb setsid ./run-demo.sh >"$log" 2>&1 &
demo=$!
# Wait for a few history records: the window's memo then shows the port's traffic.
for _ in $(seq 600); do
  [[ $(grep -c '^20[0-9][0-9]-' "$log" || true) -ge 6 ]] && break
  sleep 1
done
DISPLAY=$display import -window root -crop 761x468+0+0 +repage "$out"
echo "wrote $out"
