"""Reads the setup window through AT-SPI as a screen reader does, and drives it through AT-SPI.

Started by ScreenReaderTest inside a D-Bus session of its own (dbus-run-session), on the test's
own X server. It starts the program itself (SETUP_PROGRAM, with the environment it was given),
prints the accessibility tree it reads, and prints one "FAILED: ..." line for every check that
does not hold. Exit code: 0 all held, 1 some failed, 2 it could not go on (the reason is the last
line), 77 pyatspi is missing.
"""

import os
import subprocess
import sys
import time

try:
    import pyatspi
    from gi.repository import Atspi, GLib
except ImportError as missing:
    print(f"pyatspi is not installed: {missing}")
    sys.exit(77)

# However slow the machine, the window answers well within this; longer means it failed.
PATIENCE = 60

ENGLISH = {
    "name": "English",
    "language": "Language:",
    "folder": "Installation folder",
    "hint": "This folder is used to save all installation files",
    "locations": "Package locations",
    "register": "Register packages to",
    "continue": "Continue",
    "close": "Close",
    "status": "Status of installation:",
}
GERMAN = {
    "name": "Deutsch",
    "language": "Sprache:",
    "folder": "Installationsverzeichnis",
    "hint": "Dieses Verzeichnis wird zum Speichern aller Installationsdateien verwendet",
    "locations": "Package-Verzeichnisse",
    "register": "Packages registrieren für",
    "continue": "Weiter",
    "close": "Schließen",
    "status": "Status der Installation:",
}
WINDOW_TITLE = "Zav Polyverb - Installation"
BROWSE_TITLE = "Browse for Folder"
# The full folder each location box stands for (the demo prefix installs Delphi where its own
# setup puts it).
LOCATION_FOLDERS = ["C:\\windows"] + [
    f"C:\\Program Files\\Borland\\Delphi{v}\\Bin" for v in (3, 4, 5)
]
INPUT_ROLES = {
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
}

failures = []


class CannotGoOn(Exception):
    pass


def check(holds, what):
    if not holds:
        failures.append(what)
        print(f"FAILED: {what}", flush=True)
    return holds


def wait_for(find, what, seconds=PATIENCE):
    """The first true result of find(), polled; CannotGoOn when none comes in time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except CannotGoOn:
            raise
        except Exception:  # an object that went away while it was read: read again
            found = None
        if found:
            return found
        pump_events(0.1)
    raise CannotGoOn(f"{what}: not seen within {seconds} s")


def eventually(holds, seconds=10):
    """Whether holds() comes true within `seconds`."""
    try:
        return bool(wait_for(holds, "", seconds))
    except CannotGoOn:
        return False


def pump_events(seconds):
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def children(acc):
    return [c for c in acc if c is not None]


def walk(acc):
    yield acc
    for child in children(acc):
        yield from walk(child)


def all_of(acc, role):
    return [a for a in walk(acc) if a.getRole() == role]


def find(acc, role, name=None):
    for a in walk(acc):
        if a.getRole() == role and (name is None or a.name == name):
            return a
    return None


def has(acc, state):
    return acc.getState().contains(state)


def relations(acc, kind):
    return [
        r.getTarget(i)
        for r in acc.getRelationSet()
        if r.getRelationType() == kind
        for i in range(r.getNTargets())
    ]


def act(acc, action):
    actions = acc.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        raise CannotGoOn(f"{acc.getRoleName()} '{acc.name}' has no action {action}: {names}")
    actions.doAction(names.index(action))


def text_of(acc):
    try:
        text = acc.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return None


def dump(acc, title):
    print(f"--- {title}")
    for line in tree_lines(acc, 0):
        print(line)
    sys.stdout.flush()


def tree_lines(acc, depth):
    links = [
        f"{pyatspi.relationToString(r.getRelationType())}->"
        + ",".join(repr(r.getTarget(i).name) for i in range(r.getNTargets()))
        for r in acc.getRelationSet()
    ]
    states = [pyatspi.stateToString(s) for s in acc.getState().getStates()]
    line = f"{'  ' * depth}[{acc.getRoleName()}] {acc.name!r}"
    if acc.description:
        line += f" desc={acc.description!r}"
    if links:
        line += f" {' '.join(links)}"
    yield line + f" ({' '.join(s for s in states if s in ('checked', 'showing', 'focused'))})"
    for child in children(acc):
        yield from tree_lines(child, depth + 1)


def needed(acc, role, name):
    """The control `name` of `role` inside `acc`; without it the reading cannot go on."""
    found = find(acc, role, name)
    if found is None:
        raise CannotGoOn(f"no {Atspi.role_get_name(role)} '{name}' in '{acc.name}'")
    return found


def button(window, name):
    return needed(window, pyatspi.ROLE_PUSH_BUTTON, name)


def group(window, name):
    return needed(window, pyatspi.ROLE_PANEL, name)


def language_box(window):
    for box in all_of(window, pyatspi.ROLE_COMBO_BOX):
        if "Deutsch" in [item.name for item in all_of(box, pyatspi.ROLE_LIST_ITEM)]:
            return box
    raise CannotGoOn("no language combo box (one offering Deutsch)")


def folder_parts(window, texts):
    """The folder field's combo box, its edit field and its browse button."""
    box = needed(group(window, texts["folder"]), pyatspi.ROLE_COMBO_BOX, None)
    edit = needed(box, pyatspi.ROLE_TEXT, None)
    # The browse button sits beside the combo box, in the folder selector.
    return box, edit, needed(box.parent, pyatspi.ROLE_PUSH_BUTTON, None)


