#!/usr/bin/env python3
"""make-msi.py --version VERSION --out FILE.msi FOLDER: the Windows Installer package of the
files in FOLDER (the Windows download's folder), built with Debian's wixl. Per machine under
Program Files, a Start-menu shortcut to the program, an uninstall entry with the version, and a
later version replaces an earlier one. Two runs on the same files and SOURCE_DATE_EPOCH give the
same bytes: every identifier is derived, and the package's dates are the commit's."""

import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import uuid
from xml.sax.saxutils import quoteattr

# The one identity of the product across all its versions: an installed Vuvereze of any
# version is found, and replaced, by this code.
UPGRADE_CODE = "{5CAAA4BC-A2D8-4818-BF78-1B7576CE6B14}"
# The space the other identifiers are derived in.
NAMESPACE = uuid.UUID("994119cc-0e39-49f6-8bd4-4a7de240df62")
MANUFACTURER = "Vuvereze developers"
PROGRAM = "Vuvereze.exe"
SHORTCUT = "Zeriveve"  # the name the window and the Linux menu give the program
DOWNGRADE = "A later version of Vuvereze is already installed."

# The Upgrade table's attributes: features migrated, and the upper bound included. Windows
# Installer compares only the first three fields of a version, so 1.0.0.6 finds 1.0.0.5 "equal":
# with the bound excluded (all wixl can write) both would stay installed side by side.
MIGRATE_FEATURES = 0x001
VERSION_MAX_INCLUSIVE = 0x200


def guid(text):
    return "{%s}" % str(uuid.uuid5(NAMESPACE, text)).upper()


def identifier(prefix, path):
    return prefix + re.sub(r"[^A-Za-z0-9_.]", "_", path)


def files_of(folder):
    found = []
    for root, dirs, names in os.walk(folder):
        dirs.sort()
        for name in sorted(names):
            found.append(os.path.relpath(os.path.join(root, name), folder).replace(os.sep, "/"))
    return sorted(found)


def contents_digest(folder, files):
    digest = hashlib.sha256()
    for path in files:
        with open(os.path.join(folder, path), "rb") as data:
            digest.update(path.encode() + b"\0" + hashlib.sha256(data.read()).digest())
    return digest.hexdigest()


def directory_tree(files):
    """{folder: [files]} and the folders in the order they nest."""
    tree = {"": []}
    for path in files:
        folder = os.path.dirname(path)
        parts = folder.split("/") if folder else []
        for depth in range(1, len(parts) + 1):
            tree.setdefault("/".join(parts[:depth]), [])
        tree[folder].append(path)
    return tree


def component(path, source, indent):
    # A component per file, its code derived from the path it installs to: the same file in
    # the same place keeps its code from one version to the next, as Windows Installer wants.
    name = os.path.basename(path)
    file_id = identifier("f_", path)
    shortcut = ""
    if path == PROGRAM:
        # Not advertised: a plain link to the installed program, with its own icon.
        shortcut = ('%s  <Shortcut Id="ProgramMenuShortcut" Directory="ProgramMenuFolder" '
                    'Name=%s Target="[#%s]" WorkingDirectory="INSTALLDIR"/>\n' % (
                        indent, quoteattr(SHORTCUT), file_id))
    return ('%s<Component Id=%s Guid="%s">\n'
            '%s  <File Id=%s Name=%s Source=%s KeyPath="yes"/>\n'
            '%s'
            '%s</Component>\n') % (
        indent, quoteattr(identifier("c_", path)), guid("component " + path),
        indent, quoteattr(file_id), quoteattr(name), quoteattr(source), shortcut, indent)


def folder_xml(tree, folder, indent):
    out = ""
    for path in tree[folder]:
        out += component(path, path, indent)
    children = sorted(f for f in tree if f and os.path.dirname(f) == folder)
    for child in children:
        out += '%s<Directory Id=%s Name=%s>\n' % (
            indent, quoteattr(identifier("d_", child)), quoteattr(os.path.basename(child)))
        out += folder_xml(tree, child, indent + "  ")
        out += "%s</Directory>\n" % indent
    return out


