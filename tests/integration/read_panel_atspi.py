#!/usr/bin/env python3
# Reads the running Tremlor's widgets over AT-SPI as a screen reader does and prints one line per
# element: role, then name, then the value where there is one. Exit 2 when the program is not on
# the accessibility bus.
import sys
import time

import pyatspi


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name.lower() == name:
            return app
    return None


def walk(node, lines, depth=0):
    if node is None or depth > 40:
        return
    try:
        role = node.getRoleName()
        label = node.name
        value = ""
        try:
            value = str(node.queryValue().currentValue)
        except NotImplementedError:
            pass
        lines.append(f"{role}\t{label}\t{value}")
        for child in node:
            walk(child, lines, depth + 1)
    except Exception:  # an element that went away while walking
        return


deadline = time.time() + float(sys.argv[1] if len(sys.argv) > 1 else 10)
app = None
while app is None and time.time() < deadline:
    app = find_app("tremlor")
    if app is None:
        time.sleep(0.2)
if app is None:
    sys.exit(2)
# The windows reach the bus a moment after the program does: read until buttons show.
lines = []
while time.time() < deadline:
    lines = []
    walk(app, lines)
    if any(line.startswith("push button") for line in lines):
        break
    time.sleep(0.2)
print("\n".join(lines))
