#!/usr/bin/env bash
# Checks duriduvaze-link-ports in a scratch station: links from arguments and from ports.map, a link
# replaced in place, refusals (port number, relative or missing device, an entry that is no link, a port
# given twice), --list, --remove and --dry-run.
# Usage: tests/package/test-link-ports.sh [PATH-TO-duriduvaze-link-ports]   (default: the source tree's)
set -uo pipefail

tool="${1:-$(cd "$(dirname "$0")/../.." && pwd)/tools/duriduvaze-link-ports}"
station="$(mktemp -d)"
trap 'rm -rf "$station"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
link_of() { readlink "$station/ports/$1" 2>/dev/null || echo "(none)"; }
run() { "$tool" -s "$station" "$@" >/dev/null 2>&1; }

run COM3=/dev/null || fail "COM3=/dev/null refused"
[[ "$(link_of COM3)" == /dev/null ]] || fail "COM3 leads to $(link_of COM3)"

# A link already there is replaced; the map file takes both spellings, comments and blank lines.
printf '# station demo\n\nCOM4   /dev/zero   # adapter A\nCOM3=/dev/zero\n' >"$station/ports.map"
run || fail "ports.map refused"
[[ "$(link_of COM3)" == /dev/zero && "$(link_of COM4)" == /dev/zero ]] ||
  fail "ports.map gave COM3 $(link_of COM3), COM4 $(link_of COM4)"
[[ -z "$(find "$station/ports" -name '*.new.*')" ]] || fail "a temporary link was left behind"

# Each case must fail and leave no COMn behind.
cases=(
  "COM17 COM17=/dev/null"
  "COM0 COM0=/dev/null"
  "COM05 COM05=/dev/null"
  "COM5 COM5=dev/null"
  "COM6 COM6=/dev/nonexistent-device"
)
for c in "${cases[@]}"; do
  read -r name arg <<<"$c"
  if run "$arg"; then fail "took $arg"; fi
  [[ "$(link_of "$name")" == "(none)" ]] || fail "$arg made a link"
done

# A failed pair does not stop the others, and the exit status tells of the failure.
if run COM7=/dev/null COM8=/dev/nonexistent-device; then fail "exit 0 with a refused pair"; fi
[[ "$(link_of COM7)" == /dev/null ]] || fail "COM7 not linked beside a refused pair"
if run COM9=/dev/null COM9=/dev/zero; then fail "took a port given twice"; fi

# --force links a device that is not there now; --list tells it apart.
run --force COM10=/dev/nonexistent-device || fail "--force refused"
listing="$("$tool" -s "$station" --list)"
grep -qx 'COM4 -> /dev/zero (ready)' <<<"$listing" || fail "--list: $listing"
grep -qx 'COM10 -> /dev/nonexistent-device (missing device)' <<<"$listing" || fail "--list: $listing"

# An entry that is not a link is never touched.
echo keep >"$station/ports/COM11"
if run COM11=/dev/null; then fail "replaced a plain file"; fi
if run --remove COM11; then fail "removed a plain file"; fi
[[ "$(cat "$station/ports/COM11")" == keep ]] || fail "COM11's file changed"

run --remove COM3 --remove COM10 || fail "--remove refused"
[[ "$(link_of COM3)" == "(none)" && "$(link_of COM10)" == "(none)" ]] || fail "--remove left links"
[[ "$(link_of COM4)" == /dev/zero ]] || fail "--remove touched COM4"

run -n COM12=/dev/null || fail "--dry-run refused"
[[ "$(link_of COM12)" == "(none)" ]] || fail "--dry-run made a link"

if "$tool" -s "$station/missing" COM1=/dev/null >/dev/null 2>&1; then fail "took a missing station"; fi

if ((failures)); then
  echo "$failures duriduvaze-link-ports check(s) failed" >&2
  exit 1
fi
echo "duriduvaze-link-ports checks passed"
