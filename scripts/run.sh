#!/usr/bin/env bash
# Installs what the desktop program needs (Debian 12), builds it with its Qt 6 front end and
# starts it. Arguments go to the program: an optional folder holding the virtual system (default:
# $XDG_DATA_HOME/vuvereze/system, else ~/.local/share/vuvereze/system).
# Usage: bash scripts/run.sh [system-folder]
set -euo pipefail
cd "$(dirname "$0")/.."

# The windows speak some Chinese ("確定", the range messages): a small CJK font shows it.
packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins libgl-dev nlohmann-json3-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-wqy-microhei)
source scripts/install-missing.sh
install_missing "${packages[@]}"

cmake -S . -B build/qt -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVUVEREZE_QT=ON
cmake --build build/qt -j "$(nproc)" --target vuvereze

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "No display is set: start it from a desktop session (or under xvfb-run)." >&2
fi
exec build/qt/hosts/qt/vuvereze "$@"