def wxs(version, files):
    tree = directory_tree(files)
    references = "".join('      <ComponentRef Id=%s/>\n' % quoteattr(identifier("c_", path))
                         for path in files)
    return """<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="%(product)s" Name="Vuvereze" Language="1033" Version="%(version)s"
           Manufacturer=%(manufacturer)s UpgradeCode="%(upgrade)s">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"
             Description="Vuvereze %(version)s" Manufacturer=%(manufacturer)s/>
    <MajorUpgrade DowngradeErrorMessage=%(downgrade)s/>
    <Media Id="1" Cabinet="vuvereze.cab" EmbedCab="yes"/>
    <Icon Id="Vuvereze.exe" SourceFile=%(program)s/>
    <Property Id="ARPPRODUCTICON" Value="Vuvereze.exe"/>
    <Property Id="ARPNOMODIFY" Value="1"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="INSTALLDIR" Name="Vuvereze">
%(folders)s        </Directory>
      </Directory>
      <Directory Id="ProgramMenuFolder"/>
    </Directory>
    <Feature Id="Vuvereze" Title="Vuvereze" Level="1">
%(references)s    </Feature>
  </Product>
</Wix>
""" % {
        "product": guid("product " + version), "version": version,
        "manufacturer": quoteattr(MANUFACTURER), "upgrade": UPGRADE_CODE,
        "downgrade": quoteattr(DOWNGRADE), "program": quoteattr(PROGRAM),
        "folders": folder_xml(tree, "", "          "), "references": references,
    }


def frozen_clock():
    """wixl dates the package with the clock: it runs at the commit's time, stopped."""
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
    return ["faketime", time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(epoch))]


def run(command, **options):
    result = subprocess.run(command, text=True, capture_output=True, **options)
    # wixl goes on past an attribute or an element it does not know, with a warning only: a
    # package that silently lacks a part of its description is not one to ship.
    noise = [line for line in result.stderr.splitlines()
             if re.search(r"WARNING|CRITICAL|ERROR|error", line)]
    if result.returncode != 0 or noise:
        sys.stderr.write(result.stderr)
        raise SystemExit("make-msi: %s failed" % command[0 if command[0] != "faketime" else 2])
    return result.stdout


def include_upper_bound(msi, work):
    """The upgrade of an earlier version includes the version itself, see above."""
    dump = os.path.join(work, "tables")
    os.makedirs(dump)
    # (It writes the binary columns, the icon, below the current folder, whatever -d says.)
    run(["msidump", "-d", dump, msi], cwd=work)
    path = os.path.join(dump, "Upgrade.idt")
    lines = open(path, newline="").read().split("\r\n")
    changed = 0
    for i, line in enumerate(lines[3:], start=3):
        fields = line.split("\t")
        if len(fields) == 7 and fields[6] == "WIX_UPGRADE_DETECTED":
            fields[4] = str(int(fields[4]) | MIGRATE_FEATURES | VERSION_MAX_INCLUSIVE)
            lines[i] = "\t".join(fields)
            changed += 1
    if changed != 1:
        raise SystemExit("make-msi: no upgrade row in the Upgrade table wixl wrote")
    open(path, "w", newline="").write("\r\n".join(lines))
    run(frozen_clock() + ["msibuild", msi, "-i", path])


def main(arguments):
    version = out = None
    while arguments and arguments[0].startswith("--"):
        option = arguments.pop(0)
        if option == "--version" and arguments:
            version = arguments.pop(0)
        elif option == "--out" and arguments:
            out = arguments.pop(0)
        else:
            raise SystemExit("make-msi: unknown option " + option)
    if version is None or out is None or len(arguments) != 1:
        raise SystemExit("usage: make-msi.py --version VERSION --out FILE.msi FOLDER")
    stage = os.path.abspath(arguments[0])
    files = files_of(stage)
    if PROGRAM not in files:
        raise SystemExit("make-msi: %s holds no %s" % (stage, PROGRAM))
    out = os.path.abspath(out)
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "Vuvereze.wxs")
        with open(source, "w") as text:
            text.write(wxs(version, files))
        temporary = os.path.join(work, "package.msi")
        # wixl takes the files' names relative to the folder it runs in.
        run(frozen_clock() + ["wixl", "--arch", "x86", "-o", temporary, source], cwd=stage,
            env=dict(os.environ, TZ="UTC"))
        include_upper_bound(temporary, work)
        # The package code names these very bytes: it follows from what the package holds.
        package = guid("package %s %s" % (version, contents_digest(stage, files)))
        run(frozen_clock() + ["msibuild", temporary, "-s", "Vuvereze", MANUFACTURER,
                              "Intel;1033", package], env=dict(os.environ, TZ="UTC"))
        shutil.move(temporary, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
