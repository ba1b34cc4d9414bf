#!/usr/bin/env bash
# check-pe.sh [--version V] EXE [DLL...]: reads the shipped 32-bit Vuvereze.exe (and the DLLs
# shipped beside it) back with the mingw tools and checks that they are what Windows users get:
# PE32 for i386, stripped (no symbol table, no debug sections), no compiler runtime DLL among the
# imports (they must load on a Windows that has only the system's own DLLs), and in the exe the
# manifest, the project's version in its version strings and the three dialogs.
set -euo pipefail
# The version it must carry: the project's (CMakeLists.txt) unless --version names another.
version=""
if [ "${1:-}" = --version ]; then
    version="${2:?usage: check-pe.sh [--version VERSION] path/to/Vuvereze.exe [path/to/library.dll...]}"
    shift 2
fi
[ -n "$version" ] || version="$(bash "$(dirname "$0")/version.sh")"
exe="${1:?usage: check-pe.sh [--version VERSION] path/to/Vuvereze.exe [path/to/library.dll...]}"
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres
failures=0
file="$exe"
fail() {
    echo "check-pe: $file: $*" >&2
    failures=$((failures + 1))
}

# What every shipped PE file must be; $1 is the subsystem the exe has (none for a DLL).
check_binary() {
    file="$1"
    local headers sections imports
    headers="$("$objdump" -p "$file")"
    grep -q "file format pei-i386" <<<"$headers" || fail "not a PE32 for i386"
    grep -Eq "^Magic[[:space:]]+010b" <<<"$headers" || fail "no PE32 optional header (magic 010b)"
    if [ "${2:-}" = gui ]; then
        grep -Eq "^Subsystem[[:space:]]+00000002" <<<"$headers" || fail "not a GUI (WIN32) program"
    else
        grep -Eq "^Characteristics.*DLL|^[[:space:]]+DLL$" <<<"$headers" || fail "not a DLL"
    fi

    imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")"
    [ -n "$imports" ] || fail "no imports found"
    if grep -Ei '^(libgcc_s|libstdc\+\+|libwinpthread)' <<<"$imports" >/dev/null; then
        fail "imports a compiler runtime DLL: $(grep -Ei '^(libgcc_s|libstdc\+\+|libwinpthread)' <<<"$imports" | tr '\n' ' ')"
    fi

    # A release build is stripped: the COFF symbol table and DWARF sections would only make it
    # twice as big.
    grep -q "HAS_SYMS" <<<"$("$objdump" -f "$file")" && fail "not stripped: it has a symbol table"
    sections="$("$objdump" -h "$file" | awk '$1 ~ /^[0-9]+$/ { print $2 }')"
    if grep -E '^\.(debug|zdebug)' <<<"$sections" >/dev/null; then
        fail "debug sections: $(grep -E '^\.(debug|zdebug)' <<<"$sections" | tr '\n' ' ')"
    fi
    echo "check-pe: $file: $(stat -c %s "$file") bytes; imports: $(tr '\n' ' ' <<<"$imports")"
}

check_binary "$exe" gui
file="$exe"

# windres turns the resource section back into a script, one resource after another.
resources="$("$windres" -i "$exe" -O rc 2>/dev/null)" || fail "no resources can be read"
for dialog in 100 102 129; do
    grep -Eq "^$dialog DIALOGEX" <<<"$resources" || fail "dialog $dialog missing"
done
grep -Eq "^1 24 " <<<"$resources" || fail "manifest (RT_MANIFEST 1) missing"
grep -Eq "^128 14 " <<<"$resources" || fail "icon group 128 missing"
for value in '"FileDescription", "Vuvereze"' '"ProductName", "Vuvereze"' \
    '"InternalName", "Vuvereze.exe"' '"OriginalFilename", "Vuvereze.exe"' \
    "\"FileVersion\", \"$version\"" "\"ProductVersion\", \"$version\"" '"Translation", 0x404, 1200'; do
    grep -Fq "VALUE $value" <<<"$resources" || fail "version value $value missing"
done
fields=$(sed 's/\./, ?/g' <<<"$version")
grep -Eq "FILEVERSION $fields\$" <<<"$resources" || fail "file version $version missing"

# The manifest's own words: windres writes its bytes as quoted lines with the quotes doubled.
manifest="$(sed -n '/^1 24 /,/^END/p' <<<"$resources" | sed -n 's/^ *"\(.*\)"$/\1/p' |
    sed 's/""/"/g; s/\\[rnt]/ /g' | tr -d '\n')"
for needle in 'level="highestAvailable"' 'uiAccess="false"' '>true</dpiAware>' \
    'name="Microsoft.Windows.Common-Controls"' 'version="6.0.0.0"'; do
    grep -Fq "$needle" <<<"$manifest" || fail "manifest lacks $needle"
done

shift
for dll in "$@"; do
    check_binary "$dll"
done
[ "$failures" -eq 0 ] || exit 1
echo "check-pe: ok: $exe $*"
