"""The Orca side of scripts/check-screen-reader.sh: starts the window and
pirukko-edit, types at them as a user does (xdotool) and reads back from
Orca's debug log what Orca spoke and where it believed the focus was.

Orca writes its debug log through a buffer, so the log is read once Orca
has ended; every step notes the time it began, and what Orca logged from
then on belongs to it."""
import datetime
import os
import re
import signal
import subprocess
import sys
import time

import pyatspi

ORCA_LOG = os.environ["PIRUKKO_SR_ORCA_LOG"]
failures = []
# Checks of what Orca said, made once its log is complete.
later = []


def check(ok, what, detail=None):
    print(("ok    " if ok else "FAIL  ") + what)
    if detail is not None and not ok:
        print("      " + str(detail))
    if not ok:
        failures.append(what)


# --- Orca's debug log -------------------------------------------------------

ENTRY = re.compile(r"^\d\d:\d\d:\d\d\.\d{6} - ", re.M)
# What Orca spoke, then (mostly) the voice it spoke with.
SPOKEN = re.compile(r"^SPEECH OUTPUT: '(.*)' ?(?:\[?\{.*\}\]?|None)?$", re.S)
FOCUS = re.compile(r"ORCA: Changing locusOfFocus from .* to \[(.*?) \| (.*?)\]\. Notify")


def log_mark():
    """Now, as Orca stamps its log entries."""
    return datetime.datetime.now().strftime("%H:%M:%S.%f")


def log_entries(since, until="99"):
    with open(ORCA_LOG, "rb") as log:
        data = log.read().decode("utf-8", "replace")
    starts = [m.start() for m in ENTRY.finditer(data)] + [len(data)]
    # A text of several lines goes on in lines indented by 18 spaces.
    return [ENTRY.sub("", data[a:b], count=1).rstrip("\n").replace("\n" + " " * 18, "\n")
            for a, b in zip(starts, starts[1:]) if since <= data[a:a + 15] < until]


def push_orca_log_out():
    """Orca's log reaches its file a buffer at a time: keys Orca notes (a
    lone Shift changes nothing) push what it logged before out of it, in
    case Orca does not end cleanly."""
    for _ in range(8):
        key("Shift_L")
        time.sleep(0.4)


def stop_orca():
    pid = int(os.environ["PIRUKKO_SR_ORCA_PID"])
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    if not wait_until(lambda: not os.path.exists("/proc/%d" % pid), 15):
        os.kill(pid, signal.SIGKILL)


def spoken(since, until="99"):
    out = []
    for entry in log_entries(since, until):
        match = SPOKEN.match(entry)
        if match:
            out.append(match.group(1))
    return out


def focus_changes(since, until="99"):
    return [m.groups() for entry in log_entries(since, until) for m in [FOCUS.search(entry)] if m]


def said(line, since, until="99"):
    """Whether Orca spoke `line` whole, in one utterance."""
    wanted = line.strip()
    return any(wanted in utterance for utterance in spoken(since, until))


# --- The programs on the accessibility bus ------------------------------------

def key(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=False)


def wait_until(condition, timeout=20.0, step=0.2):
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            if condition():
                return True
        except Exception:
            pass
        time.sleep(step)
    return False


def find_application(names, timeout=30):
    found = []

    def look():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name in names and app.childCount > 0:
                found.append(app)
                return True
        return False

    wait_until(look, timeout, 0.5)
    return found[0] if found else None


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find(app, role, name=None):
    for node in walk(app):
        try:
            if node.getRoleName() == role and (name is None or node.name == name):
                return node
        except Exception:
            pass
    return None


def focused(app):
    last = None
    for node in walk(app):
        try:
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                last = node
        except Exception:
            pass
    return last


def activate(title):
    subprocess.run(["xdotool", "search", "--sync", "--name", title, "windowactivate", "--sync"],
                   check=False, timeout=30)
    time.sleep(1.5)


def line_at_caret(text_object):
    text = text_object.queryText()
    line, _, _ = text.getTextAtOffset(text.caretOffset, pyatspi.TEXT_BOUNDARY_LINE_START)
    return line.rstrip("\n")


def start(program, argument):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    return subprocess.Popen([program, argument], env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)


# --- The window -----------------------------------------------------------------

