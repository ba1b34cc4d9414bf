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

# The Windows program once per CI run, after the default preset; the other presets are about
# the native build.
[ "$preset" = default ] || exit 0

# The pictures in docs/screenshots are made anew from the real windows on every run.
bash scripts/screenshots.sh "build/$preset"

# The Windows program, cross-built with mingw-w64: the 64-bit build's tests and scenarios run
# under Wine on a virtual display, the 32-bit build is the exe that ships and is read back.
windows_packages=(wine64 xvfb xauth googletest g++-mingw-w64-x86-64 g++-mingw-w64-i686
                  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686)
install_missing "${windows_packages[@]}"

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