def check_names(window, texts):
    """Every control that takes input says what it is for, in the window's language."""
    lang = f"[{texts['name']}]"
    for control in walk(window):
        if control.getRole() not in INPUT_ROLES or not has(control, pyatspi.STATE_SHOWING):
            continue
        where = f"{lang} {control.getRoleName()} '{control.name}'"
        check(control.name.strip() != "", f"{lang} a {control.getRoleName()} has no name")
        # Qt on Linux names a combo box by its value on purpose: a screen reader says what it
        # is for from its label (labelled-by) or, where it is edited, from its edit field.
        if control.getRole() == pyatspi.ROLE_COMBO_BOX:
            continue
        values = [i.name for i in all_of(control, pyatspi.ROLE_LIST_ITEM)]
        values.append(text_of(control) if control.getRole() == pyatspi.ROLE_TEXT else None)
        check(control.name not in values, f"{where} is named by its value")

    box = language_box(window)
    label = texts["language"]
    labels = [t.name for t in relations(box, pyatspi.RELATION_LABELLED_BY)]
    check(label in labels, f"{lang} language box labelled by {labels}, not by the label '{label}'")

    field, edit, browse = folder_parts(window, texts)
    check(edit.name == texts["folder"], f"{lang} folder edit field named '{edit.name}'")
    for part, what in ((field, "folder combo box"), (edit, "folder edit field")):
        check(part.description == texts["hint"], f"{lang} {what} described as '{part.description}'")
    check(browse.name not in ("", "..."), f"{lang} browse button named '{browse.name}'")

    boxes = all_of(group(window, texts["locations"]), pyatspi.ROLE_CHECK_BOX)
    check(len(boxes) == len(LOCATION_FOLDERS), f"{lang} {len(boxes)} location boxes")
    for location, folder in zip(boxes, LOCATION_FOLDERS):
        check(
            folder.lower() in location.description.lower(),
            f"{lang} location box '{location.name}' described as '{location.description}'"
            f", not by {folder}",
        )
    return browse.name


