# Sourced by scripts/test-windows.sh: whether this host runs i386 (32-bit x86) user code, and
# running it under qemu-i386 through binfmt_misc where the kernel does not.
#   vz_i386_probe        sets vz_i386 (native, emulated or none) and vz_i386_seen, one line
#                        saying what the start of a tiny i386 program gave
#   vz_emulation_start   makes i386 programs run under qemu-i386-static (root and binfmt_misc
#                        needed); on failure returns 1 with the reason in vz_emulation_why
#   vz_emulation_stop    leaves binfmt_misc as vz_emulation_start found it
# The probe is a hand-made 96-byte ELF (exit(42) through int 0x80), so that it needs no i386
# library and no package: whether a host can run i386 code is a question about the kernel.
vz_probe_file="${vz_build:-$PWD/build}/i386-probe"
vz_binfmt=/proc/sys/fs/binfmt_misc
vz_emulation_undo=()

vz_write_probe() {
    mkdir -p "$(dirname "$vz_probe_file")"
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' \
        >"$vz_probe_file"
    chmod +x "$vz_probe_file"
}

# Starts the probe; prints what happened, returns 0 when it ran to its exit(42).
vz_run_probe() {
    local out rc=0
    out="$("$vz_probe_file" 2>&1)" || rc=$?
    if [ "$rc" -eq 42 ]; then
        echo "an i386 program ran"
        return 0
    fi
    out="${out##*: }"
    echo "an i386 program did not run (exit $rc${out:+: $out})"
    return 1
}

# The enabled binfmt_misc entries that take i386 ELF programs (an emulator's), one a line.
vz_i386_entries() {
    local entry
    [ -d "$vz_binfmt" ] || return 0
    for entry in "$vz_binfmt"/*; do
        case "${entry##*/}" in register | status) continue ;; esac
        [ -r "$entry" ] || continue
        grep -qx enabled "$entry" && grep -q '^magic 7f454c46010101' "$entry" &&
            grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" && echo "$entry"
    done
}

vz_i386_probe() {
    vz_write_probe
    local entries entry
    mapfile -t entries < <(vz_i386_entries)
    if [ ${#entries[@]} -eq 0 ]; then
        if vz_i386_seen="$(vz_run_probe)"; then vz_i386=native; else vz_i386=none; fi
        return 0
    fi
    # An emulator registered before us takes every i386 program, so the kernel's own answer
    # is only seen with it switched off for the moment of the probe.
    if [ "$(id -u)" -ne 0 ]; then
        vz_i386_seen="$(vz_run_probe) through binfmt_misc's ${entries[0]##*/}; the kernel's own answer is unknown (not root)"
        vz_i386=emulated
        return 0
    fi
    for entry in "${entries[@]}"; do echo 0 >"$entry"; done
    if vz_i386_seen="$(vz_run_probe)"; then vz_i386=native; else vz_i386=none; fi
    for entry in "${entries[@]}"; do echo 1 >"$entry"; done
    vz_i386_seen="$vz_i386_seen with binfmt_misc's ${entries[*]##*/} switched off"
}

vz_emulation_start() {
    vz_emulation_why=""
    if [ "$(id -u)" -ne 0 ]; then
        vz_emulation_why="registering an emulator in binfmt_misc needs root"
        return 1
    fi
    if [ ! -e "$vz_binfmt/register" ]; then
        if ! mount -t binfmt_misc binfmt_misc "$vz_binfmt" 2>/dev/null; then
            vz_emulation_why="binfmt_misc is not mounted and could not be mounted on $vz_binfmt"
            return 1
        fi
        vz_emulation_undo+=("umount $vz_binfmt")
    fi
    if [ -n "$(vz_i386_entries)" ]; then
        echo "i386 programs: binfmt_misc's $(vz_i386_entries | sed 's#.*/##' | head -n1) entry already takes them"
    else
        if [ ! -x /usr/bin/qemu-i386-static ] && ! install_missing qemu-user-static; then
            vz_emulation_why="qemu-user-static could not be installed"
            return 1
        fi
        if [ -e "$vz_binfmt/qemu-i386" ]; then
            # Ours from a run that was killed, or somebody's switched off: on for this run only.
            echo 1 >"$vz_binfmt/qemu-i386"
            vz_emulation_undo+=("echo 0 >$vz_binfmt/qemu-i386")
        else
            # F: the emulator is opened now, so a chroot without it still runs i386 programs.
            if ! printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
                >"$vz_binfmt/register" 2>/dev/null; then
                vz_emulation_why="binfmt_misc refused the qemu-i386 registration"
                vz_emulation_stop
                return 1
            fi
            vz_emulation_undo+=("echo -1 >$vz_binfmt/qemu-i386")
        fi
        echo "i386 programs: qemu-i386-static registered in binfmt_misc for this run"
    fi
    local seen
    if ! seen="$(vz_run_probe)"; then
        vz_emulation_why="with qemu-i386 registered, $seen"
        vz_emulation_stop
        return 1
    fi
}

vz_emulation_stop() {
    local i
    for ((i = ${#vz_emulation_undo[@]} - 1; i >= 0; --i)); do
        eval "${vz_emulation_undo[$i]}" 2>/dev/null || true
    done
    vz_emulation_undo=()
}
