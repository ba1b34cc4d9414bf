#!/usr/bin/env python3
"""Checks every #include of the tree against the "May include" line of its folder's README.

A source file is governed by the nearest README.md above it that has a "May include" line; files
with no such README above them (the tests, the benchmarks) are not checked. The line is the
paragraph that begins with "May include", read as the team writes it: its first sentence names
what may be included, in words ("the standard library", "Qt", "the Windows headers", "the
operating system's headers", "nlohmann-json", "anything") and as backticked product paths
(`ui/`, `platform/Platform.h`); what follows it ("Never ...", "Nothing of ...") explains and is
not read. Every file may include the standard library and its own folder's files, and test files
their test framework.

Usage: check_layers.py ROOT. Prints one line per forbidden include, "file:line: ...", and exits 1
if there is any; 0 when the tree keeps its layers. check_layers.py --planted builds a small tree
with includes its READMEs forbid (and some they allow) and checks that exactly those are named.
"""

import os
import re
import sys
import tempfile

SKIP_DIRS = {".git", "build", "third_party", "node_modules"}
SOURCE_EXTS = (".cpp", ".h", ".hpp", ".cc")

# The C++ standard library, with the C headers it carries (<cstdio>, not <stdio.h>).
STD_HEADERS = set("""
algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat charconv chrono
cinttypes climits clocale cmath codecvt compare complex concepts condition_variable coroutine
csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype deque
exception execution expected filesystem format forward_list fstream functional future
initializer_list iomanip ios iosfwd iostream istream iterator latch limits list locale map memory
memory_resource mutex new numbers numeric optional ostream queue random ranges ratio regex
scoped_allocator semaphore set shared_mutex source_location span sstream stack stdexcept
stop_token streambuf string string_view syncstream system_error thread tuple type_traits
typeindex typeinfo unordered_map unordered_set utility valarray variant vector version
""".split())

TEST_FRAMEWORKS = ("gtest/", "gmock/", "benchmark/")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def first_sentence(paragraph):
    """The text up to the first full stop that ends a sentence; dots inside `...` do not."""
    in_code = False
    for i, ch in enumerate(paragraph):
        if ch == "`":
            in_code = not in_code
        elif ch == "." and not in_code:
            rest = paragraph[i + 1:]
            if not rest.strip() or re.match(r"\s+[A-Z]", rest):
                return paragraph[:i]
    return paragraph


class Rule:
    def __init__(self, folder, readme, text):
        self.folder = folder  # relative to the root, "" for the root
        self.readme = readme
        self.text = " ".join(text.split())
        words = self.text.lower()
        self.anything = "anything" in words
        self.qt = re.search(r"\bQt\b", self.text) is not None
        self.json = "nlohmann" in words
        self.os = ("windows" in words and "header" in words) or "operating system" in words
        # "files in `posix/` and `win32/` also the operating system's headers": only there.
        scoped = re.search(r"files in (.*?) also the operating system", self.text)
        self.os_folders = None
        if scoped:
            self.os_folders = [self.join(t) for t in re.findall(r"`([^`]+)`", scoped.group(1))]
        self.paths = []
        for token in re.findall(r"`([^`]+)`", self.text):
            if "/" in token or token.endswith((".h", ".hpp")):
                self.paths.append(token)

    def join(self, token):
        return token if not self.folder else self.folder + "/" + token

    def allows_product(self, target, source):
        if os.path.dirname(target) == "" or target.startswith(self.folder + "/"):
            return True  # its own folder
        for token in self.paths:
            for path in (token, self.join(token)):
                if path.endswith("/") and target.startswith(path):
                    return True
                if target == path:
                    return True
        return False

    def allows_system(self, target, source):
        if target in STD_HEADERS:
            return True
        if target.startswith(TEST_FRAMEWORKS):
            return "tests" in source.split("/")
        if target.startswith("nlohmann/"):
            return self.json
        if re.match(r"Q[A-Za-z]*$", target) or target.startswith("Qt"):
            return self.qt
        if not self.os:
            return False
        if self.os_folders is None:
            return True
        return any(source.startswith(f) for f in self.os_folders)


