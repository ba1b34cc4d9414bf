#!/usr/bin/env bash
# The Windows program, cross-built with mingw-w64 and tested under Wine on a virtual display:
# the 32-bit build, the exe that ships, runs every Windows test under a 32-bit Wine in a 64-bit
# prefix with WOW64, as on today's Windows; the 64-bit build runs them too. Called by
# scripts/test.sh after the native build; installs what it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-missing.sh
install_features build display windows
# A Wine with a 32-bit half: the system's, apt's or a private one (it says which).
bash scripts/wine32.sh

# One prefix for both builds, made once (wine-run.sh): a 64-bit prefix with WOW64 runs the
# programs of either.
prefix="$PWD/build/wineprefix"
for preset in mingw-i686 mingw-x86_64; do
    cmake --preset "$preset" -DVUVEREZE_WERROR=ON -DVUVEREZE_WINEPREFIX="$prefix"
    cmake --build --preset "$preset" -j "$(nproc)"
done
bash scripts/check-pe.sh build/mingw-i686/hosts/win32/Vuvereze.exe \
    build/mingw-i686/sim/directshow/vz_simcard.dll

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
# One display and one wineserver for the whole run. A wineserver kept alive across the tests
# saves a second or so per program started, and the system's background programs it keeps
# (services.exe and the like) are started here with no output of ours, since a background
# program started by a test would hold ctest's pipe open.
display_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
stop_windows() {
    WINEPREFIX="$prefix" "$wineserver" -k >/dev/null 2>&1 || true
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
WINEPREFIX="$prefix" "$wineserver" -w
WINEPREFIX="$prefix" "$wineserver" -p </dev/null >/dev/null 2>&1
scripts/wine-run.sh "$prefix" cmd /c exit </dev/null >/dev/null 2>&1
# The 32-bit half must be there: without it every test of the exe that ships would fail alike.
arch="$(scripts/wine-run.sh "$prefix" 'C:\windows\syswow64\cmd.exe' /c 'echo %PROCESSOR_ARCHITECTURE%' </dev/null 2>/dev/null | tr -d '\r')"
[ "$arch" = x86 ] || { echo "error: the prefix runs no 32-bit programs (WOW64 missing)" >&2; exit 1; }

# The tests of one build, then what ran: ctest's count, and the test cases inside the unit test
# programs (each program is one ctest test under Wine) as GoogleTest reported them.
run_suite() {
    local preset="$1"
    shift
    local log="build/$preset/Testing/Temporary/LastTest.log"
    # A real file dialog under Wine, with other tests' windows on the same desktop, now and then
    # does not close on its answer (one story in a few hundred): such a test gets a second run.
    ctest --preset "$preset" -j 2 --repeat until-pass:2 "$@" | tee "build/$preset/ctest.out"
    local total cases programs stories
    total=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "build/$preset/ctest.out")
    cases=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | awk '{ s += $1 } END { print s + 0 }')
    programs=$(grep -c '^\[  PASSED  \] ' "$log" || true)
    stories=$(grep -c '^[0-9]*/[0-9]* Test: scenario\.win32\.' "$log" || true)
    echo "$preset under Wine: ${total:-?} ctest tests passed: $cases test cases in $programs unit test programs, $stories scenario files on the Win32 host, the DirectShow stories, the smoke test"
}
# The exe that ships runs everything. The 64-bit build adds what differs with the bitness: its
# unit tests, the DirectShow stories and the device command; its scenario files (a Wine start
# each, minutes in all) tell nothing the 32-bit run and the native one have not told.
run_suite mingw-i686
run_suite mingw-x86_64 -E '^scenarios?\.'

# The pictures of the exe's real windows in docs/screenshots, made anew on every run as the Qt
# host's are.
bash scripts/screenshots-windows.sh build/mingw-i686 "$prefix"

# Figures: start-up of the exe that ships beside a minimal dialog program under Wine, and its
# size.
bench=build/mingw-i686/bench/win32
scripts/wine-run.sh "$prefix" "$bench/vz_startup_bench.exe" 10 \
    "$PWD/build/mingw-i686/hosts/win32/Vuvereze.exe" Zeriveve \
    "$PWD/$bench/vz_minimal_dialog.exe" Minimal </dev/null || echo "start-up bench: no figures"
echo "size of the 32-bit Vuvereze.exe: $(stat -c %s build/mingw-i686/hosts/win32/Vuvereze.exe) bytes (at most 2 MB)"
