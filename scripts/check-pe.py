#!/usr/bin/env python3
"""The reading behind check-pe.sh, which documents the command line: the shipped Windows images
against what Windows and Microsoft's release checker (BinSkim) look for."""

import os
import re
import subprocess
import sys
import pefile

from pe_resources import (rule_desktop_manifest, rule_dialogs, rule_execution_level,
                          rule_supported_os, rule_version)

# The DLLs every Windows has; anything else would have to ship beside the program.
SYSTEM_DLL = re.compile(
    r"^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|advapi32|shell32|shlwapi|msvcrt|"
    r"version|winmm|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$", re.I)
COMPILER_RUNTIME = re.compile(r"^(libgcc_s|libstdc\+\+|libwinpthread|libssp)", re.I)

DYNAMIC_BASE = 0x0040
HIGH_ENTROPY_VA = 0x0020
NX_COMPAT = 0x0100
NO_SEH = 0x0400
TERMINAL_SERVER_AWARE = 0x8000
SCN_EXECUTE = 0x20000000
SCN_WRITE = 0x80000000
SCN_SHARED = 0x10000000

# What a mingw-w64 build cannot give, and why; printed with every check.
NOT_MET = [
    ("BA2008 control-flow guard", "GCC emits no guard checks and GNU ld no guard tables; it "
     "needs MSVC or clang (-mguard=cf) with lld"),
    ("BA2025 CET shadow stack", "GNU ld 2.40 has no option to mark an image CET-compatible"),
    ("BA2024 Spectre mitigations", "/Qspectre is MSVC's; BinSkim reads it from a PDB"),
    ("BA2004, BA2006, BA2007, BA2026, BA2027", "read from the PDB (source hashes, compiler "
     "versions and warnings, /sdl, SourceLink); GCC writes no PDB"),
    ("BA2012, BA2013, BA2014 (/GS cookie)", "MSVC's cookie in the load configuration; GCC's "
     "stack protector keeps a guard of its own (BA3003 stands for them)"),
]


class Image:
    def __init__(self, path):
        self.path = path
        self.name = os.path.basename(path)
        self.pe = pefile.PE(path, fast_load=True)
        self.pe.parse_data_directories(directories=[
            pefile.DIRECTORY_ENTRY[name] for name in (
                "IMAGE_DIRECTORY_ENTRY_IMPORT", "IMAGE_DIRECTORY_ENTRY_RESOURCE",
                "IMAGE_DIRECTORY_ENTRY_BASERELOC", "IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG")])
        self.wide = self.pe.OPTIONAL_HEADER.Magic == 0x20b
        self.dll = self.pe.FILE_HEADER.IMAGE_FILE_DLL
        self.flags = self.pe.OPTIONAL_HEADER.DllCharacteristics
        self.imports = [entry.dll.decode("ascii", "replace")
                        for entry in getattr(self.pe, "DIRECTORY_ENTRY_IMPORT", [])]

    def directory(self, name):
        return self.pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY[name]]

    def resources(self, kind):
        """The resources of one type: (id, bytes) for every language of every name."""
        found = []
        root = getattr(self.pe, "DIRECTORY_ENTRY_RESOURCE", None)
        for entry in root.entries if root else []:
            if entry.id != kind:
                continue
            for named in entry.directory.entries:
                for language in named.directory.entries:
                    data = language.data.struct
                    found.append((named.id, self.pe.get_data(data.OffsetToData, data.Size)))
        return found

    def section_of(self, rva):
        for section in self.pe.sections:
            if section.VirtualAddress <= rva < section.VirtualAddress + section.Misc_VirtualSize:
                return section
        return None


def section_name(section):
    return section.Name.rstrip(b"\0").decode("ascii", "replace")


def objdump(image):
    return "x86_64-w64-mingw32-objdump" if image.wide else "i686-w64-mingw32-objdump"


# ---- The rules: each gives (passed, what was seen), or None where it does not apply. ----------

def rule_stripped(image):
    header = image.pe.FILE_HEADER
    debug = [section_name(s) for s in image.pe.sections
             if section_name(s).startswith((".debug", ".zdebug"))]
    if header.PointerToSymbolTable or header.NumberOfSymbols:
        return False, "a symbol table"
    if debug:
        return False, "debug sections " + " ".join(debug)
    return True, "no symbols, no debug sections"


def rule_system_imports(image):
    if not image.imports:
        return False, "no imports found"
    runtime = [dll for dll in image.imports if COMPILER_RUNTIME.match(dll)]
    foreign = [dll for dll in image.imports if not SYSTEM_DLL.match(dll)]
    if runtime:
        return False, "imports the compiler's runtime " + " ".join(runtime)
    if foreign:
        return False, "imports " + " ".join(foreign) + ", which Windows does not have"
    return True, " ".join(image.imports)


