"""Two programs on one table, as real processes: the Qt program and the device command.

Usage: python3 two_programs_test.py PROGRAM DEVICE_COMMAND

Starts the Qt program on a desktop of its own (session.py) with a new virtual system and locks
it through AT-SPI. Then the device command, run as a roll-out runs it, puts another table in
place of "format.bin" on the same system. Apply in the program must ask before it writes: the
question's No keeps the roll-out byte for byte; a second Apply asks again, and Yes puts the
window's table back. OK then ends the program, since the file is now the window's own.
"""

import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from session import Session, SessionError, poll  # noqa: E402

QUESTION = "Another program has changed the format file since Lock!"


def read(path):
    with open(path, "rb") as table:
        return table.read()


def labels(c, accessible, depth=0):
    """Every text a window shows, however deep its labels sit."""
    texts = []
    for child in c.children(accessible):
        if child.getRoleName() == "label":
            texts.append(child.name or "")
        if depth < 4:
            texts.extend(labels(c, child, depth + 1))
    return texts


def button(c, box, name, depth=0):
    """A button of a message box, which keeps its buttons in a box of their own."""
    for child in c.children(box):
        if child.getRoleName() == "push button" and (child.name or "").replace("&", "") == name:
            return child
        if depth < 4:
            found = button(c, child, name, depth + 1)
            if found is not None:
                return found
    if depth == 0:
        raise SessionError("the question shows no button %r" % name)
    return None


class Test:
    def __init__(self):
        self.problems = []

    def check(self, ok, what):
        print(("ok   " if ok else "FAIL ") + what, flush=True)
        if not ok:
            self.problems.append(what)

    def question(self, c, app):
        return c.wait_window(app, "the program's question",
                             lambda w: any(QUESTION in t for t in labels(c, w)))

    def run(self, session, device_command):
        import controls as c  # the buses are set now

        app = c.poll("the program on the accessibility bus",
                     lambda: c.application(os.path.basename(session.program)), 60)
        main = c.wait_window(app, "the main window", lambda w: w.name == "Zeriveve")
        c.press(c.find(main, "push button", "Lock"))
        c.poll("the window to be locked",
               lambda: c.find(main, "push button", "UnLock", required=False), 60)

        installed = session.table()
        ours = read(installed)
        # The roll-out: the same table with its first format switched the other way.
        theirs = bytearray(ours)
        theirs[2 + 20] ^= 1
        rollout = os.path.join(session.work, "rollout.bin")
        with open(rollout, "wb") as table:
            table.write(theirs)
        command = [device_command, "--system", session.system]
        devices = subprocess.run(command + ["devices"], stdout=subprocess.PIPE, check=True,
                                 env=session.env, text=True).stdout.split("\n")
        applied = subprocess.run(command + ["apply", devices[0], rollout], env=session.env,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        print("     " + applied.stdout.strip(), flush=True)
        self.check(applied.returncode == 0 and read(installed) == bytes(theirs),
                   "the device command put the roll-out in place")

        c.press(c.find(main, "push button", "Apply"))
        box = self.question(c, app)
        self.check(True, "Apply asks: " + QUESTION)
        c.press(button(c, box, "No"))
        c.poll("the question to close", lambda: not c.showing(box), 30)
        self.check(read(installed) == bytes(theirs), "No keeps the roll-out, byte for byte")
        self.check(c.find(main, "push button", "UnLock", required=False) is not None,
                   "and the window stays locked")

        c.press(c.find(main, "push button", "Apply"))
        box = self.question(c, app)
        self.check(True, "a second Apply asks again")
        c.press(button(c, box, "Yes"))
        c.poll("Yes to write the window's table", lambda: read(installed) == ours, 30)
        self.check(read(installed) == ours, "Yes writes the window's table")

        c.press(c.find(main, "push button", "OK"))
        poll("the program to end", lambda: session.program_exit() is not None, 60)
        self.check(session.program_exit() == 0 and read(installed) == ours,
                   "OK writes its own table again without asking and ends the program")


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    test = Test()
    session = Session(os.path.abspath(sys.argv[1]))
    for stop in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(stop, lambda number, frame: sys.exit(128 + number))
    started = time.monotonic()
    try:
        session.start()
        test.run(session, os.path.abspath(sys.argv[2]))
    except Exception as error:  # pyatspi's own errors too: each is a failure of the story
        what = str(error) if isinstance(error, SessionError) else repr(error)
        test.problems.append(what)
        print("FAIL " + what, flush=True)
        output = session.program_output()
        if output:
            print("the program said:\n" + output, flush=True)
    finally:
        session.stop()
    print("%s after %.1f s" % ("FAIL" if test.problems else "PASS", time.monotonic() - started))
    return 1 if test.problems else 0


if __name__ == "__main__":
    sys.exit(main())
