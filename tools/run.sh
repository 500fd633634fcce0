#!/usr/bin/env bash
# Sets up the machine, builds a release and starts Arvo from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset release
cmake --build --preset release --target arvo
cd build/release/Arvo
exec ./arvo
