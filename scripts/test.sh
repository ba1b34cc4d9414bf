#!/usr/bin/env bash
# Installs what the build needs (Debian 12), configures, builds and runs every test.
# Usage: bash scripts/test.sh [preset]   (default, release or asan; default: default)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

# Qt 6 for the desktop host, whose tests run on Qt's offscreen screen.
packages=(cmake ninja-build g++ git libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          qt6-base-dev libgl-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset "$preset" -DVUVEREZE_WERROR=ON -DVUVEREZE_QT=ON
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
