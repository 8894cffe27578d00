#!/usr/bin/env bash
# The release fuzz run: every libFuzzer target for much longer than the CI run, on the corpus the short
# runs built up in build-fuzz/corpus/. Usage: tools/fuzz-long.sh [SECONDS_IN_ALL]   (default 3600)
set -euo pipefail
cd "$(dirname "$0")/.."
exec ./tools/fuzz-short.sh "${1:-3600}"
