#!/usr/bin/env bash
# ansible.sh COMMAND ROLES WORK: a fleet of four capture machines on this one, each a virtual
# system of its own with its own simulated card, reached with connection local: two good ones,
# one whose driver cannot reload, one whose card is gone. ansible-playbook applies one table to
# all of them with the role in ROLES, twice, and what it reports is checked against the files.
set -euo pipefail
command="$1"
roles="$2"
work="$3"
command -v ansible-playbook >/dev/null ||
    { echo "FAIL ansible-playbook is missing (Debian's ansible-core, scripts/packages/tests.txt)"; exit 1; }
rm -rf "$work"
mkdir -p "$work"
cd "$work"
# Ansible refuses to start without a UTF-8 locale; CI runs with none. Nothing of the user's
# Ansible set-up may change what is tested.
export LC_ALL=C.UTF-8 ANSIBLE_CONFIG="$work/ansible.cfg" ANSIBLE_HOME="$work/home"
export ANSIBLE_LOCAL_TEMP="$work/tmp" ANSIBLE_REMOTE_TEMP="$work/tmp" TMPDIR="$work/tmp"
mkdir -p "$work/tmp"
cat >ansible.cfg <<CFG
[defaults]
roles_path = $roles
nocolor = true
retry_files_enabled = false
interpreter_python = /usr/bin/python3
forks = 4
CFG

status=0
ok() { echo "ok   $*"; }
fail() { echo "FAIL $*"; status=1; }

# The old table everywhere, and the new one the fleet gets.
printf '\000\000' >old.bin
"$command" add old.bin DMT 0x52 >/dev/null
cp old.bin table.bin
"$command" add table.bin CVT-RB2 1920x1080p60 >/dev/null
"$command" add table.bin "VIC 4 60" >/dev/null
machine() {  # name, device name, faults
    mkdir -p "$1/Windows/System32"
    cp old.bin "$1/Windows/System32/format.bin"
    cat >"$1/machine.json" <<JSON
{ "devices": [ { "friendlyName": "$2", "inputs": { "hdmi": "1920x1080p60" }, "faults": [$3] } ] }
JSON
}
machine studio-a "Zeriveve HD Capture" ""
machine studio-b "Zeriveve HD Capture" ""
machine studio-c "Zeriveve HD Capture" '"no-reload"'
machine studio-d "Another Capture" ""

cat >inventory.yml <<YAML
capture:
  hosts:
    studio-a: { vuvereze_system: "$work/studio-a" }
    studio-b: { vuvereze_system: "$work/studio-b" }
    studio-c: { vuvereze_system: "$work/studio-c" }
    studio-d: { vuvereze_system: "$work/studio-d" }
  vars:
    ansible_connection: local
    vuvereze_command: "$command"
    vuvereze_table: "$work/table.bin"
    vuvereze_device: Zeriveve HD Capture
YAML
cat >playbook.yml <<'YAML'
- name: Roll the format table out to the capture machines
  hosts: capture
  gather_facts: false
  roles:
    - vuvereze_table
YAML

# The recap line of a host: "ok=5 changed=1 unreachable=0 failed=0 ...".
recap() { grep -E "^$1 +:" "$2" | sed -E 's/^[^:]*: *//; s/ +/ /g'; }
field() { recap "$1" "$3" | grep -oE "(^| )$2=[0-9]+" | cut -d= -f2; }
same() { cmp -s "$1" "$2"; }

for run in 1 2; do
    code=0
    ansible-playbook -i inventory.yml playbook.yml >"run$run.log" 2>&1 || code=$?
    echo "--- run $run (ansible-playbook exit $code): PLAY RECAP"
    sed -n '/PLAY RECAP/,$p' "run$run.log" | sed '1d;/^$/d'
    [ "$code" = 2 ] && ok "run $run: ansible-playbook says a host failed (exit 2)" ||
        fail "run $run: ansible-playbook exit $code, not 2"
    want_changed=$([ $run = 1 ] && echo 1 || echo 0)
    for host in studio-a studio-b; do
        [ "$(field $host changed "run$run.log")" = "$want_changed" ] &&
            [ "$(field $host failed "run$run.log")" = 0 ] &&
            ok "run $run: $host changed=$want_changed failed=0" ||
            fail "run $run: $host: $(recap $host "run$run.log")"
        same table.bin "$host/Windows/System32/format.bin" && ok "run $run: $host has the table byte for byte" ||
            fail "run $run: $host's format.bin is not the table"
        grep -q "Zeriveve HD Capture: format.bin $([ $run = 1 ] && echo changed || echo unchanged)" "run$run.log" ||
            fail "run $run: no report of $host"
    done
    # The card whose driver cannot reload: the table is written, the host fails; next time the
    # table is in place and nothing is asked of the driver.
    # (Ansible counts a failed task as failed, not as changed, whatever it changed.)
    want_failed=$([ $run = 1 ] && echo 1 || echo 0)
    [ "$(field studio-c failed "run$run.log")" = "$want_failed" ] &&
        [ "$(field studio-c changed "run$run.log")" = 0 ] &&
        ok "run $run: studio-c changed=0 failed=$want_failed" ||
        fail "run $run: studio-c: $(recap studio-c "run$run.log")"
    if [ $run = 1 ]; then
        grep -qE 'fatal: \[studio-c\].*\\"written\\": true.*\\"reloaded\\": false' run1.log &&
            ok "run 1: studio-c's command said written, not reloaded" ||
            fail "run 1: studio-c's command did not say written and not reloaded"
    fi
    same table.bin studio-c/Windows/System32/format.bin && ok "run $run: studio-c has the table (written before the reload failed)" ||
        fail "run $run: studio-c's format.bin is not the table"
    [ $run = 2 ] || grep -q "ReLoad file is fail!" run1.log || fail "run 1: studio-c's reload failure is not said"
    # The machine whose card is gone: failed both times, its old table untouched.
    [ "$(field studio-d failed "run$run.log")" = 1 ] && [ "$(field studio-d changed "run$run.log")" = 0 ] &&
        ok "run $run: studio-d failed=1 changed=0" || fail "run $run: studio-d: $(recap studio-d "run$run.log")"
    same old.bin studio-d/Windows/System32/format.bin && ok "run $run: studio-d keeps its old table" ||
        fail "run $run: studio-d's old table was touched"
done
[ -z "$(ls -A "$work/tmp" 2>/dev/null | grep '\.bin$')" ] && ok "no copy of the table is left behind" ||
    fail "copies of the table left in $work/tmp"
[ $status = 0 ] || { echo "--- run 1 log"; cat run1.log; }
exit $status
