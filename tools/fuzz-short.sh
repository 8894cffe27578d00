#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one briefly.
# Usage: tools/fuzz-short.sh [SECONDS_IN_ALL]   (default 60, shared between the targets)
# Seeds come from the receiver captures, each prefixed with a header choosing its receiver type.
set -euo pipefail
cd "$(dirname "$0")/.."

total=${1:-60}
if ! command -v clang++ >/dev/null; then
  echo "fuzz-short: clang++ not found; skipped" >&2
  exit 0
fi

cmake -S . -B build-fuzz -G Ninja \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer" \
  -DDURIDUVAZE_FUZZ=ON -DDURIDUVAZE_TESTS=OFF -DDURIDUVAZE_WINDOW=OFF >/dev/null

mapfile -t targets < <(find fuzz -maxdepth 1 -name '*_fuzzer.cc' -exec basename {} .cc \; | sort)
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

per_target=$(( total / ${#targets[@]} ))
(( per_target < 5 )) && per_target=5
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  mkdir -p "$corpus"
  if [[ "$target" == decode_fuzzer ]]; then
    # Header: type, option bits, prefix, way in (0 framed stream, 2 SIA block).
    for bin in tests/decoders/captures/*/*.bin; do
      [[ -f "$bin" ]] || continue
      # Each capture under its own receiver type (the args: line beside it), and under the Sur-Gard types.
      own=$(sed -n 's/^args:.*--receiver \([0-9]*\).*/\1/p' "${bin%.bin}.txt" 2>/dev/null | head -n 1)
      for type in $own 5 6 7 21; do
        { printf "\\x$(printf %02x "$type")\\x03\\x30\\x00"; cat "$bin"; } >"$corpus/$(basename "$bin" .bin)-$type"
      done
    done
    printf '\x07\x03\x30\x02011[#1234|Nri1/BA01]\x14' >"$corpus/sia-example"
  fi
  echo "fuzz-short: $target for ${per_target}s"
  "build-fuzz/fuzz/$target" -max_total_time="$per_target" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/ \
    "$corpus" 2>&1 | tail -n 20
  status=${PIPESTATUS[0]}
  if (( status != 0 )); then
    echo "fuzz-short: $target FAILED (exit $status)" >&2
    exit "$status"
  fi
done
echo "fuzz-short: all targets ran clean"
