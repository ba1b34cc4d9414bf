"""The program as a screen reader meets it, through the real accessibility bus.

Usage: python3 atspi_test.py PROGRAM [--survey]

Starts the Qt program on a desktop of its own (session.py) with a new virtual system and, driven
only through AT-SPI (pyatspi), lists every control that the main window, the timing editor, the
"Standard..." window, the About box and the signal window show, with role, name and description,
and fails on a control without a name or two that read alike. On the way it does what a user
does without a mouse: Lock; a built-in format switched off (its row's check box, which only
Space ticks: keys typed through AT-SPI); Add; "Standard..." with the timing the card measures,
its row selected; the frame rate set as text; Test; OK; Apply; then the table file written at
the end is checked.
With --survey it reports the counts and every unnamed control but does not fail on them.
"""

import os
import signal
import struct
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from session import Session, SessionError, poll  # noqa: E402

RECORD = 124


def read_table(path):
    with open(path, "rb") as table:
        data = table.read()
    builtin = struct.unpack_from("<H", data, 0)[0]
    records = []
    for offset in range(2, len(data) - RECORD + 1, RECORD):
        enabled, = struct.unpack_from("<I", data, offset + 20)
        rate, = struct.unpack_from("<H", data, offset + 28)
        width, height = struct.unpack_from("<HH", data, offset + 36)
        records.append({"enabled": enabled, "rate": rate, "size": (width, height)})
    return builtin, records


