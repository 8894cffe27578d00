#!/usr/bin/env bash
# Builds the Debian package in its own build directory, unpacks it into a scratch root with dpkg -x and
# starts the unpacked programs headless against a demo station: the decode tool on a recorded capture,
# the example station loaded and read back, the simulator's help, the port-link helper, and the window
# started in that station under the offscreen platform, which must stay up and end cleanly on SIGTERM.
# Usage: tests/package/test-package.sh [BUILD_DIR]   (default build-pkg; the package is left there)
set -euo pipefail

src="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$src/build-pkg}"
scratch="$(mktemp -d)"
window_pid=
cleanup() {
  if [[ -n "$window_pid" ]] && kill -0 "$window_pid" 2>/dev/null; then kill -KILL "$window_pid"; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# The same build type as the test build, so that ccache serves the objects it already compiled.
cmake -S "$src" -B "$build" -G Ninja -DDURIDUVAZE_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/duriduvaze_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/duriduvaze_*.deb)
[[ -f "${debs[0]}" ]] || { echo "FAIL: cpack made no package" >&2; exit 1; }
deb="${debs[0]}"
echo "package: $deb"

# --- The package's contents and control data ---
root="$scratch/root"
dpkg -x "$deb" "$root"
bin="$root/usr/bin"
expected=(
  usr/bin/duriduvaze usr/bin/duriduvaze-cli usr/bin/duriduvaze-link-ports
  usr/share/applications/duriduvaze.desktop
  usr/share/icons/hicolor/scalable/apps/duriduvaze.svg
  usr/share/man/man1/duriduvaze.1.gz usr/share/man/man1/duriduvaze-cli.1.gz
  usr/share/man/man1/duriduvaze-sim.1.gz usr/share/man/man1/duriduvaze-link-ports.1.gz
  usr/share/doc/duriduvaze/examples/99-duriduvaze-serial.rules.example
  usr/share/doc/duriduvaze/examples/station-example.json
  usr/share/doc/duriduvaze/installing.md usr/share/doc/duriduvaze/station-json.md
  usr/lib/systemd/system/duriduvaze.service usr/lib/systemd/system-generators/duriduvaze-station-paths
  etc/default/duriduvaze
)
# The simulator is in the package whenever its sources are in the tree.
if [[ -f "$src/tools/sim/main.cc" ]]; then expected+=(usr/bin/duriduvaze-sim); fi
for f in "${expected[@]}"; do
  [[ -e "$root/$f" ]] || fail "package lacks /$f"
done
for f in duriduvaze duriduvaze-cli duriduvaze-link-ports; do
  [[ -x "$bin/$f" ]] || fail "/usr/bin/$f is not executable"
done

depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6widgets6 libcups2 libasound2 libsystemd0 libstdc++6 adduser; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[[ "$(dpkg-deb -f "$deb" Package)" == duriduvaze ]] || fail "package name"
pass "contents and dependencies ($depends)"

# --- The service: unit, settings, generator and the maintainer scripts that make its user ---
control="$scratch/control"
dpkg-deb -e "$deb" "$control"
for script in postinst prerm postrm; do
  [[ -x "$control/$script" ]] || fail "package lacks an executable $script"
done
grep -q 'adduser --system --group .*duriduvaze' "$control/postinst" || fail "postinst makes no duriduvaze user"
grep -q 'adduser --quiet duriduvaze dialout' "$control/postinst" || fail "postinst does not add the user to dialout"
grep -qx '/etc/default/duriduvaze' "$control/conffiles" || fail "/etc/default/duriduvaze is not a conffile"
unit="$root/usr/lib/systemd/system/duriduvaze.service"
for line in 'Type=notify' 'User=duriduvaze' 'SupplementaryGroups=dialout' 'EnvironmentFile=/etc/default/duriduvaze' \
  'Restart=on-failure' 'ProtectSystem=strict' 'NoNewPrivileges=yes' 'PrivateTmp=yes' 'DeviceAllow=char-ttyUSB rw'; do
  grep -qx "$line" "$unit" || fail "duriduvaze.service lacks $line"
done
grep -q '^WatchdogSec=' "$unit" || fail "duriduvaze.service has no WatchdogSec"
grep -qx 'ExecStart=/usr/bin/duriduvaze-cli run --station ${DURIDUVAZE_STATION} $DURIDUVAZE_OPTIONS' "$unit" ||
  fail "duriduvaze.service does not run duriduvaze-cli run in the configured station"
