#!/usr/bin/env bash
# Installs what the build needs (only what is missing), builds from scratch and runs the whole test suite.
# Usage: ./run-tests.sh [--sanitize]   (the sanitized build goes to build-asan/)
set -euo pipefail
cd "$(dirname "$0")"

build_dir=build
cmake_args=()
if [[ "${1:-}" == "--sanitize" ]]; then
  build_dir=build-asan
  cmake_args+=(-DDURIDUVAZE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi

./tools/install-deps.sh

cmake -S . -B "$build_dir" -G Ninja "${cmake_args[@]}"
cmake --build "$build_dir" -j "$(nproc)"
cd "$build_dir"
ctest --output-on-failure -j "$(( $(nproc) * 2 ))" --timeout 300
