#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one briefly.
# Usage: tools/fuzz-short.sh [SECONDS_IN_ALL]   (default 150, shared between the targets by weight:
# the decoders and the data-file readers two shares each, the mail client and the metrics page's request
# reader one)
# Seeds: the receiver captures, each prefixed with a header choosing its receiver type; for the data
# files one small file per reader; for the mail client a well-behaved server's replies.
set -euo pipefail
cd "$(dirname "$0")/.."

total=${1:-150}
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

weight() { [[ "$1" == smtp_reply_fuzzer || "$1" == http_request_fuzzer ]] && echo 1 || echo 2; }
shares=0
for target in "${targets[@]}"; do shares=$(( shares + $(weight "$target") )); done
for target in "${targets[@]}"; do
  per_target=$(( total * $(weight "$target") / shares ))
  (( per_target < 5 )) && per_target=5
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
  elif [[ "$target" == data_file_fuzzer ]]; then
    # Selector byte, then the file: empty-ish, a record of blanks, a record of 0xff.
    for reader in $(seq 0 26); do
      sel="\\x$(printf %02x "$reader")"
      printf "$sel" >"$corpus/reader-$reader-empty"
      { printf "$sel\\x02"; head -c 600 /dev/zero | tr '\\0' ' '; } >"$corpus/reader-$reader-blank"
      { printf "$sel\\x01"; head -c 600 /dev/zero | tr '\\0' '\\377'; } >"$corpus/reader-$reader-ff"
    done
  elif [[ "$target" == dc09_fuzzer ]]; then
    # Way in, then a stream, a content, or a content to encrypt.
    printf '\x00\n26EB0029"ADM-CID"0001R1L1#1234[#1234|1130 01 005]\r\nD4530013"NULL"0002L0#1234[]\r' >"$corpus/stream"
    printf '\x01"SIA-DCS"0003R2L3#1234[#1234|Nri1/BA01][XMAC]_10:40:00,12-07-2026' >"$corpus/sia"
    printf '\x02"*SIA-DCS"0004R1L1#1111[|Nri1/BA01]_10:40:10,12-07-2026' >"$corpus/encrypted"
    printf '\x02"*NULL"0005R1L1#3333[|]_10:40:10,12-07-2026' >"$corpus/null"
  elif [[ "$target" == smtp_reply_fuzzer ]]; then
    printf '\x01220 ready\r\n250-hello\r\n250 AUTH LOGIN PLAIN\r\n250 ok\r\n334 VXNlcm5hbWU6\r\n334 UGFzc3dvcmQ6\r\n235 ok\r\n250 ok\r\n250 ok\r\n354 go\r\n250 queued\r\n' >"$corpus/login"
    printf '\x06220 ready\r\n500 no\r\n250 hi\r\n250 ok\r\n250 ok\r\n250 ok\r\n250 ok\r\n354 go\r\n250 queued\r\n' >"$corpus/helo"
  elif [[ "$target" == http_request_fuzzer ]]; then
    printf 'GET /metrics HTTP/1.1\r\nHost: 127.0.0.1:9733\r\nAccept: */*\r\n\r\n' >"$corpus/get"
    printf '\r\nHEAD /metrics?x=1 HTTP/1.0\n\n' >"$corpus/head"
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
