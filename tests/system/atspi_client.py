"""A screen reader's view of Tavrola through AT-SPI, for the accessibility test.

  atspi_client.py list           one line per push button, image and label of the program:
                                 role|name|description|states (enabled, sensitive, showing)
  atspi_client.py press NAME     runs the press action of the push button of that name
  atspi_client.py watch NAME...  presses each named push button in turn, a second apart, and
                                 prints each change of a push button's sensitivity: name|0 or 1

Run with the program's session bus in DBUS_SESSION_BUS_ADDRESS. Exits 2 when the program is
not on the accessibility bus within 20 s, 3 when the button is missing or has no press.
"""
import os
import sys
import time

import pyatspi
from gi.repository import GLib

APPLICATION = "tavrola"
WANTED_ROLES = {"push button", "image", "label"}


def find_application():
    for _ in range(200):
        desktop = pyatspi.Registry.getDesktop(0)
        for application in desktop:
            if application is not None and application.name == APPLICATION:
                return application
        time.sleep(0.1)
    return None


def walk(accessible):
    yield accessible
    for child in accessible:
        if child is not None:
            yield from walk(child)


def states_of(accessible):
    states = accessible.getState()
    names = []
    for name, state in (("enabled", pyatspi.STATE_ENABLED),
                        ("sensitive", pyatspi.STATE_SENSITIVE),
                        ("showing", pyatspi.STATE_SHOWING)):
        if states.contains(state):
            names.append(name)
    return ",".join(names)


def press(application, name):
    """True when the push button of that name was found and its press action run."""
    for accessible in walk(application):
        if accessible.getRoleName() == "push button" and accessible.name == name:
            action = accessible.queryAction()
            for index in range(action.nActions):
                if action.getName(index).lower() == "press":
                    action.doAction(index)
                    return True
    return False


def watch(application, names):
    def changed(event):
        if event.source.getRoleName() == "push button":
            print(f"{event.source.name}|{event.detail1}", flush=True)

    def press_next():
        if not names:
            pyatspi.Registry.stop()
            return False
        if not press(application, names.pop(0)):
            os._exit(3)  # the event loop would swallow an exception
        return True

    pyatspi.Registry.registerEventListener(changed, "object:state-changed:sensitive")
    GLib.timeout_add(1000, press_next)
    pyatspi.Registry.start()
    return 0


def main():
    application = find_application()
    if application is None:
        print("the program is not on the accessibility bus", file=sys.stderr)
        return 2
    command = sys.argv[1]
    if command == "watch":
        return watch(application, sys.argv[2:])
    if command == "press":
        if press(application, sys.argv[2]):
            return 0
        print("no such button, or it has no press action", file=sys.stderr)
        return 3
    for accessible in walk(application):
        role = accessible.getRoleName()
        if role in WANTED_ROLES:
            print("|".join([role, accessible.name, accessible.description,
                            states_of(accessible)]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