def rule_aslr(image):
    relocations = image.directory("IMAGE_DIRECTORY_ENTRY_BASERELOC").Size
    if not image.flags & DYNAMIC_BASE:
        return False, "not marked DYNAMIC_BASE"
    if image.pe.FILE_HEADER.IMAGE_FILE_RELOCS_STRIPPED or relocations == 0:
        return False, "DYNAMIC_BASE without relocations"
    return True, "DYNAMIC_BASE, %d bytes of relocations" % relocations


def rule_nx(image):
    return bool(image.flags & NX_COMPAT), "NX_COMPAT" if image.flags & NX_COMPAT else "no NX_COMPAT"


def rule_high_entropy(image):
    if not image.wide:
        return None
    aware = image.pe.FILE_HEADER.IMAGE_FILE_LARGE_ADDRESS_AWARE
    high = image.flags & HIGH_ENTROPY_VA
    return bool(aware and high), ("HIGH_ENTROPY_VA" if high else "no HIGH_ENTROPY_VA") + \
        (", large-address aware" if aware else ", not large-address aware")


def rule_base_above_4gb(image):
    if not image.wide:
        return None
    base = image.pe.OPTIONAL_HEADER.ImageBase
    return base >= 1 << 32, "image base 0x%x" % base


def rule_terminal_server(image):
    if image.dll:
        return None
    aware = image.flags & TERMINAL_SERVER_AWARE
    return bool(aware), "TERMINAL_SERVER_AWARE" if aware else "not terminal-server aware"


def seh_registrations(image):
    """Instructions that reach the thread's exception list (fs:[0]): the one way a 32-bit image
    registers a handler of its own."""
    listing = subprocess.run([objdump(image), "-d", image.path], check=True, text=True,
                             capture_output=True, errors="replace").stdout
    return [line.strip() for line in listing.splitlines()
            if re.search(r"%fs:(0x0|0)\b(?!x)", line) and "(" not in line.split("%fs:")[1][:6]]


def rule_safe_seh(image):
    if image.wide:
        return None
    config = getattr(image.pe, "DIRECTORY_ENTRY_LOAD_CONFIG", None)
    if config is not None and getattr(config.struct, "SEHandlerTable", 0):
        return True, "SafeSEH table of %d handlers" % config.struct.SEHandlerCount
    if not image.flags & NO_SEH:
        return False, "neither a SafeSEH table nor NO_SEH"
    registrations = seh_registrations(image)
    if registrations:
        return False, "NO_SEH, yet the code registers handlers: " + "; ".join(registrations[:3])
    return True, "NO_SEH, and no code reaches the exception list"


def rule_no_write_execute(image):
    both = [section_name(s) for s in image.pe.sections
            if s.Characteristics & SCN_WRITE and s.Characteristics & SCN_EXECUTE]
    small = image.pe.OPTIONAL_HEADER.SectionAlignment < 0x1000
    if both:
        return False, "writable and executable: " + " ".join(both)
    if small:
        return False, "sections aligned below a page"
    return True, "no section writable and executable"


def rule_no_shared_writable(image):
    shared = [section_name(s) for s in image.pe.sections
              if s.Characteristics & SCN_WRITE and s.Characteristics & SCN_SHARED]
    return not shared, ("shared and writable: " + " ".join(shared)) if shared else "none shared"


def rule_imports_not_executable(image):
    rva = image.directory("IMAGE_DIRECTORY_ENTRY_IMPORT").VirtualAddress
    section = image.section_of(rva)
    if section is None:
        return False, "no imports section"
    executable = section.Characteristics & SCN_EXECUTE
    return not executable, "%s%s executable" % (section_name(section), "" if executable else " not")


def rule_stack_protector(image):
    # The guard of GCC's stack protector is seeded from the system's random numbers when the
    # image starts; its failure ends the program with this message. Both come with libssp.
    data = open(image.path, "rb").read()
    message = b"*** stack smashing detected ***" in data
    seeded = False
    for entry in getattr(image.pe, "DIRECTORY_ENTRY_IMPORT", []):
        if entry.dll.lower() == b"advapi32.dll":
            seeded = any(i.name == b"CryptGenRandom" for i in entry.imports)
    if message and seeded:
        return True, "libssp linked in, its guard seeded by CryptGenRandom"
    return False, "no stack protector runtime (libssp) in the image"


def rule_fortified(image):
    # Every checked function of libssp fails through the runtime that prints this; without it
    # nothing in the image is checked. Which ones were linked only the linker's map beside the
    # build's image can say: a stripped image names no function.
    link_map = image.path + ".map"
    if not os.path.exists(link_map):
        if b"*** buffer overflow detected ***" not in open(image.path, "rb").read():
            return False, "no libssp in the image: no checked function"
        return None
    members = sorted(set(re.findall(r"libssp\.a\((\w+-chk)\.o\)", open(link_map).read())))
    if not members:
        return False, "no checked function of libssp linked (%s)" % os.path.basename(link_map)
    return True, "checked functions linked: " + " ".join(members)


def signature(image):
    size = image.directory("IMAGE_DIRECTORY_ENTRY_SECURITY").Size
    return (size > 0), ("an Authenticode signature of %d bytes" % size) if size else "unsigned"


