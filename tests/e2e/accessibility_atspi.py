"""Reads the running Tallyvane window through AT-SPI, as a screen reader does.

Usage: accessibility_atspi.py SETTINGS_FILE   (run by accessibility_atspi.sh)
"""
import subprocess
import sys
import time

import pyatspi

TOOLTIP = ("Double-click item to remove it. Move | line to right and "
           "out of window to reveal full names.")
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, file=sys.stderr)


def wait_for(read, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = read()
        if value:
            return value
        time.sleep(0.05)
    return None


def fresh_name(accessible):
    accessible.clear_cache()
    return accessible.name


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name.lower() == "tallyvane":
            return app
    return None


def everything(root):
    found = []
    stack = [root]
    while stack:
        node = stack.pop()
        if node is None:
            continue
        found.append(node)
        stack.extend(node[i] for i in range(node.childCount))
    return found


def by_name(nodes, name, role=None):
    for node in nodes:
        if node.name == name and (role is None or node.getRole() == role):
            return node
    return None


def do(accessible, action_name):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check(action_name in names, "%s offers %s, not %s" % (accessible.name, names, action_name))
    if action_name in names:
        action.doAction(names.index(action_name))


def settings_value(path):
    try:
        with open(path, encoding="utf-8") as settings:
            for line in settings:
                if line.startswith("Convert%20Option=") or line.startswith("Convert Option="):
                    return line.split("=", 1)[1].strip()
    except OSError:
        pass
    return None


def main():
    app = wait_for(application)
    if app is None:
        print("FAIL: the program never appeared on the accessibility bus", file=sys.stderr)
        return 1
    nodes = wait_for(lambda: (lambda n: n if by_name(n, "Start Converting") else None)(
        everything(app)))
    entries = by_name(nodes, "States or Area Codes")
    results = by_name(nodes, "Results")
    for name, accessible in (("entry list", entries), ("results list", results)):
        check(accessible is not None, "no %s" % name)
        if accessible is not None:
            check(accessible.description == TOOLTIP,
                  "the %s describes itself as %r" % (name, accessible.description))

    bar = by_name(nodes, "Progress Bar", pyatspi.ROLE_PROGRESS_BAR)
    check(bar is not None, "no progress bar named Progress Bar")
    option2 = by_name(nodes, "Convert States To Area Codes", pyatspi.ROLE_RADIO_BUTTON)
    check(option2 is not None, "no Option2 radio button")
    if failures:
        return 1

    do(option2, "Toggle")
    check(wait_for(lambda: option2.getState().contains(pyatspi.STATE_CHECKED), 5),
          "Toggle did not check Convert States To Area Codes")
    check(wait_for(lambda: settings_value(sys.argv[1]) == "2", 5),
          "Toggle was not saved: Convert Option is %r" % settings_value(sys.argv[1]))

    # A run long enough to watch: lines pasted with a real Ctrl+V, then converted.
    lines = "".join("%03d\r\n" % (200 + i % 800) for i in range(300000))
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=lines.encode(), check=True)
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tallyvane$"],
                            capture_output=True, text=True, check=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    subprocess.run(["xdotool", "key", "--clearmodifiers", "ctrl+v"], check=True)
    check(wait_for(lambda: entries.queryTable().nRows == 300000, 30),
          "the paste did not arrive")
    do(by_name(nodes, "Start Converting"), "Press")
    seen = wait_for(lambda: (lambda n: n if n.startswith("Processing: ") else None)(
        fresh_name(bar)), 30)
    check(seen is not None, "the bar never named its work, last %r" % fresh_name(bar))
    print("progress bar read as %r" % seen)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
