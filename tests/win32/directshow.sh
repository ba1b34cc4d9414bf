#!/usr/bin/env bash
# directshow.sh [--program-only] TEMPLATE_PREFIX DLL CLIENT PROGRAM VUVEREZE SMOKE: registers
# the simulated card from a description of seven devices in a prefix of its own (a copy of the
# template: registering must not reach the prefix the other tests share), runs CLIENT with
# "registered", registers anew and runs PROGRAM, which drives VUVEREZE; then unregisters, runs
# CLIENT with "none" and SMOKE, which sees the program list "N/A". With --program-only, where
# every program start costs most of a minute (an emulated 32-bit build), only the registration,
# PROGRAM's story of the real exe on the device path (--device-path) and the removal.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program_only=0
if [ "${1:-}" = --program-only ]; then
    program_only=1
    shift
fi
template="$1"
dll="$2"
client="$3"
program="$4"
vuvereze="$5"
smoke="$6"
# shellcheck source=private-prefix.sh
. "$here/private-prefix.sh"
# Its own folder, so that both ways can run at once.
private_prefix "$template" "directshow$([ $program_only = 0 ] || echo -program)"

cat >"$work/machine.json" <<'JSON'
{
  "devices": [
    { "friendlyName": "Zeriveve HD Capture", "inputs": { "hdmi": "1920x1080p60" } },
    { "friendlyName": "Zeriveve HD Capture", "faults": ["no-property-set"] },
    { "friendlyName": "Get Only Capture", "faults": ["get-only"] },
    { "friendlyName": "No Reload Capture", "faults": ["no-reload"] },
    { "friendlyName": "Failing Bind Capture", "faults": ["bind"] },
    { "friendlyName": "Removed Capture" },
    { "friendlyName": "Nameless Capture", "faults": ["friendly-name"] }
  ]
}
JSON
status=0
VZ_SIMCARD_MACHINE="$(winpath "$work/machine.json")" \
    "$run" "$prefix" regsvr32 /s "$(winpath "$dll")" || { echo "FAIL regsvr32"; exit 1; }
[ -f "$prefix/drive_c/windows/system32/format.bin" ] && echo "ok   registering seeds format.bin" ||
    { echo "FAIL registering seeds format.bin"; status=1; }
if [ $program_only = 0 ]; then
    "$run" "$prefix" "$client" registered "$(winpath "$work")" || status=1
    # The client removed a device and left its requests in the logs: the program starts afresh.
    rm -f "$work"/*.log
    VZ_SIMCARD_MACHINE="$(winpath "$work/machine.json")" \
        "$run" "$prefix" regsvr32 /s "$(winpath "$dll")" || { echo "FAIL regsvr32"; exit 1; }
fi
# The program runs as on the Traditional Chinese Windows it is made for (ANSI code page 950),
# where its Chinese texts and the sort arrows exist in the code page: wine-run.sh's locale.
"$run" "$prefix" "$program" $([ $program_only = 0 ] || echo --device-path) "$vuvereze" \
    "$(winpath "$work")" || status=1
"$run" "$prefix" regsvr32 /s /u "$(winpath "$dll")" || { echo "FAIL regsvr32 /u"; exit 1; }
if [ $program_only = 0 ]; then
    "$run" "$prefix" "$client" none || status=1
    "$run" "$prefix" "$smoke" "$vuvereze" || status=1
fi
exit $status
