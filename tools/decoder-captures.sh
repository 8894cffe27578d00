#!/usr/bin/env bash
# Replays the receiver captures under tests/decoders/captures/<family>/ through `duriduvaze-cli decode`
# and compares the output with the capture's .chk file.
#   tools/decoder-captures.sh check CLI [CAPTURE.bin...]   fails on any difference or missing .chk
#   tools/decoder-captures.sh regen CLI [CAPTURE.bin...]   rewrites the .chk files
# Each capture NAME.bin has NAME.txt beside it, whose line "args: ..." holds the decode options.
# Without captures named, all of them are taken. Review .chk diffs like code.
set -euo pipefail

mode=${1:?usage: $0 check|regen CLI [CAPTURE.bin...]}
cli=${2:?usage: $0 check|regen CLI [CAPTURE.bin...]}
shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
if [[ $# -eq 0 ]]; then
  mapfile -t captures < <(find "$root/tests/decoders/captures" -name '*.bin' | sort)
else
  captures=("$@")
fi

failed=0
for bin in "${captures[@]}"; do
  base="${bin%.bin}"
  if [[ ! -f "$base.txt" ]] || ! grep -q '^args:' "$base.txt"; then
    echo "FAIL $bin: no $base.txt with an args: line" >&2
    failed=1
    continue
  fi
  read -r -a args <<<"$(sed -n 's/^args://p' "$base.txt" | head -n 1)"
  out="$("$cli" decode "${args[@]}" <"$bin")"
  case "$mode" in
    regen)
      printf '%s\n' "$out" >"$base.chk"
      echo "wrote $base.chk"
      ;;
    check)
      if [[ ! -f "$base.chk" ]]; then
        echo "FAIL $bin: missing $base.chk" >&2
        failed=1
      elif ! diff -u "$base.chk" <(printf '%s\n' "$out"); then
        echo "FAIL $bin: output differs from $base.chk" >&2
        failed=1
      else
        echo "ok $bin"
      fi
      ;;
    *)
      echo "unknown mode $mode" >&2
      exit 2
      ;;
  esac
done
exit $failed
