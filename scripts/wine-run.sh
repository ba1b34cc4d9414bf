#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]: runs a Windows program, 64-bit or 32-bit, under Wine
# in the prefix PREFIX, making the prefix first if it is not there yet (a 64-bit prefix, with
# WOW64 for 32-bit programs when the Wine has a 32-bit half, see scripts/wine-env.sh). CMake calls
# it as the emulator of the cross builds, so ctest runs the Windows tests through it; several
# runs may start at once, so the prefix is made under a lock, once.
set -euo pipefail
prefix="$1"
shift

export WINEPREFIX="$prefix"
# The X display ctest gave this test, when the run offers several ("id:99,slots:1").
if [ -n "${CTEST_RESOURCE_GROUP_0_DISPLAYS:-}" ]; then
    display="${CTEST_RESOURCE_GROUP_0_DISPLAYS#id:}"
    export DISPLAY=":${display%%,*}"
fi
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer may ever ask anything: nothing here needs them. A caller's own
# overrides come after.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# shellcheck source=wine-env.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
vz_wine_locale

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.vz-ready" ]; then
        rm -rf "$prefix"
        env "${vz_locale[@]}" "$wine" wineboot --init >/dev/null 2>&1 || true
        # Debian's Wine does not find its own fonts (fonts-wine) where it keeps them, so its
        # captions and menus would draw letters for their Marlett symbols and Tahoma would be
        # missing: the system's font folder of the prefix holds them.
        if [ -d /usr/share/wine/fonts ] && [ -d "$prefix/drive_c/windows/Fonts" ]; then
            cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
        fi
        # Without a window manager Wine waits 2 s for every closed top-level window unless its
        # windows are unmanaged.
        env "${vz_locale[@]}" "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        "$wineserver" -w
        touch "$prefix/.vz-ready"
    fi
) 9>"$prefix.lock"

exec env "${vz_locale[@]}" "$wine" "$@"
