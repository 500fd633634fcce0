#!/usr/bin/env bash
# Renews the screenshots of the manual (assets/Manual/img/*.png, light theme
# and *-scuro.png dark theme) and of the README (docs/screenshot-main*.png)
# from the real windows, drawn offscreen over a sample stock. Run it after a
# change to a window, look at the pictures and commit them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset release
cmake --build --preset release --target arvo_fotografie
LC_ALL=C.UTF-8 build/release/tools/fotografie/arvo_fotografie assets docs
