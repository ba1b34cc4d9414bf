#!/usr/bin/env bash
# planted-dll.sh TEMPLATE_PREFIX PLANTED PROBE SMOKE VUVEREZE DEVICE TABLE: every shipped
# program copied into a folder that also holds PLANTED under the names of DLLs Windows loads by
# name at run time (the crypto provider the stack guard's start asks for, DirectShow's device
# enumerator that COM loads, ...), with Wine told to take a native DLL of those names first
# where it finds one. A program that looked in its own folder would load the planted one, which
# leaves NAME.dll.loaded beside itself: none may appear. PROBE, which leaves the search as it is,
# shows first that the planting works here: without that the story would prove nothing.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
template="$1"
planted="$2"
probe="$3"
smoke="$4"
shift 4
# shellcheck source=private-prefix.sh
. "$here/private-prefix.sh"
private_prefix "$template" planted-dll
# The copy's first start brings up Wine's own background programs, which must not run with the
# overrides below.
"$run" "$prefix" cmd /c exit </dev/null >/dev/null 2>&1
WINEPREFIX="$prefix" "$wineserver" -w

# The names: uxtheme and msimg32, which Wine loads by name for a program's first window (COM
# makes one for the device command), and which a program that keeps the default search loads
# from its own folder here; rsaenh, the crypto provider CryptAcquireContext loads for the stack
# guard's seed; devenum, DirectShow's device enumerator, which COM loads. The desktop program
# gets neither of the first two: the system DLLs it imports (the common controls, the common
# dialogs) make Wine load both while the process starts, before any code of the program runs,
# where no program has a say in the search (Windows keeps such DLLs to its system folder).
names=(uxtheme msimg32 rsaenh devenum)
plants_for() {
    case "$1" in
        Vuvereze.exe) echo rsaenh devenum ;;
        *) echo "${names[@]}" ;;
    esac
}
plant() {  # NAME...
    rm -f "$folder"/*.dll "$folder"/*.loaded
    local name
    for name in "$@"; do
        cp "$planted" "$folder/$name.dll"
    done
}
folder="$work/Downloads"
mkdir -p "$folder"
for program in "$probe" "$@"; do
    cp "$program" "$folder/"
done
overrides="$(IFS=,; echo "${names[*]}")=n,b"
status=0
ok() { echo "ok   $*"; }
fail() { echo "FAIL $*"; status=1; }
# The planted DLLs that PROGRAM loaded: each marker lists the programs that loaded it.
markers() {  # PROGRAM
    local marker
    for marker in "$folder"/*.loaded; do
        [ -f "$marker" ] || continue
        tr -d '\000\r' <"$marker" | grep -qiF "\\$1" && printf '%s ' "$(basename "${marker%.loaded}")"
    done
    return 0
}
# Runs from the folder, as a double-click on a program in it would.
in_folder() {  # PROGRAM ARGUMENT...
    (cd "$folder" && WINEDLLOVERRIDES="$overrides" "$run" "$prefix" "$@")
}

plant "${names[@]}"
in_folder "$(winpath "$folder/$(basename "$probe")")" "${names[@]/%/.dll}" >"$work/probe.out" 2>&1 || true
loaded=$(markers "$(basename "$probe")")
if [ "$loaded" = "$(printf '%s.dll\n' "${names[@]}" | LC_ALL=C sort | tr '\n' ' ')" ]; then
    ok "the planting works here: a program that keeps the default search loads $loaded"
else
    fail "a program with the default search did not load every planted DLL (markers: $loaded)"
    cat "$work/probe.out"
fi

for program in "$@"; do
    name="$(basename "$program")"
    # shellcheck disable=SC2046
    plant $(plants_for "$name")
    code=0
    # The desktop program is started and closed by the smoke test from where it was built.
    case "$name" in
        Vuvereze.exe) in_folder "$smoke" "$(winpath "$folder/$name")" >"$work/out" 2>&1 || code=$? ;;
        vuvereze-device.exe) in_folder "$(winpath "$folder/$name")" devices >"$work/out" 2>&1 || code=$? ;;
        *) in_folder "$(winpath "$folder/$name")" --version >"$work/out" 2>&1 || code=$? ;;
    esac
    loaded=$(markers "$name")
    if [ -z "$loaded" ]; then
        ok "$name loaded none of the planted DLLs beside it ($(plants_for "$name"))"
    else
        fail "$name loaded planted DLLs from its folder: $loaded"
    fi
    # The program still did its work with the system's own DLLs (no device is registered here).
    case "$name" in
        Vuvereze.exe) [ "$code" = 0 ] || { fail "$name: the smoke test failed"; cat "$work/out"; } ;;
        vuvereze-device.exe) grep -q "no capture device" "$work/out" || { fail "$name devices: $(cat "$work/out")"; } ;;
        *) grep -q "^${name%.exe} [0-9]" "$work/out" || { fail "$name --version: $(cat "$work/out")"; } ;;
    esac
done
exit $status
