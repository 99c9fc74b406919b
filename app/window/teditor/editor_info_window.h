// Editor1 on the real editor control: a TEditor set up as the window's
// layout stores it, seen by the window through InfoWindow.
#pragma once

#include <memory>
#include <string>

#include "app/window/info_window.h"
#include "editor/control/editor.h"

namespace app {

class EditorInfoWindow : public InfoWindow {
 public:
  // Creates the control's window inside `parent`.
  explicit EditorInfoWindow(QWidget* parent);
  ~EditorInfoWindow() override;

  QWidget* Widget() override;
  platform::TStrings& Lines() override { return editor_.Lines(); }
  int VisibleRows() const override { return editor_.VisibleRows(); }
  int TopRow() const override { return editor_.TopRow(); }
  void SetTopRow(int row) override { editor_.SetTopRow(row); }
  void SetCaretToEnd() override;
  int CursorKind() const override { return editor_.CursorKind(); }
  const editor::TEditorCursors& Cursors() const override { return editor_.Caret().Cursors(); }
  void SetCursor(platform::TCursor cursor) override { editor_.SetCursor(cursor); }
  void SetScreenCursor(platform::TCursor cursor) override { editor_.SetScreenCursor(cursor); }
  TTokenKind TokenKindFromCaret() override { return editor_.TokenKindFromCaret(); }
  TTokenKind TokenKindFromPos(QPoint point) override;
  std::string TokenFromCaret() override;
  void SelectTokenFromCaret() override { editor_.SelectTokenFromCaret(); }

  // The control itself, for those who look closer (tests).
  editor::TEditor& Control() { return editor_; }

 private:
  void ApplyLayout();

  editor::TEditor editor_;
};

std::unique_ptr<InfoWindow> MakeEditorInfoWindow(QWidget* parent);

}  // namespace app