grep -qx 'DURIDUVAZE_STATION=/srv/duriduvaze' "$root/etc/default/duriduvaze" || fail "default station directory"
if command -v systemd-analyze >/dev/null; then
  # The unpacked unit, with the unpacked program in the place it names.
  sed "s|/usr/bin/duriduvaze-cli|$root/usr/bin/duriduvaze-cli|; s|/etc/default/duriduvaze|$root/etc/default/duriduvaze|" \
    "$unit" >"$scratch/duriduvaze.service"
  verify="$(systemd-analyze verify --man=no "$scratch/duriduvaze.service" 2>&1 | grep -v -e 'Unknown user' -e 'Unknown group' || true)"
  [[ -z "$verify" ]] || fail "systemd-analyze verify: $verify"
fi
# The generator turns the settings' station directory into the unit's one writable path, and refuses
# a relative one.
generator="$root/usr/lib/systemd/system-generators/duriduvaze-station-paths"
printf 'DURIDUVAZE_STATION="/srv/station two"\nDURIDUVAZE_STATION=/srv/st1\n' >"$scratch/defaults"
DURIDUVAZE_DEFAULTS="$scratch/defaults" "$generator" "$scratch/gen"
grep -qx 'ReadWritePaths=/srv/st1' "$scratch/gen/duriduvaze.service.d/station-paths.conf" 2>/dev/null ||
  fail "generator did not make ReadWritePaths=/srv/st1"
echo 'DURIDUVAZE_STATION=srv/relative' >"$scratch/defaults"
DURIDUVAZE_DEFAULTS="$scratch/defaults" "$generator" "$scratch/gen2"
[[ ! -e "$scratch/gen2" ]] || fail "generator accepted a relative station directory"
pass "service unit, settings, generator and maintainer scripts"

desktop="$root/usr/share/applications/duriduvaze.desktop"
grep -qx 'Exec=duriduvaze' "$desktop" || fail "desktop entry does not start duriduvaze"
grep -qx 'Icon=duriduvaze' "$desktop" || fail "desktop entry does not name the icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop entry is not valid"
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$root/usr/share/icons/hicolor/scalable/apps/duriduvaze.svg" || fail "icon is not well-formed"
fi
if command -v man >/dev/null; then
  for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
    [[ -z "$warnings" ]] || fail "$(basename "$page"): $warnings"
    MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q '^NAME' || fail "$(basename "$page") does not render"
  done
fi

# Everything below runs the unpacked programs, never the build tree's.
export PATH="$bin:$PATH"
[[ "$(command -v duriduvaze-cli)" == "$bin/duriduvaze-cli" ]] || fail "PATH does not reach the unpacked tools"

# --- duriduvaze-cli: a recorded Sur-Gard capture against its checked output ---
capture="$src/tests/decoders/captures/surgard/contact_id_slr.bin"
if "$src/tools/decoder-captures.sh" check "$bin/duriduvaze-cli" "$capture" >/dev/null; then
  pass "duriduvaze-cli decode matches the capture's checked output"
else
  fail "duriduvaze-cli decode differs from ${capture%.bin}.chk"
fi

# --- duriduvaze-cli: the documented example station, loaded from the package's copy and read back ---
station="$scratch/station"
mkdir -p "$station/ORBA"
example="$root/usr/share/doc/duriduvaze/examples/station-example.json"
if duriduvaze-cli load --station "$station" "$example" &&
  duriduvaze-cli dump --station "$station" clients | grep -q '"account_number":"1234"' &&
  duriduvaze-cli dump --station "$station" company | grep -q '"company_name":"Acme Monitoring"'; then
  pass "load and dump the example station"
else
  fail "load or dump of $example"
fi

# --- The capture's bytes through that station: capture file and event intake ---
# The month folder as the history makes it; the capture goes only into an existing one.
mkdir -p "$station/ORBA/202612.EVT"
read -r -a decode_args <<<"$(sed -n 's/^args://p' "${capture%.bin}.txt" | head -n 1)"
duriduvaze-cli decode "${decode_args[@]}" --station "$station" <"$capture" >"$scratch/decoded.jsonl"
steps="$(wc -l <"$scratch/decoded.jsonl")"
capture_file="$station/ORBA/202612.EVT/event.txt"
if [[ -f "$capture_file" ]]; then
  # One line per message, each ended by the receiver's DC4 and then CR LF.
  lines="$(grep -c $'\x14\r$' "$capture_file" || true)"
  if [[ "$steps" -gt 0 && "$lines" -eq "$steps" ]]; then
    pass "decode --station: $steps messages, $lines capture lines ending DC4 CR LF"
  else
    fail "decode --station: $steps messages decoded, $lines capture lines ending DC4 CR LF"
  fi
else
  fail "decode --station wrote no $capture_file"
