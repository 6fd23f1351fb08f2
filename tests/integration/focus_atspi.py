#!/usr/bin/env python3
# Gives the keyboard to the running Tremlor's showing control of role argv[2] whose name or label
# holds argv[3], found over AT-SPI within argv[1] seconds (exit 2: never found). A combo box, and a
# control that refuses the focus (a list row), is left to a click: its centre is printed as "x y".
import sys
import time

import pyatspi


def find(node, role, text, depth=0):
    try:
        if node.getRoleName() == role and node.getState().contains(pyatspi.STATE_SHOWING):
            labels = [r.getTarget(0).name for r in node.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
            if any(text in name for name in [node.name] + labels):
                return node
        for child in node if depth < 40 else []:
            found = find(child, role, text, depth + 1)
            if found is not None:
                return found
    except Exception:  # an element that went away meanwhile
        pass
    return None


deadline = time.time() + float(sys.argv[1])
while time.time() < deadline:
    for app in pyatspi.Registry.getDesktop(0):
        node = find(app, sys.argv[2], sys.argv[3]) if app is not None and app.name.lower() == "tremlor" else None
        if node is not None:
            component = node.queryComponent()
            if sys.argv[2] == "combo box" or not component.grabFocus():
                box = component.getExtents(pyatspi.DESKTOP_COORDS)
                print(box.x + box.width // 2, box.y + box.height // 2)
            sys.exit(0)
    time.sleep(0.2)
sys.exit(2)
