#!/usr/bin/env python3
# Prints the running Tremlor's accessible elements as "role<TAB>name<TAB>value<TAB>description
# <TAB>checked" lines, read over AT-SPI as a screen reader does, once its buttons are on the bus
# (exit 2: never on the bus).
# With a rotation order as the second argument, it then opens the rotation-order menu through
# the button's action, prints the elements again while the menu is open, presses the item of
# that title, and prints "chosen<TAB>" and the button's name once it names that order (exit 3:
# the menu or its item never appeared).
import sys
import time

import pyatspi


def walk(node, lines, found, depth=0):
    try:
        try:
            value = str(node.queryValue().currentValue)
        except NotImplementedError:
            value = ""
        checked = "checked" if node.getState().contains(pyatspi.STATE_CHECKED) else ""
        lines.append(f"{node.getRoleName()}\t{node.name}\t{value}\t{node.description}\t{checked}")
        found.append(node)
        for child in node if depth < 40 else []:
            walk(child, lines, found, depth + 1)
    except Exception:  # an element that went away meanwhile
        pass


def read(until, deadline):
    while True:
        apps = [a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name.lower() == "tremlor"]
        lines, found = [], []
        if apps:
            walk(apps[0], lines, found)
        if until(lines) or time.time() >= deadline:
            return lines, found
        time.sleep(0.2)


def act(node):
    action = node.queryAction()
    action.doAction(0)


deadline = time.time() + float(sys.argv[1])
lines, found = read(lambda lines: any(line.startswith("push button") for line in lines), deadline)
print("\n".join(lines))
if not lines:
    sys.exit(2)
if len(sys.argv) < 3:
    sys.exit(0)

order = sys.argv[2]
buttons = [n for n in found if n.name.startswith("Rotation order: ")]
if not buttons:
    sys.exit(3)
act(buttons[0])
menus = []
while time.time() < deadline and not (menus and menus[0].getState().contains(pyatspi.STATE_SHOWING)):
    time.sleep(0.2)
    menus = [n for n in buttons[0] if n.getRoleName() == "popup menu"]
if not menus or not menus[0].getState().contains(pyatspi.STATE_SHOWING):
    sys.exit(3)
lines, found = read(lambda lines: True, deadline)
print("menu open")
print("\n".join(lines))
items = [n for n in menus[0] if n.getRoleName() == "menu item" and n.name == order]
if not items:
    sys.exit(3)
act(items[0])
lines, found = read(lambda lines: any(f"\tRotation order: {order}\t" in line for line in lines), deadline)
print("\n".join(f"chosen\t{n.name}" for n in found if n.name.startswith("Rotation order: ")))
sys.exit(0)
