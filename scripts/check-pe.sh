#!/usr/bin/env bash
# check-pe.sh EXE: reads the shipped 32-bit Vuvereze.exe back with the mingw tools and checks
# that it is what Windows users get: a PE32 for i386, with the manifest, the version strings and
# the three dialogs in it, and no compiler runtime DLL among its imports (it must start on a
# Windows that has only the system's own DLLs).
set -euo pipefail
exe="${1:?usage: check-pe.sh path/to/Vuvereze.exe [VERSION]}"
# The version it must carry: the project's (CMakeLists.txt) unless given.
version="${2:-$(bash "$(dirname "$0")/version.sh")}"
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres
failures=0
fail() {
    echo "check-pe: $exe: $*" >&2
    failures=$((failures + 1))
}

headers="$("$objdump" -p "$exe")"
grep -q "file format pei-i386" <<<"$headers" || fail "not a PE32 for i386"
grep -Eq "^Magic[[:space:]]+010b" <<<"$headers" || fail "no PE32 optional header (magic 010b)"
grep -Eq "^Subsystem[[:space:]]+00000002" <<<"$headers" || fail "not a GUI (WIN32) program"

imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")"
[ -n "$imports" ] || fail "no imports found"
if grep -Ei '^(libgcc_s|libstdc\+\+|libwinpthread)' <<<"$imports" >/dev/null; then
    fail "imports a compiler runtime DLL: $(grep -Ei '^(libgcc_s|libstdc\+\+|libwinpthread)' <<<"$imports" | tr '\n' ' ')"
fi

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

size=$(stat -c %s "$exe")
echo "check-pe: $exe: $size bytes; imports: $(tr '\n' ' ' <<<"$imports")"
[ "$failures" -eq 0 ] || exit 1
echo "check-pe: $exe: ok"