fi
# Every event line (each ends in CR in the decoded text) is one history record in its month.
event_lines="$(grep -o '"text":"[^"]*"' "$scratch/decoded.jsonl" | grep -o '\\r' | wc -l)"
records=0
while read -r period; do
  n="$(duriduvaze-cli history-dump --station "$station" --period "$period" history | wc -l)"
  records=$((records + n))
done < <(duriduvaze-cli history-dump --station "$station" periods | sed -n 's/.*"PeriodKey":"\([0-9]*\)".*/\1/p')
if [[ "$event_lines" -gt 0 && "$records" -eq "$event_lines" ]]; then
  pass "decode --station: $event_lines event lines, $records history records"
else
  fail "decode --station: $event_lines event lines but $records history records"
fi
if duriduvaze-cli history-dump --station "$station" stack >/dev/null &&
  duriduvaze-cli settings --station "$station" company | grep -q .; then
  pass "history-dump and settings read the demo station"
else
  fail "history-dump or settings on the demo station"
fi

# --- duriduvaze-sim ---
if [[ -x "$bin/duriduvaze-sim" ]]; then
  if duriduvaze-sim --help | grep -q -- '--receiver'; then pass "duriduvaze-sim --help"; else fail "duriduvaze-sim --help"; fi
fi

# --- End to end: a simulated Sur-Gard on COM1 of a station, acknowledged by the unpacked window ---
if [[ -f "$src/tools/cli/receivers_command.cc" ]] && [[ -x "$bin/duriduvaze-sim" ]]; then
  line_station="$scratch/line-station"
  mkdir -p "$line_station/ORBA"
  echo '{"receivers": [{"port": 1, "receiver_type": 7}]}' >"$scratch/receivers.json"
  duriduvaze-cli receivers --station "$line_station" "$scratch/receivers.json" >/dev/null ||
    fail "duriduvaze-cli receivers"
  duriduvaze-sim --receiver 7 --station "$line_station" --port COM1 --count 3 --rate 10 --full-speed \
    --ack-timeout-ms 1000 --duration 40 --json >"$scratch/sim.json" 2>"$scratch/sim.log" &
  sim_pid=$!
  for _ in $(seq 50); do
    [[ -L "$line_station/ports/COM1" ]] && break
    sleep 0.2
  done
  (cd "$line_station" && exec env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen duriduvaze \
    >"$scratch/line-window.log" 2>&1) &
  window_pid=$!
  sim_status=0
  wait "$sim_pid" || sim_status=$?
  kill -TERM "$window_pid" 2>/dev/null || true
  wait "$window_pid" 2>/dev/null || true
  window_pid=
  summary="$(cat "$scratch/sim.json")"
  if [[ "$sim_status" -eq 0 && "$summary" == *'"acknowledged":3'* && "$summary" == *'"failed":0'* ]]; then
    pass "three simulated Sur-Gard events acknowledged by the unpacked station"
  else
    fail "simulated receiver (status $sim_status): $summary $(tail -n 3 "$scratch/sim.log")"
  fi
  # The station posted them: three history records at least (link supervision may add its own).
  line_records=0
  while read -r period; do
    n="$(duriduvaze-cli history-dump --station "$line_station" --period "$period" history | wc -l)"
    line_records=$((line_records + n))
  done < <(duriduvaze-cli history-dump --station "$line_station" periods | sed -n 's/.*"PeriodKey":"\([0-9]*\)".*/\1/p')
  if [[ "$line_records" -ge 3 ]]; then
    pass "the station wrote $line_records history records for them"
  else
    fail "the station wrote $line_records history records for three acknowledged events"
  fi
fi

# --- duriduvaze-link-ports, the unpacked copy ---
if "$src/tests/package/test-link-ports.sh" "$bin/duriduvaze-link-ports" >/dev/null; then
  pass "duriduvaze-link-ports"
else
  fail "duriduvaze-link-ports (run tests/package/test-link-ports.sh $bin/duriduvaze-link-ports)"
fi

# --- duriduvaze: the window, headless, in the demo station ---
window_station="$station"
(cd "$window_station" && exec env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen duriduvaze \
  >"$scratch/window.log" 2>&1) &
window_pid=$!
sleep 4
if kill -0 "$window_pid" 2>/dev/null; then
  kill -TERM "$window_pid"
  status=0
  for _ in $(seq 50); do
    kill -0 "$window_pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$window_pid" 2>/dev/null; then
    fail "duriduvaze did not end within 10 s of SIGTERM"
  else
    wait "$window_pid" || status=$?
    if [[ "$status" -eq 0 ]]; then pass "duriduvaze stayed up headless and ended on SIGTERM"; else fail "duriduvaze ended with status $status after SIGTERM"; fi
  fi
  window_pid=
else
  status=0
  wait "$window_pid" || status=$?
  window_pid=
  fail "duriduvaze ended by itself within 4 s (status $status): $(tail -n 5 "$scratch/window.log")"
fi

if ((failures)); then
  echo "$failures package check(s) failed" >&2
  exit 1
fi
echo "package checks passed: $deb"
