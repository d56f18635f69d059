"""Reads the program's window as a screen reader would, through the AT-SPI bus of the
environment it is started in (Debian's python3-pyatspi). Run as its own process, so
that it joins the test's private session bus.

  atspi_reader.py tree            the window's name, description and children, as JSON
  atspi_reader.py events SECONDS  one JSON line per name change seen in that time
"""

import json
import sys
import time

import pyatspi
from gi.repository import GLib

APPLICATION = "bricketing"


def program_frame():
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and APPLICATION in (application.name or "").lower():
            for index in range(application.childCount):
                frame = application.getChildAtIndex(index)
                if frame is not None and frame.getRoleName() in ("frame", "window"):
                    return frame
    return None


def node(accessible):
    return {"name": accessible.name, "role": accessible.getRoleName(),
            "description": accessible.description,
            "children": [node(accessible.getChildAtIndex(index))
                         for index in range(accessible.childCount)]}


def print_tree():
    frame = program_frame()
    print(json.dumps(node(frame) if frame is not None else None))


def print_events(seconds):
    def heard(event):
        print(json.dumps({"type": event.type, "name": event.source.name,
                          "role": event.source.getRoleName()}), flush=True)

    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name",
                                           "object:property-change:accessible-description")
    print(json.dumps({"type": "listening"}), flush=True)
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    pyatspi.Registry.start()


if __name__ == "__main__":
    if sys.argv[1] == "tree":
        print_tree()
    else:
        print_events(float(sys.argv[2]))
