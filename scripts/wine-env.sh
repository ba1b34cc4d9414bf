# Sourced by the scripts that start Windows programs under Wine. Sets `wine`, the 64-bit loader
# (it hands a 32-bit program to the 32-bit loader beside it), and `wineserver`: VZ_WINE when set,
# else the private 32-bit Wine that scripts/wine32.sh unpacked under build/wine32 (with the
# library path of its i386 libraries), else the system's. `vz_wine_locale` sets the locale.
vz_build="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build"
vz_wine_private="$vz_build/wine32"
if [ -n "${VZ_WINE:-}" ]; then
    wine="$VZ_WINE"
elif [ -f "$vz_wine_private/.ready" ]; then
    wine="$vz_wine_private/root/usr/lib/wine/wine64"
    case ":${LD_LIBRARY_PATH:-}:" in
        *":$vz_wine_private/root/usr/lib/i386-linux-gnu:"*) ;;
        *) export LD_LIBRARY_PATH="$vz_wine_private/root/usr/lib/i386-linux-gnu:$vz_wine_private/root/lib/i386-linux-gnu${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" ;;
    esac
else
    wine=/usr/lib/wine/wine64
fi
wineserver="$(dirname "$wine")/wineserver"
[ -x "$wineserver" ] || wineserver=wineserver

# Wine takes the ANSI code page and the fonts from the locale. The program is made for a
# Traditional Chinese Windows (code page 950): under any other locale its Chinese texts are
# boxes, and those it converts through the code page (its system menu's "About") question marks.
# So a run gets zh_TW.UTF-8 unless the caller chose a language that the machine has (C.UTF-8,
# a container's default, chooses none). A machine without it gets one made with localedef under
# build/locale (from the locales package), and failing that C.UTF-8, which every Debian has
# (under the POSIX locale Wine could not even make a file named in Chinese). `vz_wine_locale`
# sets `vz_locale`, the variables to start Wine with (`env "${vz_locale[@]}" "$wine" ...`): set
# in this shell, a locale it cannot find without LOCPATH would make bash itself complain.
vz_wine_locale() {
    vz_locale=()
    local chosen="${LC_ALL:-${LC_CTYPE:-${LANG:-}}}"
    case "$chosen" in
        "" | C | POSIX | C.UTF-8 | C.utf8 | zh_TW.UTF-8 | zh_TW.utf8) ;;
        *) [ "$(locale charmap 2>/dev/null)" = UTF-8 ] && return 0 ;;
    esac
    if locale -a 2>/dev/null | grep -qix 'zh_TW\.utf-\{0,1\}8'; then
        vz_locale=(LC_ALL=zh_TW.UTF-8)
        return 0
    fi
    local made="$vz_build/locale"
    if [ ! -f "$made/zh_TW.UTF-8/LC_CTYPE" ] && command -v localedef >/dev/null &&
        [ -f /usr/share/i18n/locales/zh_TW ]; then
        mkdir -p "$made"
        (
            flock 9
            [ -f "$made/zh_TW.UTF-8/LC_CTYPE" ] ||
                localedef -i zh_TW -f UTF-8 "$made/zh_TW.UTF-8" >/dev/null 2>&1 || true
        ) 9>"$made.lock"
    fi
    if [ -f "$made/zh_TW.UTF-8/LC_CTYPE" ]; then
        vz_locale=(LOCPATH="$made" LC_ALL=zh_TW.UTF-8)
    else
        vz_locale=(LC_ALL=C.UTF-8)
    fi
}
