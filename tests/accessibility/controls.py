"""What a screen reader finds of the program's windows over AT-SPI, read and worked through
pyatspi alone: the windows, every control each shows with its role, name and description, and
the interfaces a reader uses (press, set text, select a row).

Imported once the session's buses are set, since pyatspi connects to them as it loads.
"""

import pyatspi
from gi.repository import Atspi

from session import SessionError, poll

# What is read as text, not worked: a name is not asked of these. A menu bar is a row of the
# controls that are its menus.
TEXT_ROLES = {"label", "static", "panel", "grouping", "filler", "image", "icon", "separator",
              "tool tip", "status bar", "heading"}
CONTAINER_ROLES = {"menu bar"}


def fresh(accessible):
    """Read from the program itself, not from what the client cached before."""
    try:
        accessible.clear_cache()
    except (AttributeError, Exception):
        pass
    return accessible


def children(accessible):
    fresh(accessible)
    return [c for c in accessible if c is not None]


def showing(accessible):
    return fresh(accessible).getState().contains(pyatspi.STATE_SHOWING)


def sensitive(accessible):
    state = fresh(accessible).getState()
    return state.contains(pyatspi.STATE_SENSITIVE) and state.contains(pyatspi.STATE_ENABLED)


def application(name):
    for app in children(pyatspi.Registry.getDesktop(0)):
        try:
            if app.name == name:
                # Every read goes to the program: the windows change under the client.
                Atspi.Accessible.set_cache_mask(app, Atspi.Cache.NONE)
                return app
        except Exception:
            continue
    return None


def windows(app):
    return [w for w in children(app) if showing(w)]


def wait_window(app, what, check, timeout=60):
    def found():
        for window in windows(app):
            if check(window):
                return window
        return None
    return poll(what, found, timeout)


def has_control(role, name):
    return lambda window: find(window, role, name, required=False) is not None


def shown_controls(window):
    """Every control a window shows, in its order: its children that a user works, and the
    menus of its menu bar."""
    found = []
    for child in children(window):
        if not showing(child):
            continue
        role = child.getRoleName()
        if role in CONTAINER_ROLES:
            found.extend(c for c in children(child) if showing(c))
        elif role not in TEXT_ROLES:
            found.append(child)
    return found


def read_only(control):
    return fresh(control).getState().contains(pyatspi.STATE_READ_ONLY)


def editable(control):
    return fresh(control).getState().contains(pyatspi.STATE_EDITABLE)


def describe(control):
    return "%s %r%s%s" % (control.getRoleName(), control.name or "",
                          " (%s)" % control.description if control.description else "",
                          " read only" if read_only(control) else "")


def survey(window, log):
    """Lists the window's shown controls; returns (shown, named, problems)."""
    controls = shown_controls(window)
    named = [c for c in controls if (c.name or "").strip()]
    log("window %r (%s): %d controls shown, %d named" %
        (window.name, window.getRoleName(), len(controls), len(named)))
    problems = []
    seen = {}
    for control in controls:
        log("    " + describe(control))
        if not (control.name or "").strip():
            problems.append("%r: a %s has no name" % (window.name, control.getRoleName()))
            continue
        if control.getRoleName() == "text" and editable(control) == read_only(control):
            problems.append("%r: %s is %s" % (window.name, describe(control),
                                              "editable and read only" if editable(control)
                                              else "neither editable nor read only"))
        key = (control.getRoleName(), control.name, control.description or "")
        if key in seen:
            problems.append("%r: two controls read alike: %s" % (window.name, describe(control)))
        seen[key] = control
    return len(controls), len(named), problems


def find(window, role, name, required=True):
    for control in shown_controls(window):
        if control.getRoleName() == role and control.name == name:
            return control
    if required:
        raise SessionError("%r shows no %s %r" % (window.name, role, name))
    return None


def find_starting(window, role, prefix):
    for control in shown_controls(window):
        if control.getRoleName() == role and (control.name or "").startswith(prefix):
            return control
    raise SessionError("%r shows no %s named %r..." % (window.name, role, prefix))


def find_described(window, role, words):
    for control in shown_controls(window):
        if control.getRoleName() == role and words in (control.description or ""):
            return control
    raise SessionError("%r shows no %s described with %r" % (window.name, role, words))


def focused(control):
    return fresh(control).getState().contains(pyatspi.STATE_FOCUSED)


def do_action(control, *names):
    """Runs the first of the named actions the control offers (their names as Qt gives them,
    in any letter case)."""
    action = fresh(control).queryAction()
    offered = [action.getName(i).lower() for i in range(action.nActions)]
    for name in names:
        if name in offered:
            action.doAction(offered.index(name))
            return
    raise SessionError("%s offers no %s (only %s)" % (describe(control), "/".join(names),
                                                      ", ".join(offered)))


def press(control):
    if not sensitive(control):
        raise SessionError(describe(control) + " is not enabled")
    do_action(control, "press", "click", "toggle")


def text_of(control):
    text = fresh(control).queryText()
    return text.getText(0, -1)


def set_text(control, value):
    if not fresh(control).queryEditableText().setTextContents(value):
        raise SessionError("%s refused the text %r" % (describe(control), value))


def select_row(table, row):
    if not fresh(table).queryTable().addRowSelection(row):
        raise SessionError("%s refused to select row %d" % (describe(table), row))


def row_checked(table, row):
    cell = fresh(table).queryTable().getAccessibleAt(row, 0)
    return fresh(cell).getState().contains(pyatspi.STATE_CHECKED)


def focus(control):
    if not fresh(control).queryComponent().grabFocus():
        raise SessionError(describe(control) + " did not take the focus")
    poll("the focus on " + describe(control), lambda: focused(control), 30)


KEYSYMS = {"space": 0x20, "down": 0xFF54, "up": 0xFF52, "tab": 0xFF09}


def key(name):
    """A key as the reader's user presses it, sent through AT-SPI's own keyboard (the
    registry's device controller types it on the display)."""
    pyatspi.Registry.generateKeyboardEvent(KEYSYMS[name], None, pyatspi.KEY_SYM)
