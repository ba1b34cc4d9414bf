#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]: runs a Windows program of the 64-bit build under Wine
# in the prefix PREFIX, making the prefix first if it is not there yet. CMake calls it as the
# emulator of the cross build, so ctest runs the Windows tests through it; several runs may start
# at once, so the prefix is made under a lock, once.
# Set VZ_WINE to use another wine loader.
set -euo pipefail
prefix="$1"
shift

export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer may ever ask anything: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine makes file names in the locale's character set: under the POSIX locale of a bare machine
# or a container, a file named in Chinese cannot be made at all. A locale the caller chose is
# kept; none at all, or the POSIX one, becomes C.UTF-8, which every Debian has.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
        "" | C | POSIX) export LC_ALL=C.UTF-8 ;;
    esac
fi
# This kernel runs no 32-bit programs, so the 64-bit loader is called by its own name.
wine="${VZ_WINE:-/usr/lib/wine/wine64}"
wineserver="$(dirname "$wine")/wineserver"
[ -x "$wineserver" ] || wineserver=wineserver

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.vz-ready" ]; then
        rm -rf "$prefix"
        "$wine" wineboot --init >/dev/null 2>&1 || true
        # Without a window manager Wine waits 2 s for every closed top-level window unless its
        # windows are unmanaged.
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        "$wineserver" -w
        touch "$prefix/.vz-ready"
    fi
) 9>"$prefix.lock"

exec "$wine" "$@"
