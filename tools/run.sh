#!/usr/bin/env bash
# Sets up the machine, builds a release, installs its program folder into
# ~/Arvo (or $ARVO_HOME when set) and starts Arvo there. The program folder
# is the database: it lives outside the repository, so a rebuild, a new
# build folder or `git clean` never touches the stock. An install only
# replaces the program's own files (executable, manual, pictures, icons).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
destinazione="${ARVO_HOME:-$HOME/Arvo}"
cmake --preset release
cmake --build --preset release --target arvo
cmake --install build/release --prefix "$destinazione"
cd "$destinazione"
exec ./arvo
