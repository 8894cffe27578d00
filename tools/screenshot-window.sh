#!/usr/bin/env bash
# Takes a picture of the running station window under a virtual X display and writes it to
# docs/window.png (or the file given). Needs xvfb and imagemagick; builds the window when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs/window.png}"
command -v Xvfb >/dev/null || { echo "Xvfb missing: apt-get install xvfb" >&2; exit 1; }
command -v import >/dev/null || { echo "import missing: apt-get install imagemagick" >&2; exit 1; }
[[ -x build/src/app/duriduvaze ]] || { cmake -S . -B build -G Ninja >/dev/null; cmake --build build --target duriduvaze; }
program="$(pwd)/build/src/app/duriduvaze"

station=$(mktemp -d)
display=:$((90 + RANDOM % 9))
cleanup() {
  [[ -n "${app:-}" ]] && kill "$app" 2>/dev/null || true
  [[ -n "${xvfb:-}" ]] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$station"
}
trap cleanup EXIT
mkdir -p "$station/ORBA" "$station/ports"
Xvfb "$display" -screen 0 800x520x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
(cd "$station" && DISPLAY=$display QT_QPA_PLATFORM=xcb exec "$program") >/dev/null 2>&1 &
app=$!
sleep 3
DISPLAY=$display import -window root -crop 761x468+0+0 +repage "$out"
echo "wrote $out"