def browse_and_cancel(app, window, texts):
    """The folder-browse dialog read, then cancelled; nothing of it stays behind."""
    _, _, browse = folder_parts(window, texts)
    act(browse, "Press")
    dialog = wait_for(lambda: find(app, pyatspi.ROLE_DIALOG, BROWSE_TITLE), "the browse dialog")
    tree = wait_for(lambda: find(dialog, pyatspi.ROLE_TREE), "its tree")
    dump(dialog, "the folder-browse dialog")
    check(tree.name.strip() != "", "the browse dialog's tree has no name")
    headers = [h.name for h in all_of(tree, pyatspi.ROLE_TABLE_COLUMN_HEADER)]
    check("1" not in headers, f"the browse dialog's tree has the column headers {headers}")
    prompts = [p.name for p in all_of(dialog, pyatspi.ROLE_LABEL) if has(p, pyatspi.STATE_SHOWING)]
    # No prompt is asked for here; a label that shows says something.
    check(all(p.strip() for p in prompts), f"the browse dialog's labels read {prompts}")
    act(button(dialog, "Cancel"), "Press")
    wait_for(lambda: find(app, pyatspi.ROLE_DIALOG, BROWSE_TITLE) is None, "the dialog gone")
    pump_events(0.5)
    hidden = [
        f"{w.getRoleName()} '{w.name}'" for w in children(app) if not has(w, pyatspi.STATE_SHOWING)
    ]
    check(not hidden, f"after the browse dialog, hidden top-level windows stay: {hidden}")


def switch_to_german(app, window):
    """Deutsch chosen in the language box's list as a keyboard user does; what is renamed."""
    renamed = []
    listener = lambda event: renamed.append(event.source)
    pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-name")
    box = language_box(window)
    act(box, "Press")
    wait_for(lambda: has(find(box, pyatspi.ROLE_LIST), pyatspi.STATE_SHOWING), "the list shown")
    for key in (0xFF54, 0xFF0D):  # Down (English, then Deutsch), Return
        pyatspi.Registry.generateKeyboardEvent(key, None, pyatspi.KEY_SYM)
        pump_events(0.3)
    wait_for(lambda: find(window, pyatspi.ROLE_LABEL, GERMAN["language"]), "the window in German")
    pump_events(1)
    pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-name")
    field, edit, _ = folder_parts(window, GERMAN)
    for control in (box, field, edit):
        check(
            control in renamed,
            f"no name-change event for the {control.getRoleName()} '{control.name}'"
            " when the language changed",
        )


def run_in_german(app, window):
    """A register box toggled, Continue pressed, the closing box answered: all by actions."""
    register = group(window, GERMAN["register"])
    delphi3 = find(register, pyatspi.ROLE_CHECK_BOX, "Delphi 3")
    if delphi3 is None or not has(delphi3, pyatspi.STATE_CHECKED):
        raise CannotGoOn("no checked box 'Delphi 3' to register to")
    act(delphi3, "Toggle")
    check(
        eventually(lambda: not has(delphi3, pyatspi.STATE_CHECKED)),
        "Delphi 3 stays checked after its Toggle action",
    )
    act(button(window, GERMAN["continue"]), "Press")
    box = wait_for(lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "OK"), "the box that ends the run")
    act(box, "Press")
    wait_for(
        lambda: any(
            GERMAN["status"] in (text_of(t) or "")
            for t in all_of(window, pyatspi.ROLE_TEXT)
            if has(t, pyatspi.STATE_SHOWING)
        ),
        "the status list",
    )
    dump(window, "after the run")
    close = button(window, GERMAN["close"])
    # The window takes input again once the box that ended the run has gone.
    wait_for(lambda: has(close, pyatspi.STATE_ENABLED), "the window enabled again")
    act(close, "Press")


def main():
    program = subprocess.Popen([os.environ["SETUP_PROGRAM"]])
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        def started():
            if program.poll() is not None:
                raise CannotGoOn(f"the program ended at its start: exit code {program.returncode}")
            return next((a for a in children(desktop) if children(a)), None)

        app = wait_for(started, "the program")
        window = wait_for(
            lambda: next((w for w in children(app) if w.name == WINDOW_TITLE), None), "the window"
        )
        dump(app, "English")
        check(app.name == "PolyverbSetup", f"the application is named '{app.name}'")
        check(
            window.getRole() in (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG),
            f"the window's role is {window.getRoleName()}",
        )
        english_button = check_names(window, ENGLISH)
        browse_and_cancel(app, window, ENGLISH)
        switch_to_german(app, window)
        dump(app, "Deutsch")
        german_button = check_names(window, GERMAN)
        check(english_button != german_button, f"the browse button is '{german_button}' in German")
        run_in_german(app, window)
        program.wait(PATIENCE)
    except CannotGoOn as reason:
        print(f"cannot go on: {reason}")
        return 2
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
