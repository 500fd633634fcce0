#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test: once in a debug build
# and once with the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
for preset in default asan; do
  echo "=== $preset"
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done
