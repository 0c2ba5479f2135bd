#!/usr/bin/env python3
"""Every source file of the programs lives in a room, and its #include "..." lines point only
into its own room, into common/ and handoff/, or into the rooms the table below lets it use.
The table itself must have no circle, so no chain of includes can lead back to where it began.
Run with the source tree as the only argument (ctest passes it); prints each offending include.
"""
import os
import re
import sys

# room -> the rooms it may include besides itself and, for every room but these two, common/
# and handoff/. Keep README.md's "Layout" table in step with this one.
ROOMS = {
    "common": set(),
    "handoff": {"common"},
    "resources/desktop": set(),
    "resources/device": set(),
    "remote/protocol": set(),
    "remote/net": {"remote/protocol"},
    "remote/rapi": {"remote/protocol", "remote/net"},
    "remote/agent": {"remote/protocol", "remote/net"},
    "remote/exercise": {"remote/rapi"},
    "desktop/pictures": set(),
    "desktop/settings": set(),
    "desktop/session": {"desktop/pictures", "desktop/settings", "remote/rapi"},
    "desktop/app": {"desktop/pictures", "desktop/settings", "desktop/session",
                    "resources/desktop"},
    "device/pictures": set(),
    "device/settings": set(),
    "device/association": {"device/settings"},
    "device/platform": set(),
    "device/overlay": {"device/pictures"},
    "device/dialogs": {"device/settings", "device/association", "device/platform",
                       "resources/device"},
    "device/viewer": {"device/pictures", "device/settings", "device/platform",
                      "device/overlay", "device/dialogs", "resources/device"},
    "setup": {"device/settings", "device/association"},
    "setup/runner": {"setup"},
}
SHARED = {"common", "handoff"}
# Folders whose files belong to the programs; tests, tools, fuzz and bench may include anything.
CHECKED = ("common", "handoff", "resources", "remote", "desktop", "device", "setup")
SOURCE = re.compile(r"\.(h|cpp|rc)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def room_of(path):
    """The deepest room holding `path`, or None."""
    folder = os.path.dirname(path)
    while folder:
        if folder in ROOMS:
            return folder
        folder = os.path.dirname(folder)
    return None


def may_include(room):
    return ROOMS[room] | {room} | (set() if room in SHARED else SHARED)


def table_circle():
    """A circle in ROOMS as a list of rooms, or None."""
    state = {}

    def visit(room, trail):
        state[room] = "open"
        for used in sorted(may_include(room) - {room}):
            if state.get(used) == "open":
                return trail + [room, used]
            if used not in state:
                found = visit(used, trail + [room])
                if found:
                    return found
        state[room] = "done"
        return None

    for room in ROOMS:
        if room not in state:
            found = visit(room, [])
            if found:
                return found
    return None


def problems(root):
    found = []
    circle = table_circle()
    if circle:
        found.append("the rooms' table runs in a circle: " + " -> ".join(circle))
    for top in CHECKED:
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if not SOURCE.search(name):
                    continue
                path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
                room = room_of(path)
                if room is None:
                    found.append(f"{path}: lies in no room")
                    continue
                allowed = may_include(room)
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = m.group(1)
                        if "/" not in target:  # beside the including file (resource scripts)
                            target = os.path.dirname(path) + "/" + target
                        used = room_of(target)
                        if used not in allowed:
                            found.append(f'{path}:{number}: {room} may not include "{m.group(1)}"'
                                         f" ({used or 'outside the rooms'})")
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    found = problems(os.path.abspath(root))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) break the layout")
        return 1
    print("every include points into its own room or one below it")
    return 0


if __name__ == "__main__":
    sys.exit(main())
