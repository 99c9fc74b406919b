"""The AT-SPI side of scripts/check-accessibility.sh: what a screen reader
finds in the running window, and what it is told when the log grows."""
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)


def find_application(timeout=20):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name in ("varnek-window", "Pirukko", "varnek"):
                if app.childCount > 0:
                    return app
        time.sleep(0.5)
    return None


def walk(node, depth=0, out=None):
    out = [] if out is None else out
    try:
        role = node.getRoleName()
        name = node.name
        states = node.getState()
        labels = []
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                labels += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    except Exception as error:  # an object that went away while being read
        print("  " * depth + "(gone: %s)" % error)
        return out
    flags = [s for s, n in ((pyatspi.STATE_FOCUSABLE, "focusable"),
                             (pyatspi.STATE_EDITABLE, "editable"),
                             (pyatspi.STATE_MULTI_LINE, "multi-line"),
                             (pyatspi.STATE_SHOWING, "showing")) if states.contains(s)]
    label = (" labelled-by=%r" % labels) if labels else ""
    print("%s%s %r%s" % ("  " * depth, role, name, label))
    out.append((node, role, name, labels, depth))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)
    return out


def main():
    app = find_application()
    check(app is not None, "the window is on the accessibility bus")
    if app is None:
        return 1
    print("--- tree ---")
    nodes = walk(app)
    print("--- checks ---")
    by_name = {}
    for node, role, name, labels, _ in nodes:
        by_name.setdefault(name, []).append((node, role, labels))

    def has(name, role):
        return any(r == role for _, r, _ in by_name.get(name, []))

    for name, role in (("場所(ディレクトリ)指定", "panel"), ("ファイル名の設定", "panel"),
                       ("ついでに… 機能", "panel"), ("変更後ファイル名サンプル", "panel"),
                       ("実行ディレクトリ", "panel"), ("実行", "push button"),
                       ("プレビュー", "push button"), ("閉じる", "push button"),
                       ("終了", "push button"), ("新しいフォルダ名", "text"),
                       ("マスク", "text"), ("先頭に付く文字", "text"), ("日付表示文字", "text"),
                       ("連番開始位置", "spin button"), ("Exif優先", "check box"),
                       ("拡張子の変更", "check box"), ("ファイル更新日", "radio button"),
                       ("ディレクトリ", "tree"), ("情報ウインドウ", "terminal")):
        roles = sorted({r for _, r, _ in by_name.get(name, [])})
        check(has(name, role), "%s %r (found as %s)" % (role, name, roles or "nothing"))
    combos = [(n, labels) for n, r, n2, labels, _ in nodes if r == "combo box"]
    check(len(combos) == 3 and all(labels for _, labels in combos),
          "the three combo boxes are labelled by their labels: %r" % [l for _, l in combos])
    unnamed = [(r, d) for n, r, name, labels, d in nodes
               if not name and not labels and r in ("push button", "text", "check box",
                                                    "radio button", "spin button", "combo box")]
    check(not unnamed, "no control without a name: %r" % unnamed)

    logs = [n for n, r, _ in by_name.get("情報ウインドウ", []) if r == "terminal"]
    if not logs:
        return 1
    log = logs[0].queryText()
    text = log.getText(0, -1)
    print("--- the log (%d characters) ---" % log.characterCount)
    print(text)
    check(log.characterCount > 0 and "情報ウインドウ" in text, "the log's text reads in Unicode")
    last = log.getTextAtOffset(max(log.characterCount - 1, 0), pyatspi.TEXT_BOUNDARY_LINE_START)
    print("last line: %r" % (last[0],))
    check(last[0].strip() != "", "the log's last line reads at its offset")
    check(log.caretOffset >= 0, "the log has a caret offset (%d)" % log.caretOffset)

    # プレビュー: the new lines arrive as insertions a screen reader can speak.
    inserted = []

    def on_insert(event):
        if event.source == logs[0] or event.source.name == "情報ウインドウ":
            inserted.append(event.any_data)

    pyatspi.Registry.registerEventListener(on_insert, "object:text-changed:insert")
    button = [n for n, r, _ in by_name.get("プレビュー", []) if r == "push button"][0]
    action = button.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "SetFocus") or i == 0:
            action.doAction(i)
            break
    loop = GLib.MainLoop()
    GLib.timeout_add(4000, loop.quit)
    loop.run()
    pyatspi.Registry.deregisterEventListener(on_insert, "object:text-changed:insert")
    after = log.getText(0, -1)
    print("--- inserted (%d events) ---" % len(inserted))
    for piece in inserted[-5:]:
        print(repr(piece))
    check(len(after) > len(text), "プレビュー wrote into the log (%d -> %d characters)"
          % (len(text), len(after)))
    check(any(piece.strip() for piece in inserted), "the new lines were announced as insertions")
    last = log.getTextAtOffset(log.characterCount - 1, pyatspi.TEXT_BOUNDARY_LINE_START)
    print("last line after the preview: %r" % (last[0],))
    print("%d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
