#!/usr/bin/env python3
# Finds a showing control of the running Tremlor over AT-SPI, as a screen reader does, waiting up to
# argv[1] seconds for it (exit 2: never found):
#   locate_atspi.py SECONDS action NAME ACTION  the control named NAME that offers ACTION ("Toggle");
#                                               prints its centre on screen as "x y"
#   locate_atspi.py SECONDS focus ROLE TEXT     the control of ROLE whose name or label holds TEXT;
#                                               gives it the keyboard, or prints its centre for a
#                                               click when it is a combo box or refuses (a list row)
import sys
import time

import pyatspi


def matches(node, mode, first, second):
    if not node.getState().contains(pyatspi.STATE_SHOWING):
        return False
    if mode == "action":
        try:
            actions = node.queryAction()
        except NotImplementedError:
            return False
        return node.name == first and any(actions.getName(i).lower() == second.lower() for i in range(actions.nActions))
    labels = [r.getTarget(0).name for r in node.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    return node.getRoleName() == first and any(second in name for name in [node.name] + labels)


def find(node, depth=0):
    try:
        if matches(node, *sys.argv[2:5]):
            return node
        for child in node if depth < 40 else []:
            found = find(child, depth + 1)
            if found is not None:
                return found
    except Exception:  # an element that went away meanwhile
        pass
    return None


deadline = time.time() + float(sys.argv[1])
while time.time() < deadline:
    for app in pyatspi.Registry.getDesktop(0):
        node = find(app) if app is not None and app.name.lower() == "tremlor" else None
        if node is not None:
            component = node.queryComponent()
            if sys.argv[2] == "action" or sys.argv[3] == "combo box" or not component.grabFocus():
                box = component.getExtents(pyatspi.DESKTOP_COORDS)
                print(box.x + box.width // 2, box.y + box.height // 2)
            sys.exit(0)
    time.sleep(0.2)
sys.exit(2)
