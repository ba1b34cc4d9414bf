#!/usr/bin/env bash
# screenshots-windows.sh [BUILD] [TEMPLATE_PREFIX]: pictures of the shipped 32-bit exe's real
# windows under Wine, beside the Qt ones in docs/screenshots (win32-*.png): the main window locked
# on the simulated card, its system menu, the About box. Runs in a copy of the tests' Wine prefix
# (so its Chinese texts show as the tests see them) with the simulated card's DLL of the same
# build registered. Needs a display: scripts/test-windows.sh runs it on its virtual one.
# Defaults: build/mingw-i686 and build/wineprefix.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="$(cd "${1:-build/mingw-i686}" && pwd)"
template="$(cd "$(dirname "${2:-build/wineprefix}")" && pwd)/$(basename "${2:-build/wineprefix}")"
[ -n "${DISPLAY:-}" ] || { echo "screenshots-windows: no display (DISPLAY)" >&2; exit 1; }
for file in hosts/win32/Vuvereze.exe sim/directshow/vz_simcard.dll tests/vz_win32_shots.exe; do
    [ -f "$build/$file" ] || { echo "screenshots-windows: no $build/$file" >&2; exit 1; }
done

# shellcheck source=../tests/win32/private-prefix.sh
. tests/win32/private-prefix.sh
cd "$build"
private_prefix "$template" screenshots
cat >"$work/machine.json" <<'JSON'
{ "devices": [ { "friendlyName": "Zeriveve HD Capture", "inputs": { "hdmi": "1920x1080p60" } } ] }
JSON
VZ_SIMCARD_MACHINE="$(winpath "$work/machine.json")" \
    "$run" "$prefix" regsvr32 /s "$(winpath "$build/sim/directshow/vz_simcard.dll")"
"$run" "$prefix" "$build/tests/vz_win32_shots.exe" "$build/hosts/win32/Vuvereze.exe" \
    "$root/docs/screenshots" </dev/null
ls -l "$root"/docs/screenshots/win32-*.png
