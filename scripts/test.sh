#!/usr/bin/env bash
# Installs what the build needs (Debian 12), configures, builds and runs every test.
# Usage: bash scripts/test.sh [preset]   (default, release or asan; default: default)
# The asan preset builds with clang 14 under AddressSanitizer and UndefinedBehaviorSanitizer,
# without benchmarks, and adds the fuzzers, each run briefly from its seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

# The Qt host is built and tested with every preset, on Qt's offscreen screen, and the program
# through the accessibility bus on a virtual display.
features=(build tests qt display accessibility)
[ "$preset" = asan ] && features+=(asan)
source scripts/install-missing.sh
install_features "${features[@]}"

cmake --preset "$preset" -DVUVEREZE_WERROR=ON -DVUVEREZE_QT=ON
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"

# The Windows program once per CI run, after the default preset; the other presets are about
# the native build.
[ "$preset" = default ] || exit 0

# The pictures in docs/screenshots are made anew from the real windows on every run.
bash scripts/screenshots.sh "build/$preset"

bash scripts/test-windows.sh
