// TEMPORARY: stands in the information window's place until the editor
// control TEditor is ready to be adapted to InfoWindow. It is an empty black
// panel of the right size with a notice; the lines are kept (so every command
// runs and the program can be tried) but not shown, and it knows no tokens.
// Remove it, and its use in main.cpp, once TEditor implements InfoWindow.
#pragma once

#include <QWidget>

#include "app/window/info_window.h"

namespace app {

class TemporaryInfoPanel : public QWidget, public InfoWindow {
 public:
  explicit TemporaryInfoPanel(QWidget* parent);

  QWidget* Widget() override { return this; }
  platform::TStrings& Lines() override { return lines_; }
  int VisibleRows() const override { return 0; }
  int TopRow() const override { return top_row_; }
  void SetTopRow(int row) override { top_row_ = row; }
  int CursorKind() const override { return 0; }
  const editor::TEditorCursors& Cursors() const override { return cursors_; }
  void SetCursor(platform::TCursor) override {}
  void SetScreenCursor(platform::TCursor) override {}
  TTokenKind TokenKindFromCaret() override { return tkEnd; }
  TTokenKind TokenKindFromPos(QPoint) override { return tkEnd; }
  std::string TokenFromCaret() override { return {}; }
  void SelectTokenFromCaret() override {}

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  platform::TStringList lines_;
  editor::TEditorCursors cursors_;
  int top_row_ = 0;
};

std::unique_ptr<InfoWindow> MakeTemporaryInfoPanel(QWidget* parent);

}  // namespace app
