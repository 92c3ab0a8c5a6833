#!/usr/bin/python3
"""Walks the running PELZO Config window as a screen reader does, over AT-SPI."""
import subprocess
import sys
import time

import pyatspi

# The inputs and buttons in Tab order, by the names a screen reader speaks.
# Write data and CTCSS start disabled and are passed over; the progress bar takes no focus.
TAB_ORDER = [
    "Callsign", "SSID", "Status", "Save file", "Load file", "Default", "Read data", "Pass", "Comment",
    "Tx time", "Filter", "IP 1", "Serial port", "IP 2", "IP 3", "IP 4", "Mask 1", "Mask 2", "Mask 3",
    "Mask 4", "Gate 1", "Gate 2", "Gate 3", "Gate 4", "DNS 1", "DNS 2", "DNS 3", "DNS 4",
    "Program version", "Open ROM", "update", "Device version", "Activity log", "Server", "DHCP",
    "Tx/Rx", "Backlight", "Unit", "ssid", "pass", "Apply", "restart", "DIGI", "TX vol", "Path", "Alias",
    "Callsign",
]
INPUTS = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_CHECK_BOX,
          pyatspi.ROLE_PROGRESS_BAR}
# The work fields kept off screen, each by what it would be called.
OFF_SCREEN = {"the hidden button Command3": "打开串口", "the hidden label Label2": "Software only update data",
              "the hex dump Text1": "Text1"}

failures = []


def fail(what):
    failures.append(what)
    print("FAIL: " + what)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def walk(node, found):
    """Every object a screen reader offers; the parts of a drop-down or a text are the control's own."""
    found.append(node)
    if node.getRole() in INPUTS:
        return
    for child in node:
        if child is not None:
            walk(child, found)


def application():
    for _ in range(200):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "PELZO Config" and app.childCount > 0:
                return app
        time.sleep(0.1)
    sys.exit("FAIL: the window never appeared on the accessibility bus")


def label_text(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            target = relation.getTarget(0)
            if target.getRole() == pyatspi.ROLE_LABEL:
                return target.name
    return None


def check_tree(app):
    objects = []
    walk(app, objects)
    window = app[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    offered = [node for node in objects[1:] if showing(node)]
    for node in offered:
        role, name = node.getRoleName(), node.name
        where = f"{role} {name!r}"
        if node.getRole() in (pyatspi.ROLE_INVALID, pyatspi.ROLE_UNKNOWN):
            fail(f"{where} has no role")
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if not (window.x <= box.x < window.x + window.width and window.y <= box.y < window.y + window.height):
            fail(f"{where} is offered but lies outside the window")
        if node.getRole() not in INPUTS:
            continue
        if not name:
            fail(f"a {role} has no name")
        if not node.description:
            fail(f"{where} has no description")
        label = label_text(node)
        if label is not None and label != name:
            fail(f"{where} is named otherwise than its label {label!r}")
    names = [node.name for node in objects]
    for what, text in OFF_SCREEN.items():
        if any(showing(node) and node.name.startswith(text) for node in objects):
            fail(f"{what} is offered")
    for what in ("打开串口", "Software only update data"):
        if not any(name.startswith(what) for name in names):
            fail(f"no object for {what!r}: the tree is not the window's")
    bar = [node for node in offered if node.getRole() == pyatspi.ROLE_PROGRESS_BAR]
    if [node.name for node in bar] != ["Update progress"]:
        fail(f"the progress bar is named {[node.name for node in bar]}")
    print(f"checked {len(offered)} objects offered, {sum(n.getRole() in INPUTS for n in offered)} of them inputs")
    return [node for node in offered if node.getRole() in INPUTS]


def focused(inputs):
    for _ in range(50):
        for node in inputs:
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                return node.name
        time.sleep(0.02)
    return None


def check_tab_order(inputs):
    start = next(node for node in inputs if node.name == TAB_ORDER[0])
    box = start.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
                    "click", "1"], check=True)
    reached = [focused(inputs)]
    for _ in TAB_ORDER[1:]:
        subprocess.run(["xdotool", "key", "Tab"], check=True)
        time.sleep(0.05)
        reached.append(focused(inputs))
    if reached != TAB_ORDER:
        for i, (expected, found) in enumerate(zip(TAB_ORDER, reached)):
            if expected != found:
                fail(f"Tab step {i} reached {found!r}, not {expected!r}")
                break
    else:
        print(f"Tab went through {len(TAB_ORDER) - 1} controls in order and back to the first")


def main():
    app = application()
    inputs = check_tree(app)
    check_tab_order(inputs)
    if failures:
        sys.exit(1)
    print("PASS")


main()
