#!/usr/bin/env bash
# Starts the module on a ready-made demo station.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc)"
echo "The station window and the receiver simulator are not built yet: nothing to run for now."
