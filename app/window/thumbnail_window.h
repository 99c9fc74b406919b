// "縮小画像で確認": the preview's files as pictures, in the run's order, each
// with its new name under it and the preview's mark for it. A window of its
// own beside the main window, resizable; its pictures are made on worker
// threads, those in sight first, and it never waits for one: a picture not
// made yet is an empty frame, a file that gives none a plain icon with its
// name.
#pragma once

#include <QWidget>

#include <functional>

#include "app/core/copy_run.h"

class QListView;

namespace app {

class ThumbnailModel;

class ThumbnailWindow : public QWidget {
 public:
  explicit ThumbnailWindow(QWidget* owner);

  // Empties the window for a new preview and gives what the preview hands
  // its files to.
  std::function<void(const PreviewedFile&)> StartPreview();

  ThumbnailModel* Model() const { return model_; }
  QListView* View() const { return view_; }

  // The side of a picture's box, in pixels.
  static constexpr int kSide = 160;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Tells the model which rows are in sight (and a screen around them).
  void FollowSight();

  ThumbnailModel* model_;
  QListView* view_;
};

}  // namespace app
