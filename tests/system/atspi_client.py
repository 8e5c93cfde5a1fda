"""A screen reader's view of Tavrola through AT-SPI, for the accessibility test.

  atspi_client.py list           one line per push button, image and label of the program:
                                 role|name|description|states (enabled, sensitive, showing)
  atspi_client.py press NAME     runs the press action of the push button of that name

Run with the program's session bus in DBUS_SESSION_BUS_ADDRESS. Exits 2 when the program is
not on the accessibility bus within 20 s, 3 when the button is missing or has no press.
"""
import sys
import time

import pyatspi

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


def main():
    application = find_application()
    if application is None:
        print("the program is not on the accessibility bus", file=sys.stderr)
        return 2
    command = sys.argv[1]
    for accessible in walk(application):
        role = accessible.getRoleName()
        if role not in WANTED_ROLES:
            continue
        if command == "list":
            print("|".join([role, accessible.name, accessible.description,
                            states_of(accessible)]))
        elif command == "press" and role == "push button" and accessible.name == sys.argv[2]:
            action = accessible.queryAction()
            for index in range(action.nActions):
                if action.getName(index).lower() == "press":
                    action.doAction(index)
                    return 0
            print("no press action", file=sys.stderr)
            return 3
    if command == "press":
        print("no such button", file=sys.stderr)
        return 3
    return 0


if __name__ == "__main__":
    sys.exit(main())