def rules_for(image, version):
    """The rules in the order they are reported: (name, result)."""
    level = "highestAvailable" if image.name == "Vuvereze.exe" else "asInvoker"
    rules = [
        ("stripped", rule_stripped(image)),
        ("system DLLs only", rule_system_imports(image)),
        ("manifest: execution level", rule_execution_level(image, level)),
        ("manifest: Windows 7 to 11", rule_supported_os(image)),
        ("version block", rule_version(image, version)),
        ("BA2009 ASLR (dynamic base)", rule_aslr(image)),
        ("BA2016 NX compatible", rule_nx(image)),
        ("BA2015 high-entropy ASLR", rule_high_entropy(image)),
        ("BA2001 image base above 4 GB", rule_base_above_4gb(image)),
        ("terminal-server aware", rule_terminal_server(image)),
        ("BA2018 SafeSEH or no SEH", rule_safe_seh(image)),
        ("BA2021 no writable+executable section", rule_no_write_execute(image)),
        ("BA2019 no shared writable section", rule_no_shared_writable(image)),
        ("BA2010 imports not executable", rule_imports_not_executable(image)),
        ("BA3003 stack protector", rule_stack_protector(image)),
        ("BA3030 fortified functions", rule_fortified(image)),
    ]
    if image.name == "Vuvereze.exe":
        rules.insert(4, ("manifest: DPI-aware, Common Controls 6", rule_desktop_manifest(image)))
        rules.insert(6, ("dialogs and icon", rule_dialogs(image)))
    return rules


def kind_of(image):
    machine = "x86-64" if image.wide else "i386"
    subsystem = image.pe.OPTIONAL_HEADER.Subsystem
    kind = "DLL" if image.dll else {2: "GUI program", 3: "console program"}.get(subsystem, "?")
    return "PE32%s %s %s" % ("+" if image.wide else "", machine, kind)


def basic_problems(image, path):
    """What the file must be before any rule means anything."""
    problems = []
    machine = image.pe.FILE_HEADER.Machine
    if machine not in (0x14c, 0x8664) or (machine == 0x8664) != image.wide:
        problems.append("neither a PE32 for i386 nor a PE32+ for x86-64")
    if path.endswith(".dll") != bool(image.dll):
        problems.append("a .dll that is no DLL" if path.endswith(".dll") else "an .exe that is a DLL")
    if image.name == "Vuvereze.exe" and image.pe.OPTIONAL_HEADER.Subsystem != 2:
        problems.append("not a GUI (WIN32) program")
    if image.name.startswith("vuvereze-") and image.pe.OPTIONAL_HEADER.Subsystem != 3:
        problems.append("not a console program")
    return problems


def report_table(images, results):
    names = [rule for rule, _ in results[0]]
    for other in results[1:]:
        names += [rule for rule, _ in other if rule not in names]
    print("| rule | " + " | ".join(i.name + (" (x64)" if i.wide else "") for i in images) + " |")
    print("|---" * (len(images) + 1) + "|")
    for name in names:
        cells = []
        for rules in results:
            outcome = dict(rules).get(name, None)
            cells.append("n/a" if outcome is None else ("yes" if outcome[0] else "**no**"))
        print("| %s | %s |" % (name, " | ".join(cells)))


def main(arguments):
    version, report, signed = None, False, False
    while arguments and arguments[0].startswith("--"):
        option = arguments.pop(0)
        if option == "--version" and arguments:
            version = arguments.pop(0)
        elif option == "--report":
            report = True
        elif option == "--signed":
            signed = True
        else:
            print("check-pe: unknown option " + option, file=sys.stderr)
            return 2
    if not arguments or version is None:
        print("usage: check-pe.sh [--version VERSION] [--report] [--signed] IMAGE...",
              file=sys.stderr)
        return 2
    images, results, failures = [], [], 0
    for path in arguments:
        image = Image(path)
        problems = basic_problems(image, path)
        rules = rules_for(image, version)
        images.append(image)
        results.append(rules)
        if report:
            continue
        print("check-pe: %s: %d bytes, %s; imports %s" % (
            path, os.path.getsize(path), kind_of(image), " ".join(image.imports)))
        for problem in problems:
            print("check-pe: %s: %s" % (path, problem), file=sys.stderr)
            failures += 1
        for name, outcome in rules:
            if outcome is None:
                continue
            passed, seen = outcome
            if not passed:
                print("check-pe: %s: fails %s: %s" % (path, name, seen), file=sys.stderr)
                failures += 1
        has, seen = signature(image)
        if signed and not has:
            print("check-pe: %s: %s" % (path, seen), file=sys.stderr)
            failures += 1
    if report:
        report_table(images, results)
        return 0
    print("check-pe: what a mingw-w64 build cannot give:")
    for rule, why in NOT_MET:
        print("  %s: %s" % (rule, why))
    if failures:
        print("check-pe: %d problems" % failures, file=sys.stderr)
        return 1
    print("check-pe: ok: " + " ".join(arguments))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
