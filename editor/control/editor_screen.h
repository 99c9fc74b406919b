// The screen updater: after the screen-row list recorded a change, it brings
// the rows on screen up to date with the least painting. Rows inserted or
// removed move the rows below by scrolling; only the changed rows are
// painted again, or everything when the change is taller than the view.
#pragma once

namespace editor {

class TEditor;

class TEditorScreen {
 public:
  explicit TEditorScreen(TEditor& editor) : FEditor(editor) {}
  virtual ~TEditorScreen() = default;
  TEditorScreen(const TEditorScreen&) = delete;
  TEditorScreen& operator=(const TEditorScreen&) = delete;

  // A change of the rows from `row` on: `old_count` rows became `new_count`.
  virtual void Update(int row, int old_count, int new_count);

 protected:
  TEditor& Editor() const { return FEditor; }

 private:
  TEditor& FEditor;
};

}  // namespace editor