def read_rule(root, folder):
    readme = os.path.join(root, folder, "README.md")
    if not os.path.isfile(readme):
        return None
    with open(readme, encoding="utf-8") as f:
        paragraphs = f.read().split("\n\n")
    for paragraph in paragraphs:
        # The rule is a paragraph of its own; a text that only speaks of such lines is not one.
        paragraph = paragraph.strip()
        if paragraph.startswith("May include"):
            return Rule(folder, os.path.relpath(readme, root), first_sentence(paragraph))
    return None


def governing_rule(root, folder, cache):
    if folder not in cache:
        rule = read_rule(root, folder)
        if rule is None and folder:
            rule = governing_rule(root, os.path.dirname(folder), cache)
        cache[folder] = rule
    return cache[folder]


def check(root):
    cache = {}
    faults = []
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames[:] = sorted(d for d in dirnames if d not in SKIP_DIRS)
        folder = os.path.relpath(dirpath, root)
        folder = "" if folder == "." else folder.replace(os.sep, "/")
        rule = governing_rule(root, folder, cache)
        if rule is None or rule.anything or not rule.folder:
            continue
        for name in sorted(filenames):
            if not name.endswith(SOURCE_EXTS):
                continue
            source = (folder + "/" if folder else "") + name
            with open(os.path.join(dirpath, name), encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    quoted, target = m.group(1) == '"', m.group(2)
                    ok = (rule.allows_product(target, source) if quoted else
                          rule.allows_system(target, source))
                    if not ok:
                        shown = f'"{target}"' if quoted else f"<{target}>"
                        faults.append(f"{source}:{number}: #include {shown} is not allowed by "
                                      f"{rule.readme} ({rule.text})")
    return faults


PLANTED = {
    "README.md": "# a product\n\nNo rule here.\n",
    "lower/README.md": "# lower\n\nMay include: the standard library and `base/Base.h`. Never "
                       "`upper/`.\n",
    "lower/Lower.cpp": '#include "lower/Lower.h"\n#include <vector>\n#include "upper/Upper.h"\n'
                       '#include "base/Base.h"\n#include "base/Other.h"\n#include <windows.h>\n',
    "lower/deeper/Deep.cpp": '#include "lower/Lower.h"\n#include <QWidget>\n',
    "lower/tests/LowerTest.cpp": '#include <gtest/gtest.h>\n',
    "upper/README.md": "# upper\n\nMay include: Qt, `lower/` and `base/`. Nothing of `os/`.\n",
    "upper/Upper.cpp": '#include <QWidget>\n#include "lower/deeper/Deep.h"\n#include "os/Os.h"\n'
                       '#include <gtest/gtest.h>\n',
    "os/README.md": "# os\n\nMay include: the standard library; files in `posix/` also the "
                    "operating system's headers (`unistd.h` first).\n",
    "os/posix/Files.cpp": "#include <unistd.h>\n",
    "os/Common.cpp": "#include <unistd.h>\n",
    "tools/README.md": "# tools\n\nMay include anything of the product.\n",
    "tools/Tool.cpp": '#include "upper/Upper.h"\n#include <windows.h>\n',
}
PLANTED_FAULTS = [
    "lower/Lower.cpp:3", "lower/Lower.cpp:5", "lower/Lower.cpp:6", "lower/deeper/Deep.cpp:2",
    "os/Common.cpp:1", "upper/Upper.cpp:3", "upper/Upper.cpp:4",
]


def planted():
    with tempfile.TemporaryDirectory() as root:
        for path, text in PLANTED.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        faults = check(root)
    named = [f.split(": ", 1)[0] for f in faults]
    for fault in faults:
        print(fault)
    if named != PLANTED_FAULTS:
        print(f"expected the planted includes {PLANTED_FAULTS}, got {named}", file=sys.stderr)
        return 1
    print(f"the {len(named)} planted includes are named, and nothing else")
    return 0


def main():
    if sys.argv[1:] == ["--planted"]:
        return planted()
    if len(sys.argv) != 2:
        print("usage: check_layers.py ROOT", file=sys.stderr)
        return 2
    faults = check(sys.argv[1])
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) break the layers", file=sys.stderr)
        return 1
    print("every include keeps to its folder's README")
    return 0


if __name__ == "__main__":
    sys.exit(main())
