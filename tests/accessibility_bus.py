"""The viewer as a screen reader meets it: through the accessibility bus.

Starts the viewer in a Japanese locale on a folder of three pictures, lists
its window's controls with their roles, names and values, checks that the
window reads as a frame named by its title and that every control has a
name (the dial and the scroll bars, which show none, a description too),
presses Next through the bus and checks that the ring stepped: the step sets
the tilt dial back to 0 and holds the step buttons disabled until the turn
ends, and the bus reports both. Then it presses Quit and answers the confirmation, whose
buttons read in Japanese, with Yes.

Run inside a private D-Bus session (dbus-run-session), whose activation
starts the accessibility bus; the viewer's path is the one argument.
"""
import os
import struct
import subprocess
import sys
import tempfile
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

TITLE = "Ruk's 画像ビューアー"
HINT = "画像の入ったフォルダをドラッグ＆ドロップすると表示します"
BOUND_S = 60


def write_bmp(path, width, height, rgb):
    row = bytes((rgb[2], rgb[1], rgb[0])) * width
    row += b"\0" * (-len(row) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def wait_for(what, condition):
    """Runs the bus's events until condition() gives a true value; fails
    with what after the bound."""
    deadline = time.monotonic() + BOUND_S
    context = GLib.MainContext.default()
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        found = condition()
        if found:
            return found
        time.sleep(0.02)
    sys.exit(f"FAIL: no {what} within {BOUND_S} s")


def walk(node, depth=0):
    yield node, depth
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child, depth + 1)


def describe(node):
    text = f"{node.get_role_name()} '{node.get_name()}'"
    if "Value" in node.get_interfaces():
        text += f" value {node.get_current_value():g} in [{node.get_minimum_value():g}, {node.get_maximum_value():g}]"
    if not node.get_state_set().contains(Atspi.StateType.SENSITIVE):
        text += " (disabled)"
    return text


def window_with(pid, button):
    """The window of process pid that holds a push button named button; None
    also while windows come and go under the search."""
    desktop = Atspi.get_desktop(0)
    try:
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is None or app.get_process_id() != pid:
                continue
            for j in range(app.get_child_count()):
                window = app.get_child_at_index(j)
                if window is not None and any(n.get_role() == Atspi.Role.PUSH_BUTTON and n.get_name() == button
                                              for n, _ in walk(window)):
                    return window
    except GLib.Error:
        pass
    return None


def press(button):
    with warnings.catch_warnings():  # the bindings' one call for an action's own name is marked deprecated
        warnings.simplefilter("ignore", DeprecationWarning)
        names = [button.get_action_name(i) for i in range(button.get_n_actions())]
    expect("Press" in names, f"{button.get_name()} offers a press action, it offers {names}")
    expect(button.do_action(names.index("Press")), f"{button.get_name()}'s press action runs")


def expect(condition, message):
    if not condition:
        sys.exit("FAIL: " + message)


def main():
    viewer = sys.argv[1]
    Atspi.init()
    with tempfile.TemporaryDirectory() as folder:
        for name, colour in (("a.bmp", (200, 40, 40)), ("b.bmp", (40, 200, 40)), ("c.bmp", (40, 40, 200))):
            write_bmp(os.path.join(folder, name), 64, 48, colour)
        env = dict(os.environ, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANG="ja_JP.UTF-8")
        env.pop("LC_ALL", None)
        env.pop("LC_MESSAGES", None)
        process = subprocess.Popen([viewer, folder], env=env)
        try:
            check(process)
        finally:
            if process.poll() is None:
                process.terminate()
            process.wait(BOUND_S)


def check(process):
    def window_up(button):
        expect(process.poll() is None, f"the viewer ended with exit code {process.returncode}")
        return window_with(process.pid, button)
    window = wait_for("viewer window with a 次へ button on the bus", lambda: window_up("次へ"))
    controls = [(node, depth) for node, depth in walk(window)]
    for node, depth in controls:
        print("  " * depth + describe(node))

    def only(role, name=None):
        found = [n for n, _ in controls if n.get_role() == role and (name is None or n.get_name() == name)]
        expect(len(found) == 1, f"{len(found)} {Atspi.role_get_name(role)} '{name}', expected one")
        return found[0]

    expect((window.get_role(), window.get_name()) == (Atspi.Role.FRAME, TITLE),
           f"the window reads as frame '{TITLE}', it reads as {describe(window)}")
    unnamed = [describe(n) for n, _ in controls if n.get_role() != Atspi.Role.PANEL and not n.get_name()]
    expect(not unnamed, f"every control has a name, these have none: {unnamed}")
    buttons = {name: only(Atspi.Role.PUSH_BUTTON, name) for name in ("終了", "前へ", "次へ")}
    only(Atspi.Role.LABEL, HINT)
    view = only(Atspi.Role.IMAGE)
    expect(view.get_name() == "a.bmp", "the view is named after the front picture")
    dial = only(Atspi.Role.DIAL, "回転")
    expect((dial.get_minimum_value(), dial.get_maximum_value()) == (-180, 180), "the dial's range")
    expect(dial.get_description() == "手前の画像をその面の中で回します", "the dial says it rolls the front picture")
    # Vertical: the camera's height in [-40, 40]; horizontal: sideways in [-30, 30].
    for name, reach, description in (("上下", 40, "カメラを上下に動かします"), ("左右", 30, "カメラを左右に動かします")):
        bar = only(Atspi.Role.SCROLL_BAR, name)
        expect((bar.get_current_value(), bar.get_minimum_value(), bar.get_maximum_value()) == (0, -reach, reach),
               f"scroll bar {name} holds 0 in [-{reach}, {reach}]")
        expect(bar.get_description() == description, f"scroll bar {name} says what it moves")

    heard = []

    def hear(event):
        heard.append((event.type, event.source.get_name() or event.source.get_role_name(), event.detail1))

    listener = Atspi.EventListener.new(hear)
    listener.register("object:property-change:accessible-value")
    listener.register("object:state-changed:sensitive")

    # Tilt the front picture through the bus, then step: the step puts the
    # dial back to 0.
    dial_changed = ("object:property-change:accessible-value", "回転", 0)
    expect(dial.set_current_value(30), "the dial takes a value through the bus")
    wait_for("dial at 30, heard", lambda: dial.get_current_value() == 30 and dial_changed in heard)
    heard.clear()
    after = buttons["次へ"]
    press(after)

    def stepped():
        return dial.get_current_value() == 0 and after.get_state_set().contains(Atspi.StateType.SENSITIVE) \
            and ("object:state-changed:sensitive", "次へ", 1) in heard and view.get_name() == "b.bmp"
    wait_for("step after pressing 次へ", stepped)
    print("heard:", heard)
    for event in (dial_changed,
                  ("object:state-changed:sensitive", "次へ", 0),
                  ("object:state-changed:sensitive", "前へ", 0)):
        expect(event in heard, f"the bus reported {event}")

    press(buttons["終了"])
    box = wait_for("confirmation box", lambda: window_up("はい(Y)"))
    answers = sorted(n.get_name() for n, _ in walk(box) if n.get_role() == Atspi.Role.PUSH_BUTTON)
    expect(answers == ["いいえ(N)", "はい(Y)"], f"the box's buttons read はい and いいえ, they read {answers}")
    press(next(n for n, _ in walk(box) if n.get_name() == "はい(Y)"))
    expect(process.wait(BOUND_S) == 0, "Yes ends the viewer with exit code 0")
    print("PASS")


if __name__ == "__main__":
    main()
