#!/usr/bin/env bash
# device-command.sh TEMPLATE_PREFIX DLL COMMAND TWO_PROGRAMS VUVEREZE: the device command over
# real DirectShow, with the simulated card registered as two video input devices in a prefix of
# its own (a copy of the template): the devices, a status, a table made by the table edits,
# applied once (written and reloaded), again (unchanged: nothing written, nothing asked), and on
# a card whose driver cannot reload (written, the failure said, exit 1); then TWO_PROGRAMS runs
# the program VUVEREZE beside the command: a roll-out while its window is locked.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
template="$1"
dll="$2"
command="$3"
two_programs="$4"
vuvereze="$5"
# shellcheck source=private-prefix.sh
. "$here/private-prefix.sh"
# A run killed while format.bin was marked immutable (below) would leave a prefix nobody can
# remove; the next run unmarks it first.
chattr -i "$PWD/device-command/prefix/drive_c/windows/system32/format.bin" 2>/dev/null || true
private_prefix "$template" device-command

cat >"$work/machine.json" <<'JSON'
{
  "devices": [
    { "friendlyName": "Zeriveve HD Capture", "inputs": { "hdmi": "1920x1080p60" } },
    { "friendlyName": "No Reload Capture", "inputs": { "hdmi": "1920x1080p60" }, "faults": ["no-reload"] }
  ]
}
JSON
status=0
ok() { echo "ok   $*"; }
fail() { echo "FAIL $*"; status=1; }
# One run of the command: its exit code in $code, its standard output (without the console's
# carriage returns) in $out.
vz() {
    code=0
    out="$("$run" "$prefix" "$command" "$@" 2>"$work/err" | tr -d '\r')" || code=$?
}
expect() {  # what, wanted code, pattern in the output
    [ "$code" = "$2" ] && grep -qE -- "$3" <<<"$out" && ok "$1" ||
        { fail "$1 (exit $code)"; echo "$out"; cat "$work/err"; }
}
log_reloads() { cat "$work"/*000.log 2>/dev/null | grep -c "SET RELOAD 1" || true; }

VZ_SIMCARD_MACHINE="$(winpath "$work/machine.json")" \
    "$run" "$prefix" regsvr32 /s "$(winpath "$dll")" || { echo "FAIL regsvr32"; exit 1; }
installed="$prefix/drive_c/windows/system32/format.bin"

vz --json devices
expect "devices lists both cards, sorted as the device box" 0 \
    '"name": "No Reload Capture",'
grep -q '"name": "Zeriveve HD Capture"' <<<"$out" || fail "devices misses Zeriveve HD Capture"
vz --version
expect "--version" 0 '^vuvereze-device [0-9]'
vz --json status "Zeriveve HD Capture"
expect "status: the HDMI input locked" 0 '"input": "HDMI",'
grep -qE '"lineLengthCount": 3394' <<<"$out" && grep -qE '"entry": "DMT 0x52"' <<<"$out" &&
    ok "status: 1920x1080 with its line-length count and the timings that agree" ||
    fail "status: $out"
vz status "Nobody"
expect "status of a device that is not there" 1 ''
grep -q "Device initized error!" "$work/err" || fail "status: Lock's message missing"
vz --system 'C:\x' devices
expect "--system is refused on Windows" 2 ''

cp "$installed" "$work/table.bin"
vz add "$(winpath "$work/table.bin")" CVT-RB2 1920x1080p60
expect "add: a CVT-RB2 user format" 0 'written'
before=$(log_reloads)
vz --json apply "Zeriveve HD Capture" "$(winpath "$work/table.bin")"
expect "apply: changed" 0 '"changed": true,'
grep -q '"reloaded": true' <<<"$out" || fail "apply: not reloaded"
cmp -s "$work/table.bin" "$installed" && ok "apply: system32\\format.bin is the table byte for byte" ||
    fail "apply: format.bin is not the table"
[ "$(log_reloads)" = $((before + 1)) ] && ok "apply: one reload request reached the driver" ||
    fail "apply: $(log_reloads) reload requests, $before before"
vz --json apply "Zeriveve HD Capture" "$(winpath "$work/table.bin")"
expect "apply again: unchanged" 0 '"changed": false,'
[ "$(log_reloads)" = $((before + 1)) ] && ok "apply again: no reload request" ||
    fail "apply again: a reload request was sent"

cp "$work/table.bin" "$work/off.bin"
vz disable "$(winpath "$work/off.bin")" user:all
expect "disable: every user format off" 0 'written'
vz --json apply "No Reload Capture" "$(winpath "$work/off.bin")"
expect "apply on a card that cannot reload: a problem" 1 '"written": true,'
grep -q '"reloaded": false' <<<"$out" && grep -q "ReLoad file is fail!" "$work/err" &&
    ok "apply: the failed reload is said, the table written" || fail "apply: $out"
cmp -s "$work/off.bin" "$installed" && ok "apply: the table was written before the reload failed" ||
    fail "apply: format.bin is not the table"

# A format.bin the command may not replace: refused, the old table kept, the reason said.
# Read-only is the user's own no, where running as administrator would not help.
chmod a-w "$installed"
vz apply "Zeriveve HD Capture" "$(winpath "$work/table.bin")"
chmod u+w "$installed"
expect "apply onto a read-only format.bin: a problem" 1 ''
grep -q "was left as it was): the file is read-only$" <(tr -d '\r' <"$work/err") &&
    ! grep -q "administrator" "$work/err" && ok "apply: the read-only file is named as the reason" ||
    fail "apply onto a read-only format.bin: $(cat "$work/err")"
cmp -s "$work/off.bin" "$installed" || fail "apply onto a read-only format.bin changed it"
# Refused by the system, as a prompt that is not elevated is refused the system folder under
# User Account Control: here a file the kernel keeps from being replaced (as root, Wine's own
# permission checks pass everything). The reason is the system's, with the advice to elevate.
if chattr +i "$installed" 2>/dev/null; then
    vz apply "Zeriveve HD Capture" "$(winpath "$work/table.bin")"
    chattr -i "$installed"
    expect "apply onto a format.bin the system refuses: a problem" 1 ''
    grep -q "(error 5)\. Writing there may need an administrator's rights: run the command from an elevated prompt (Run as administrator)" "$work/err" &&
        ok "apply: the system's refusal and the advice to elevate are said" ||
        fail "apply onto a refused format.bin: $(cat "$work/err")"
    cmp -s "$work/off.bin" "$installed" || fail "apply onto a refused format.bin changed it"
else
    echo "skip the system's refusal: this machine lets nobody mark a file immutable (chattr +i)"
fi
"$run" "$prefix" "$two_programs" "$(winpath "$vuvereze")" "$(winpath "$command")" \
    "$(winpath "$work")" || status=1

# Two edits of one table started together, as two scripts may: each pair ends with both in the
# file or one refused and said so, never one lost. The Enabled word of user format k is at
# 2 + 124 (34 + k) + 20.
flag() { od -An -tu1 -j $((2 + 124 * (34 + $1) + 20)) -N1 "$work/pair.bin" | tr -d ' '; }
both=0 refused=0 lost=0
for _ in $(seq 10); do
    cp "$work/table.bin" "$work/pair.bin"
    c0=0 c1=0
    "$run" "$prefix" "$command" disable "$(winpath "$work/pair.bin")" user:0 >/dev/null \
        2>"$work/err0" &
    p0=$!
    "$run" "$prefix" "$command" disable "$(winpath "$work/pair.bin")" user:1 >/dev/null \
        2>"$work/err1" &
    p1=$!
    wait $p0 || c0=$?
    wait $p1 || c1=$?
    f0=$(flag 0) f1=$(flag 1)
    if { [ $c0 = 0 ] && [ "$f0" != 0 ]; } || { [ $c1 = 0 ] && [ "$f1" != 0 ]; }; then
        lost=$((lost + 1))
    elif [ $c0 = 0 ] && [ $c1 = 0 ]; then
        both=$((both + 1))
    elif [ $((c0 + c1)) = 1 ] && {
        { [ $c0 = 1 ] && [ "$f0" != 0 ] && grep -q "another program changed" "$work/err0"; } ||
            { [ $c1 = 1 ] && [ "$f1" != 0 ] && grep -q "another program changed" "$work/err1"; }
    }; then
        refused=$((refused + 1))
    else
        lost=$((lost + 1))
        echo "exit codes $c0 and $c1"; cat "$work/err0" "$work/err1"
    fi
done
[ $lost = 0 ] && ok "two edits at once, 10 times: both applied $both, one refused $refused" ||
    fail "two edits at once: $lost of 10 lost an edit or ended otherwise"

"$run" "$prefix" regsvr32 /s /u "$(winpath "$dll")" || { echo "FAIL regsvr32 /u"; exit 1; }
vz devices
expect "no device once unregistered" 1 ''
exit $status
