#!/usr/bin/env bash
# check-pe.sh [--version V] [--signed] [--report] IMAGE...: reads the shipped Windows programs
# and DLLs back and checks what Windows and Microsoft's release checker (BinSkim) look for, as
# far as a mingw-w64 build can give it (scripts/check-pe.py does the reading):
#   - a PE32 for i386 or a PE32+ for x86-64, stripped, importing system DLLs only;
#   - its manifest: Vuvereze.exe "highestAvailable" (DPI-aware, Common Controls 6), the console
#     tools "asInvoker", a DLL no level of its own; all of them Windows 7 to 11;
#   - its version block with the project's version and its own file name; in the exe the
#     dialogs and the icon;
#   - ASLR (dynamic base with relocations), NX, terminal-server aware (programs), high-entropy
#     ASLR above 4 GB (64-bit), no SEH handler of its own (32-bit), no writable and executable
#     or shared writable section, imports not executable;
#   - GCC's stack protector and checked string functions (libssp, linked in; the functions
#     from the linker's map IMAGE.map where the build left one beside the image).
# It names what mingw cannot give. --signed also wants an Authenticode signature in each.
# --report prints a table of the rules against the images instead, and fails on nothing.
# The version is the project's (CMakeLists.txt) unless --version names another.
set -euo pipefail
here="$(dirname "$0")"
args=("$@")
case " $* " in
    *" --version "*) ;;
    *) args=(--version "$(bash "$here/version.sh")" "$@") ;;
esac
# The system's Python, which Debian's python3-pefile is for (another one may come first on PATH).
python=/usr/bin/python3
[ -x "$python" ] || python=python3
exec "$python" -B "$here/check-pe.py" "${args[@]}"
