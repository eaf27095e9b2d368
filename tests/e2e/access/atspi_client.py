#!/usr/bin/python3
"""A screen reader's view of the tuner over AT-SPI, for the end-to-end test.

  atspi_client.py tree            the window and its children, one a line:
                                  ROLE | NAME | DESCRIPTION | STATES | ACTIONS | KEYS
  atspi_client.py press NAME      runs the "Press" action of the child named NAME
  atspi_client.py box CAPTION     the message box (dialog or alert) named CAPTION and what it
                                  shows, one a line as for tree, then runs its OK button's
                                  "Press" and waits for the box to leave the bus
  atspi_client.py events SECONDS  prints, for SECONDS, one line an event:
                                  "ready" once listening, "focus NAME", "checked NAME 0|1",
                                  "announce TEXT" (a notification shown), "name NAME"
                                  (a name changed, as a screen reader hears every one)

Each waits up to 20 s for the application to show its window on the bus; exits 1 with a
message on stderr when it cannot do what it was asked.
"""
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

APP_NAME = "Vibralon"
STATES = {
    Atspi.StateType.CHECKED: "checked",
    Atspi.StateType.FOCUSABLE: "focusable",
    Atspi.StateType.FOCUSED: "focused",
    Atspi.StateType.CHECKABLE: "checkable",
}


def fail(message):
    print(f"atspi_client: {message}", file=sys.stderr)
    sys.exit(1)


def children(accessible):
    """Its children still there."""
    found = (accessible.get_child_at_index(i) for i in range(accessible.get_child_count()))
    return [child for child in found if child is not None]


def app_windows():
    """The top-level windows of the tuner on the bus now (it may be on it more than once while
    an earlier run leaves)."""
    for app in children(Atspi.get_desktop(0)):
        if app.get_name() == APP_NAME:
            yield from children(app)


def poll(find, seconds=20):
    """The first window of the tuner's that FIND holds for, asked every 0.2 s for SECONDS; None
    if none comes."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = next((window for window in app_windows() if find(window)), None)
        except GLib.Error:
            found = None  # a window that went meanwhile
        if found is not None or time.monotonic() >= deadline:
            return found
        time.sleep(0.2)


def find_window():
    window = poll(lambda window: window.get_child_count() > 0 and window.get_name() == APP_NAME)
    if window is None:
        fail(f"no window of {APP_NAME} with children on the accessibility bus")
    return window


BOX_ROLES = (Atspi.Role.DIALOG, Atspi.Role.ALERT)


def showing(accessible):
    return accessible.get_state_set().contains(Atspi.StateType.SHOWING)


def find_box(caption, seconds=20):
    return poll(lambda window: window.get_role() in BOX_ROLES and window.get_name() == caption
                and showing(window), seconds)


def actions(accessible, what="action_name"):
    """Each action's name, or its key binding (the shortcut) with what="key_binding"."""
    if "Action" not in accessible.get_interfaces():
        return []
    with warnings.catch_warnings():
        # Deprecated for a successor that this AT-SPI (2.46) does not have yet.
        warnings.simplefilter("ignore", DeprecationWarning)
        read = getattr(accessible, f"get_{what}")
        return [read(i) for i in range(accessible.get_n_actions())]


def do_press(accessible, what):
    names = actions(accessible)
    if "Press" not in names:
        fail(f"{what} has no Press action (it has {names})")
    accessible.do_action(names.index("Press"))


def line(accessible, keys=False):
    states = accessible.get_state_set()
    shown = [name for state, name in STATES.items() if states.contains(state)]
    columns = [accessible.get_role_name(), accessible.get_name(), accessible.get_description(),
               ",".join(shown), ",".join(actions(accessible))]
    if keys:
        columns.append(",".join(actions(accessible, "key_binding")))
    return " | ".join(columns)


def tree():
    window = find_window()
    for accessible in [window] + children(window):
        print(line(accessible, keys=True))


def press(name):
    for child in children(find_window()):
        if child.get_name() == name:
            return do_press(child, name)
    fail(f"no child named {name}")


def shown_within(accessible):
    """The parts of ACCESSIBLE on screen, depth first: what a screen reader walks."""
    for child in children(accessible):
        if showing(child):
            yield child
            yield from shown_within(child)


def box(caption):
    found = find_box(caption)
    if found is None:
        fail(f"no message box named {caption!r} on the accessibility bus")
    print(line(found), flush=True)
    ok = None
    for part in shown_within(found):
        print(line(part), flush=True)
        if part.get_role() == Atspi.Role.PUSH_BUTTON and part.get_name() == "OK":
            ok = part
    if ok is None:
        fail(f"the box {caption!r} has no OK button")
    do_press(ok, f"the OK button of {caption!r}")
    deadline = time.monotonic() + 10
    while find_box(caption, 0.2) is not None:
        if time.monotonic() > deadline:
            fail(f"the box {caption!r} is still there 10 s after its OK was pressed")
    print("answered", flush=True)


def events(seconds):
    find_window()

    def heard(event):
        source = event.source
        try:
            if source.get_application().get_name() != APP_NAME:
                return
            role = source.get_role()
            name = source.get_name()
        except GLib.Error:
            return  # gone meanwhile
        if event.type.endswith(":showing") and event.detail1 == 1 \
                and role == Atspi.Role.NOTIFICATION:
            print(f"announce {name}", flush=True)
        elif event.type.endswith(":focused") and event.detail1 == 1:
            print(f"focus {name}", flush=True)
        elif event.type.endswith(":checked"):
            print(f"checked {name} {event.detail1}", flush=True)
        elif event.type.endswith(":accessible-name"):
            print(f"name {name}", flush=True)

    listener = Atspi.EventListener.new(heard)
    for kind in ("showing", "focused", "checked"):
        listener.register(f"object:state-changed:{kind}")
    listener.register("object:property-change:accessible-name")
    GLib.timeout_add(int(seconds * 1000), lambda: Atspi.event_quit())
    GLib.idle_add(lambda: print("ready", flush=True) and False)
    Atspi.event_main()


def main(argv):
    commands = {"tree": tree, "press": press, "box": box, "events": lambda s: events(float(s))}
    if len(argv) < 2 or argv[1] not in commands or len(argv) != (2 if argv[1] == "tree" else 3):
        fail("usage: atspi_client.py tree | press NAME | box CAPTION | events SECONDS")
    commands[argv[1]](*argv[2:])


if __name__ == "__main__":
    main(sys.argv)
