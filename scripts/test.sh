#!/usr/bin/env bash
# Installs what the build needs (Debian 12), configures, builds and runs every test.
# Usage: bash scripts/test.sh [preset]   (default, release or asan; default: default)
# The asan preset builds with clang 14 under AddressSanitizer and UndefinedBehaviorSanitizer,
# without benchmarks, and adds the fuzzers, each run briefly from its seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

# Qt 6 for the desktop host, whose tests run on Qt's offscreen screen; fonttools cuts the Ming
# face the host embeds for its Chinese texts out of fonts-arphic-uming; edid-decode as the
# independent calculator the timing standards are compared with; valgrind for the memcheck run of
# a few scenarios.
packages=(cmake ninja-build g++ git libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          qt6-base-dev libgl-dev fonttools fonts-arphic-uming fonts-dejavu-core edid-decode
          valgrind)
if [ "$preset" = asan ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi
source scripts/install-missing.sh
install_missing "${packages[@]}"

cmake --preset "$preset" -DVUVEREZE_WERROR=ON -DVUVEREZE_QT=ON
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"

# The pictures in docs/screenshots are made anew from the real windows on every run.
bash scripts/screenshots.sh "build/$preset"
