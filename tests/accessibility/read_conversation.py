"""Reads Sprecho's conversation the way a screen reader does, through the
AT-SPI bus: finds the application and its conversation view, listens to its
text and caret events, types "Hallo" and Return into the program (xdotool),
then expects the reply in the view's text and in a text-inserted event, the
caret after the new prompt, and the log window read as text.

Run by screen_reader_test.sh inside a session bus, on its X server. Every
wait is bounded; the first failure ends the run with a message."""

import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

WAIT_SECONDS = 20


def fail(message):
    print("FAILED: " + message, flush=True)
    sys.exit(1)


def pump(seconds):
    """Lets the events that arrived reach their listeners."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(what, found):
    """Polls `found` until it answers something, WAIT_SECONDS at most."""
    end = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < end:
        result = found()
        if result:
            return result
        pump(0.1)
    fail("no " + what + " within %d seconds" % WAIT_SECONDS)


def children(node):
    try:
        return [node.get_child_at_index(i) for i in range(node.get_child_count())]
    except GLib.Error:
        return []


def descendants(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for child in children(node):
        yield from descendants(child, depth + 1)


def application():
    for app in children(Atspi.get_desktop(0)):
        if app is not None and app.get_name() == "Sprecho":
            return app
    return None


def has_text(node):
    return "Text" in node.get_interfaces()


def text_of(node):
    if not has_text(node):
        return None
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


def find(app, role, name):
    for node in descendants(app):
        try:
            if node.get_role() == role and node.get_name() == name and has_text(node):
                return node
        except GLib.Error:
            continue
    return None


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True, timeout=WAIT_SECONDS)


def main():
    app = wait_for("application named Sprecho on the AT-SPI bus", application)
    view = wait_for("terminal named 'Sprecho – Unterhaltung'",
                    lambda: find(app, Atspi.Role.TERMINAL, "Sprecho – Unterhaltung"))
    wait_for("prompt => in the view's text", lambda: "=>" in (text_of(view) or ""))

    inserted = []
    carets = []

    def heard(event):
        if event.source == view:
            (inserted if event.type.startswith("object:text-changed:insert") else carets).append(event)

    listener = Atspi.EventListener.new(heard)
    listener.register("object:text-changed:insert")
    listener.register("object:text-caret-moved")
    pump(0.5)

    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Sprecho$"],
                            capture_output=True, text=True, timeout=WAIT_SECONDS).stdout.split()
    if not window:
        fail("no visible window titled Sprecho")
    xdotool("windowfocus", "--sync", window[0])
    xdotool("type", "--delay", "60", "Hallo")
    xdotool("key", "Return")

    def replied():
        text = text_of(view) or ""
        return "=>Hallo" in text and "Ich begrüsse dich!" in text
    wait_for("reply in the view's text", replied)
    wait_for("text-inserted event with the reply",
             lambda: any("Ich begrüsse dich!" in str(event.any_data) for event in inserted))
    if not carets:
        fail("no caret-moved event while typing")
    text = text_of(view)
    caret = Atspi.Text.get_caret_offset(view)
    if not text.endswith("=>") or caret != len(text):
        fail("caret at %d, not after the new prompt at the end (%d): %r" % (caret, len(text), text))
    print("read %r (%s): %r" % (view.get_name(), view.get_role_name(), text.strip()), flush=True)

    # The log window, shown with Control+Shift+P, is read as text too.
    xdotool("key", "ctrl+shift+p")
    log = wait_for("text named 'Protokoll'", lambda: find(app, Atspi.Role.TEXT, "Protokoll"))
    wait_for("the exchange in the log's text",
             lambda: "Patient: Hallo" in (text_of(log) or "") and "Sprecho: Ich begrüsse dich!" in text_of(log))
    print("read %r (%s): %d characters" % (log.get_name(), log.get_role_name(), len(text_of(log))), flush=True)
    listener.deregister("object:text-changed:insert")
    listener.deregister("object:text-caret-moved")
    return 0


if __name__ == "__main__":
    sys.exit(main())
