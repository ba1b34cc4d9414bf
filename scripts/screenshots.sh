#!/usr/bin/env bash
# Renders the real windows of the Qt host on Qt's offscreen screen in fixed states into
# docs/screenshots/*.png, by playing docs/screenshots/*.scn with the scenario runner.
# Usage: bash scripts/screenshots.sh [build folder]   (default: build/default, as scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
runner="$build/tools/vuvereze-scenarios"
if [[ ! -x "$runner" ]]; then
  echo "screenshots: no $runner; build with -DVUVEREZE_QT=ON first (bash scripts/test.sh)" >&2
  exit 1
fi
QT_QPA_PLATFORM=offscreen "$runner" --host qt docs/screenshots/*.scn
ls -l docs/screenshots/*.png