class Test:
    def __init__(self, survey):
        self.survey_only = survey
        self.problems = []
        self.counts = []

    def log(self, text):
        print(text, flush=True)

    def check(self, ok, what):
        self.log(("ok   " if ok else "FAIL ") + what)
        if not ok:
            self.problems.append(what)

    def survey(self, c, window, label):
        shown, named, problems = c.survey(window, self.log)
        self.counts.append((label, shown, named))
        if self.survey_only:
            for problem in problems:
                self.log("     " + problem)
        else:
            self.problems.extend(problems)

    def run(self, session):
        import controls as c  # the buses are set now

        name = os.path.basename(session.program)
        app = c.poll("the program on the accessibility bus", lambda: c.application(name), 60)
        main = c.wait_window(app, "the main window", lambda w: w.name == "Zeriveve")
        self.survey(c, main, "main window, unlocked")
        if self.survey_only:
            self.run_survey(c, app, main)
            return

        self.lock(c, main)

        # A built-in format off: the user tabs from the box above the list into it, goes to
        # its first row and ticks the row's box with Space.
        supported = c.find_starting(main, "table", "Supported Resolutions")
        before = c.row_checked(supported, 0)
        c.focus(c.find_described(main, "check box", "Supported Resolutions"))
        c.key("tab")
        c.poll("the focus on the supported list", lambda: c.focused(supported), 30)
        c.key("down")
        c.poll("row 0 of the supported list to be selected",
               lambda: c.fresh(supported).queryTable().isRowSelected(0), 30)
        c.key("space")
        c.poll("row 0 of the supported list to be switched off",
               lambda: c.row_checked(supported, 0) != before, 30)
        self.check(before and not c.row_checked(supported, 0),
                   "Space switched the first supported format off")

        editor = self.open_editor(c, app, main)

        standard = self.open_standard(c, app, editor)
        timings = c.find(standard, "table", "Standard timings")
        c.poll("a timing in the list", lambda: c.fresh(timings).queryTable().nRows > 0, 30)
        c.select_row(timings, 0)
        ok = c.find(standard, "push button", "OK")
        c.poll("OK to be enabled by the selected row", lambda: c.sensitive(ok), 30)
        c.press(ok)
        c.poll("the Standard window to close", lambda: not c.showing(standard), 30)

        width = c.find(editor, "text", "Active Pixel: Horizontal")
        height = c.find(editor, "text", "Active Pixel: Vertical")
        size = (int(c.text_of(width)), int(c.text_of(height)))
        self.log("     the standard's timing is %dx%d" % size)
        rate = c.find(editor, "text", "Frame Rate:")
        c.set_text(rate, "60")
        c.poll("the frame rate to read 60", lambda: c.text_of(rate) == "60", 30)

        test_file = session.table("testformat.bin")
        c.press(c.find(editor, "push button", "Test"))
        c.poll("the timing test to write testformat.bin", lambda: os.path.exists(test_file), 60)
        c.press(c.find(editor, "push button", "OK"))
        c.poll("the editor to close", lambda: not c.showing(editor), 60)
        table = session.table()
        stamp = os.stat(table).st_mtime_ns
        c.press(c.find(main, "push button", "Apply"))
        c.poll("Apply to write format.bin", lambda: os.stat(table).st_mtime_ns != stamp, 60)

        builtin, records = read_table(table)
        added = records[-1]
        self.check(len(records) > builtin and added["size"] == size and added["rate"] == 6000
                   and added["enabled"] == 1,
                   "format.bin ends with the added format %dx%d at 60.00, switched on" % size)
        self.check(builtin > 0 and records[0]["enabled"] == 0,
                   "format.bin has the first built-in format switched off")

        self.about_box(c, app, main)
        self.signal_window(c, app, main)

        c.press(c.find(main, "push button", "OK"))
        poll("the program to end", lambda: session.program_exit() is not None, 60)
        self.check(session.program_exit() == 0, "OK ends the program with exit 0")

    def lock(self, c, main):
        c.press(c.find(main, "push button", "Lock"))
        c.poll("the window to be locked",
               lambda: c.find(main, "push button", "UnLock", required=False), 60)
        self.survey(c, main, "main window, locked")

    def open_editor(self, c, app, main):
        c.press(c.find(main, "push button", "Add"))
        editor = c.wait_window(app, "the timing editor", c.has_control("push button", "Test"))
        self.survey(c, editor, "timing editor")
        return editor

    def open_standard(self, c, app, editor):
        c.press(c.find(editor, "push button", "Standard..."))
        standard = c.wait_window(app, "the Standard window",
                                 c.has_control("push button", "Show"))
        self.survey(c, standard, "Standard window")
        return standard

    def about_box(self, c, app, main):
        about = self.open_about(c, app, main)
        title = about.name
        self.survey(c, about, "About box")
        c.press(c.find(about, "push button", "確定"))
        # Gone, not only hidden: a press on a window under a modal one is ignored.
        c.poll("the About box to close",
               lambda: all(w.name != title for w in c.children(app)), 30)

    def open_about(self, c, app, main):
        self.help_item(c, main, "關於")
        return c.wait_window(app, "the About box", c.has_control("push button", "確定"))

    def signal_window(self, c, app, main):
        self.help_item(c, main, "Input")
        window = c.wait_window(app, "the signal window",
                               c.has_control("push button", "Add Format..."))
        # Its figures come with the first reads of the card.
        c.poll("the signal window's first figures",
               lambda: c.text_of(c.find(window, "text", "Detected size:")) != "", 30)
        self.survey(c, window, "signal window")
        c.press(c.find(window, "push button", "Close"))
        c.poll("the signal window to close", lambda: not c.showing(window), 30)

    def help_item(self, c, main, prefix):
        """The Help menu of the menu bar, and its item, as a reader opens them."""
        help_menu = c.find(main, "menu item", "Help")
        c.do_action(help_menu, "showmenu", "press", "click")

        def item():
            for menu in c.children(help_menu):
                for entry in c.children(menu):
                    if (entry.name or "").startswith(prefix) and c.showing(entry):
                        return entry
            return None
        c.do_action(c.poll("the Help menu's item " + prefix, item, 30), "press", "click",
                    "toggle")

    def run_survey(self, c, app, main):
        """Only the windows, each reached by its buttons, for a program whose controls may not
        be named enough to do the rest."""
        self.lock(c, main)
        editor = self.open_editor(c, app, main)
        standard = self.open_standard(c, app, editor)
        c.press(c.find(standard, "push button", "Cancel"))
        c.poll("the Standard window to close", lambda: not c.showing(standard), 30)
        c.press(c.find(editor, "push button", "Cancel"))
        c.poll("the editor to close", lambda: not c.showing(editor), 60)
        self.about_box(c, app, main)
        self.signal_window(c, app, main)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    if len(args) != 1:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    test = Test("--survey" in sys.argv)
    session = Session(os.path.abspath(args[0]))
    # A test stopped from outside still takes its desktop down with it.
    for stop in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(stop, lambda number, frame: sys.exit(128 + number))
    started = time.monotonic()
    try:
        session.start()
        test.run(session)
    except Exception as error:  # pyatspi's own errors too: each is a failure of the story
        what = str(error) if isinstance(error, SessionError) else repr(error)
        test.problems.append(what)
        test.log("FAIL " + what)
        output = session.program_output()
        if output:
            test.log("the program said:\n" + output)
    finally:
        session.stop()
    test.log("shown controls and named ones, per window:")
    for label, shown, named in test.counts:
        test.log("    %-24s %2d shown, %2d named" % (label, shown, named))
    test.log("%s after %.1f s" % ("FAIL" if test.problems else "PASS",
                                  time.monotonic() - started))
    return 1 if test.problems else 0


if __name__ == "__main__":
    sys.exit(main())
