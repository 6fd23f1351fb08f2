#!/usr/bin/env python3
# Prints "x y width height" on screen of the running Tremlor's control named argv[2] that offers
# the action argv[3] ("Toggle", "Press"), read over AT-SPI as a screen reader does, waiting up
# to argv[1] seconds for it (exit 2: never found).
import sys
import time

import pyatspi


def offers(node, action):
    try:
        actions = node.queryAction()
    except NotImplementedError:
        return False
    return any(actions.getName(i).lower() == action.lower() for i in range(actions.nActions))


def find(node, name, action, depth=0):
    try:
        if node.name == name and offers(node, action):
            return node
        for child in node if depth < 40 else []:
            found = find(child, name, action, depth + 1)
            if found is not None:
                return found
    except Exception:  # an element that went away meanwhile
        pass
    return None


deadline = time.time() + float(sys.argv[1])
while time.time() < deadline:
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "tremlor":
            node = find(app, sys.argv[2], sys.argv[3])
            if node is not None:
                box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                if box.width > 0 and box.height > 0:
                    print(box.x, box.y, box.width, box.height)
                    sys.exit(0)
    time.sleep(0.2)
sys.exit(2)
