#!/usr/bin/env bash
# The Windows program, cross-built with mingw-w64 and tested under Wine: the 64-bit build's tests
# and scenarios run on a virtual display, the 32-bit build is the exe that ships and is read
# back. Called by scripts/test.sh after the native build; installs what it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh
install_features build display windows

cmake --preset mingw-x86_64 -DVUVEREZE_WERROR=ON
cmake --build --preset mingw-x86_64 -j "$(nproc)"
cmake --preset mingw-i686 -DVUVEREZE_WERROR=ON
cmake --build --preset mingw-i686 -j "$(nproc)"
bash scripts/check-pe.sh build/mingw-i686/hosts/win32/Vuvereze.exe

# One display and one Wine prefix for the whole run; the prefix is made once (wine-run.sh). A
# wineserver kept alive across the tests saves a second or so per program started, and the
# system's background programs it keeps (services.exe and the like) are started here with no
# output of ours, since a background program started by a test would hold ctest's pipe open.
prefix="$PWD/build/mingw-x86_64/wineprefix"
display_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
stop_windows() {
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$display_file"
}
trap stop_windows EXIT
for _ in $(seq 50); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$display_file")"
scripts/wine-run.sh "$prefix" cmd /c exit </dev/null >/dev/null 2>&1
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
WINEPREFIX="$prefix" /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
scripts/wine-run.sh "$prefix" cmd /c exit </dev/null >/dev/null 2>&1
# A real file dialog under Wine, with other tests' windows on the same desktop, now and then
# does not close on its answer (one story in a few hundred): such a test gets a second run.
ctest --preset mingw-x86_64 -j 2 --repeat until-pass:2

# Figures: start-up of the program beside a minimal dialog program under Wine, and the size of
# the exe that ships.
bench=build/mingw-x86_64/bench/win32
scripts/wine-run.sh "$prefix" "$bench/vz_startup_bench.exe" 10 \
    "$PWD/build/mingw-x86_64/hosts/win32/Vuvereze.exe" Zeriveve \
    "$PWD/$bench/vz_minimal_dialog.exe" Minimal </dev/null || echo "start-up bench: no figures"
echo "size of the 32-bit Vuvereze.exe: $(stat -c %s build/mingw-i686/hosts/win32/Vuvereze.exe) bytes (at most 2 MB)"
