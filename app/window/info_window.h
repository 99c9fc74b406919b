// What the main window needs from its information window, Editor1: the
// read-only editor control that shows the run's log, the file listings, the
// help and the about text, and opens the addresses in them. The control
// implements this through a thin adapter; the window never sees more.
#pragma once

#include <QPoint>

#include <functional>
#include <memory>
#include <string>

#include "editor/colour/caret_settings.h"
#include "editor/colour/token_kind.h"
#include "platform/cursor_index.h"
#include "platform/string_list.h"

class QWidget;

namespace app {

// The token kinds, as the colouring lexer gives them; the window acts on
// tkUrl and tkMail.
using editor::tkEnd;
using editor::tkMail;
using editor::tkUrl;
using editor::TTokenKind;

class InfoWindow {
 public:
  virtual ~InfoWindow() = default;

  // The control as it sits in the window's layout; the window places it.
  virtual QWidget* Widget() = 0;

  // The line store: clear, add a line at the end, whole text (set and get),
  // load a CP932 text file, line count. Each change fires OnChange.
  virtual platform::TStrings& Lines() = 0;

  // View position: whole rows that fit, and the first row shown.
  virtual int VisibleRows() const = 0;
  virtual int TopRow() const = 0;
  virtual void SetTopRow(int row) = 0;
  // Puts the caret at the end of the last line: where the line added last
  // ends, and where a screen reader looks for what was added.
  virtual void SetCaretToEnd() = 0;

  // The current pointer kind (0 over text, 1 over the left margin, 2 over
  // the selection, 3 dragging the selection to move it, 4 to copy it) and
  // the pointer shapes its caret settings give for them (Caret.Cursors).
  virtual int CursorKind() const = 0;
  virtual const editor::TEditorCursors& Cursors() const = 0;
  // The control's own pointer shape, and the system pointer at once.
  virtual void SetCursor(platform::TCursor cursor) = 0;
  virtual void SetScreenCursor(platform::TCursor cursor) = 0;

  // Tokens as the colouring lexer classifies them, at the caret or at a
  // client point; the text is CP932.
  virtual TTokenKind TokenKindFromCaret() = 0;
  virtual TTokenKind TokenKindFromPos(QPoint client_point) = 0;
  virtual std::string TokenFromCaret() = 0;
  virtual void SelectTokenFromCaret() = 0;

  // The control's events, fired after what they report.
  std::function<void()> OnChange;
  std::function<void()> OnDblClick;
  std::function<void(QPoint client_point)> OnMouseMove;
  std::function<void()> OnResize;
};

// Makes the information window as the layout stores it (read-only, black,
// white text, the addresses coloured, the first line "■□■ 情報ウインドウ ■□■",
// reached by Tab, which it passes on), as a child of `parent`.
using InfoWindowFactory = std::function<std::unique_ptr<InfoWindow>(QWidget* parent)>;

}  // namespace app