def check_window():
    window = start(os.environ["PIRUKKO_SR_WINDOW"], os.environ["PIRUKKO_SR_FOLDER"])
    try:
        app = find_application(("varnek-window", "Pirukko", "varnek"))
        check(app is not None, "the window is on the accessibility bus")
        if app is None:
            return
        activate("^Pirukko$")
        log = find(app, "terminal", "情報ウインドウ")
        check(log is not None, "the log is a terminal named 情報ウインドウ")
        if log is None:
            return

        # F5 with the log focused: the preview's lines are spoken as they
        # come, its closing line included.
        log.queryComponent().grabFocus()
        check(wait_until(lambda: log.getState().contains(pyatspi.STATE_FOCUSED), 10),
              "the log takes the focus")
        time.sleep(1.5)
        f5 = log_mark()
        key("F5")
        text = log.queryText()
        wait_until(lambda: "プレビューを終了しました" in text.getText(0, -1), 30)
        time.sleep(6)
        lines = [l for l in text.getText(0, -1).split("\n") if l.strip()]
        closing = lines[-1] if lines else ""
        print("closing line: %r" % closing)
        f5_end = log_mark()
        later.append(lambda: check(
            "プレビューを終了しました" in closing and said(closing, f5, f5_end),
            "a preview's closing line is spoken while the log has the focus",
            spoken(f5, f5_end)[-5:]))

        # Lines of the log read by the arrow keys: whole, last character
        # included. Orca may speak a line a while after its key.
        ups = log_mark()
        read = []
        for _ in range(6):
            key("Up")
            time.sleep(2.5)
            line = line_at_caret(log)
            if re.search(r"(Date|COPY_From|To  ):", line):
                read.append(line)
        for line in read:
            later.append(lambda line=line: check(
                said(line, ups), "the log's line %r is spoken whole" % line))
        later.append(lambda: check(any("Date:" in line for line in read),
                                   "a date line of the preview was read", spoken(ups)))

        # Space on 実行: Orca names the control that has the keyboard focus
        # once the run has ended, and only that one.
        run = find(app, "push button", "実行")
        run.queryComponent().grabFocus()
        wait_until(lambda: run.getState().contains(pyatspi.STATE_FOCUSED), 10)
        time.sleep(1.5)
        mark = log_mark()
        key("space")
        wait_until(lambda: not run.getState().contains(pyatspi.STATE_SENSITIVE), 10)
        wait_until(lambda: run.getState().contains(pyatspi.STATE_SENSITIVE), 60)
        time.sleep(3)
        holder = focused(app)
        where = (holder.getRoleName(), holder.name) if holder is not None else None
        print("the keyboard focus after 実行: %r" % (where,))
        ended = log_mark()

        def orca_follows():
            changes = focus_changes(mark, ended)
            print("Orca's focus changes after 実行: %r" % changes)
            check(bool(changes) and changes[-1] == where,
                  "after 実行 Orca's focus is the control with the keyboard focus")
        later.append(orca_follows)
        check(where == ("push button", "実行"), "the keyboard focus is back on 実行 after the run")
    finally:
        window.terminate()
        try:
            window.wait(10)
        except subprocess.TimeoutExpired:
            window.kill()


# --- pirukko-edit ------------------------------------------------------------------

def check_editor():
    text_file = os.environ["PIRUKKO_SR_TEXT"]
    name = os.path.basename(text_file)
    mark = log_mark()
    editor = start(os.environ["PIRUKKO_SR_EDIT"], text_file)
    try:
        app = find_application(("pirukko-edit", "Pirukko Edit"))
        check(app is not None, "pirukko-edit is on the accessibility bus")
        if app is None:
            return
        activate(re.escape(name))
        text = find(app, "text", name)
        check(text is not None, "pirukko-edit's text is named %r" % name)
        if text is None:
            return
        text.queryComponent().grabFocus()
        time.sleep(2)
        later.append(lambda: check(any(change[1] == name for change in focus_changes(mark)),
                                   "Orca names the text after its file on focus",
                                   focus_changes(mark)))
        down = log_mark()
        key("Down")
        time.sleep(3)
        line = line_at_caret(text)
        print("pirukko-edit's line: %r" % line)
        later.append(lambda: check(line.endswith("～") and said(line, down),
                                   "pirukko-edit's line is spoken whole", spoken(down)))
        push_orca_log_out()
    finally:
        editor.terminate()
        try:
            editor.wait(10)
        except subprocess.TimeoutExpired:
            editor.kill()


def main():
    check(wait_until(lambda: os.path.getsize(ORCA_LOG) > 0, 20), "Orca writes its debug log")
    check_window()
    check_editor()
    stop_orca()
    for deferred in later:
        deferred()
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
