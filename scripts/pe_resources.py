"""The resources check-pe.py reads from an image: its manifest (the execution level, the
supported systems, the desktop program's promises), its version block and the exe's dialogs."""

import xml.etree.ElementTree as ElementTree

# The systems the programs are made for: Windows 7, 8, 8.1, and 10 (which 11 reports too).
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}

def read_manifest(image):
    # An exe's manifest is resource 1 of RT_MANIFEST (24); a DLL's own is resource 2.
    wanted = 2 if image.dll else 1
    for number, data in image.resources(24):
        if number == wanted:
            return ElementTree.fromstring(data)
    return None


def local(tag):
    return tag.rsplit("}", 1)[-1]


def rule_execution_level(image, expected_level):
    manifest = read_manifest(image)
    if manifest is None:
        return False, "no manifest (RT_MANIFEST %d)" % (2 if image.dll else 1)
    levels = [e for e in manifest.iter() if local(e.tag) == "requestedExecutionLevel"]
    if image.dll:
        # A DLL cannot choose its process's privileges: a level there would only mislead.
        if levels:
            return False, "a DLL's manifest that names an execution level"
        return True, "a manifest of its own, the level left to the process"
    if len(levels) != 1:
        return False, "%d execution levels" % len(levels)
    level, ui_access = levels[0].get("level"), levels[0].get("uiAccess")
    if level != expected_level:
        return False, "level %s, not %s" % (level, expected_level)
    if ui_access != "false":
        return False, 'uiAccess is %s, not "false"' % ui_access
    return True, "level " + level


def rule_supported_os(image):
    manifest = read_manifest(image)
    if manifest is None:
        return False, "no manifest"
    systems = {e.get("Id", "").lower() for e in manifest.iter() if local(e.tag) == "supportedOS"}
    missing = [name for guid, name in SUPPORTED_OS.items() if guid not in systems]
    if missing:
        return False, "no supportedOS for " + ", ".join(missing)
    return True, ", ".join(SUPPORTED_OS.values())


def rule_desktop_manifest(image):
    """The desktop program's further promises: DPI-aware, Common Controls 6."""
    manifest = read_manifest(image)
    if manifest is None:
        return False, "no manifest"
    aware = [e.text for e in manifest.iter() if local(e.tag) == "dpiAware"]
    controls = [e for e in manifest.iter() if local(e.tag) == "assemblyIdentity"
                and e.get("name") == "Microsoft.Windows.Common-Controls"
                and e.get("version") == "6.0.0.0"]
    if aware != ["true"] or not controls:
        return False, "dpiAware %s, Common Controls 6 %s" % (aware, "yes" if controls else "no")
    return True, "DPI-aware, Common Controls 6"


def version_strings(image):
    values, translations = {}, []
    for info in getattr(image.pe, "FileInfo", None) or []:
        for block in info:
            for table in getattr(block, "StringTable", []):
                for key, value in table.entries.items():
                    values[key.decode()] = value.decode()
            for var in getattr(block, "Var", []):
                translations += [v.decode() if isinstance(v, bytes) else v
                                 for v in var.entry.values()]
    fixed = image.pe.VS_FIXEDFILEINFO[0] if getattr(image.pe, "VS_FIXEDFILEINFO", None) else None
    return values, translations, fixed


def rule_version(image, version):
    values, translations, fixed = version_strings(image)
    if fixed is None:
        return False, "no version resource"
    fields = "%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xffff,
                              fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xffff)
    wanted = {"FileVersion": version, "ProductVersion": version, "ProductName": "Vuvereze",
              "OriginalFilename": image.name, "InternalName": image.name}
    if image.name == "Vuvereze.exe":
        wanted["FileDescription"] = "Vuvereze"
    problems = ["%s is %r, not %r" % (key, values.get(key), value)
                for key, value in wanted.items() if values.get(key) != value]
    if fields != version:
        problems.append("the fixed file version is " + fields)
    if image.name == "Vuvereze.exe" and "0x0404 0x04b0" not in translations:
        problems.append("no translation 0x404, 1200")
    if problems:
        return False, "; ".join(problems)
    return True, "%s, %s" % (version, values.get("FileDescription"))


def rule_dialogs(image):
    dialogs = {number for number, _ in image.resources(5)}
    icons = {number for number, _ in image.resources(14)}
    missing = [str(d) for d in (100, 102, 129, 130) if d not in dialogs]
    if 128 not in icons:
        missing.append("icon group 128")
    return not missing, ("missing " + " ".join(missing)) if missing else "dialogs and icon"
