#!/bin/sh
# Builds the release tree in build-release/, runs the speed checks and prints one table:
#   decode throughput per receiver type (messages/s on one core, each receiver capture framed and decoded),
#   AddEvent throughput on generated stations of 10,000 and 100,000 accounts with a month's history of
#   1,000,000 records (half the lines on unknown accounts or codes), StoreEvent alone,
#   and the whole path: sixteen simulators at 115,200 baud against a headless station for 60 seconds.
# Usage: bench/run.sh [--quick]   (--quick: shorter runs, no whole path)
# DURI_BENCH_DIR: where the generated stations live (default build-release/bench-stations, ~3 GB).
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
B=$ROOT/build-release
OUT=$B/bench-results
STATIONS=${DURI_BENCH_DIR:-$B/bench-stations}
QUICK=0
[ "${1:-}" = "--quick" ] && QUICK=1
MIN_TIME=2
[ $QUICK = 1 ] && MIN_TIME=0.3
mkdir -p "$OUT" "$STATIONS"
rm -rf "$OUT"/*.json "$OUT"/*.txt "$OUT"/known "$OUT"/unknown

cmake -S . -B "$B" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
TARGETS="decode_bench station_bench bench-station"
has_target() { ninja -C "$B" -t targets all 2>/dev/null | grep -q "^$1:"; }
WHOLE=0
if [ $QUICK = 0 ] && has_target duriduvaze-sim && has_target duriduvaze-cli; then
  TARGETS="$TARGETS duriduvaze-sim duriduvaze-cli"
  WHOLE=1
fi
cmake --build "$B" -j2 --target $TARGETS >&2

echo "decode..." >&2
"$B/bench/decode_bench" --benchmark_min_time=$MIN_TIME --benchmark_out="$OUT/decode.json" \
  --benchmark_out_format=json >/dev/null
echo "intake (builds the stations on first use)..." >&2
for n in 10000 100000; do "$B/bench/bench-station" --root "$STATIONS/station-$n" --accounts $n; done
DURI_BENCH_DIR=$STATIONS "$B/bench/station_bench" --benchmark_min_time=$MIN_TIME \
  --benchmark_out="$OUT/intake.json" --benchmark_out_format=json >/dev/null

if [ $WHOLE = 1 ]; then
  echo "whole path, known accounts (60 s)..." >&2
  "$ROOT/bench/whole_path.sh" "$B" "$STATIONS/station-100000" "$OUT/known" 1000-5999
  echo "whole path, unknown accounts (60 s)..." >&2
  "$ROOT/bench/whole_path.sh" "$B" "$STATIONS/station-100000" "$OUT/unknown" 6000-9999
fi

/usr/bin/python3 - "$OUT" <<'PY'
import glob, json, os, sys
out = sys.argv[1]
rows = []
def bench(name):
    p = os.path.join(out, name)
    return json.load(open(p))["benchmarks"] if os.path.exists(p) else []
for b in bench("decode.json"):
    if b.get("run_type", "iteration") != "iteration": continue
    name = b["name"].split("/")
    rows.append(("decode", "type %s %s" % (name[1][4:], "/".join(name[2:4])), "%.0f msg/s" % b["items_per_second"], ""))
for b in bench("intake.json"):
    if b.get("run_type", "iteration") != "iteration": continue
    kind, n = b["name"].split("/")[0], b["name"].split("/")[-1]
    label = {"BM_AddEventLargeStation": "AddEvent", "BM_StoreEvent": "StoreEvent only"}.get(kind, kind)
    target = ">= 20000" if kind == "BM_AddEventLargeStation" and n == "100000" else ""
    rows.append(("intake", "%s, %s accounts, 1M history (cpu %.0f us, wall %.0f us)" % (label, n, b["cpu_time"], b["real_time"]),
                 "%.0f events/s" % b["items_per_second"], target))
def whole_path(kind, target_rate):
    folder = os.path.join(out, kind)
    part = "whole path, %s accounts" % kind
    sims = []
    for p in sorted(glob.glob(os.path.join(folder, "sim*.json"))):
        try: sims.append(json.loads(open(p).read().strip().splitlines()[-1]))
        except Exception: pass
    if not sims:
        rows.append((part, "not measured (--quick, or no simulator / run command in this tree)", "-", ""))
        return
    stored = int(open(os.path.join(folder, "stored.txt")).read())
    acked = sum(s["acknowledged"] for s in sims)
    lat = [s["ack_latency_ms"] for s in sims]
    p50 = sorted(l["p50"] for l in lat)[len(lat) // 2]
    seconds = max(s["elapsed_ms"] for s in sims) / 1000.0
    rows.append((part, "16 simulators, events stored (%d in %.0f s)" % (stored, seconds), "%.0f events/s" % (stored / seconds), target_rate))
    rows.append((part, "events acknowledged", "%d" % acked, ""))
    rows.append((part, "ACK latency p50 (median of ports) / p99 (worst port) / max",
                 "%s / %s / %s ms" % (p50, max(l["p99"] for l in lat), max(l["max"] for l in lat)), "p99 < 20 ms"))
    rows.append((part, "resends / computer fail", "%d / %d" % (sum(s["resent"] for s in sims), sum(s["computer_fail"] for s in sims)), "0 / 0"))
    try: rss = int(open(os.path.join(folder, "station-rss.txt")).read().split()[-1]) / 1024.0
    except Exception: rss = float("nan")
    rows.append((part, "headless station peak RSS", "%.1f MB" % rss, "< 64 MB"))
whole_path("known", ">= 4000")
whole_path("unknown", "")
w = [max(len(r[i]) for r in rows + [("part", "what", "figure", "target")]) for i in range(4)]
fmt = "| %%-%ds | %%-%ds | %%%ds | %%-%ds |" % tuple(w)
print(fmt % ("part", "what", "figure", "target"))
print("|" + "|".join("-" * (x + 2) for x in w) + "|")
for r in rows: print(fmt % r)
PY
