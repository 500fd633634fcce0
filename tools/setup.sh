#!/usr/bin/env bash
# Installs, on Debian 12, whatever the build and the tests need and the
# machine lacks. Safe to run again: it installs only what is missing.
set -euo pipefail
pacchetti=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  qt6-image-formats-plugins fonts-dejavu-core
  libzxing-dev
  # Tests only: the PDF files are read back as pictures and as text.
  poppler-utils
)
mancanti=()
for p in "${pacchetti[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || mancanti+=("$p")
done
if [ ${#mancanti[@]} -gt 0 ]; then
  echo "Installo: ${mancanti[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${mancanti[@]}"
fi
