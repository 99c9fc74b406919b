// The files of a preview as the thumbnail window shows them, in the run's
// order: each with its new name, the mark the preview gives it (a name a
// later file overwrites, and whatever mark the run's log has for it), and
// its picture, made on worker threads when first shown. Only the pictures
// lately shown are kept, so that ten thousand files cost no more than a few
// hundred.
#pragma once

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QSet>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/core/copy_run.h"

namespace platform {
class TThumbnailQueue;
}

namespace app {

class ThumbnailModel : public QAbstractListModel {
 public:
  enum Role {
    kMarkRole = Qt::UserRole + 1,  // QString: the log's mark for the file, or empty
    kPictureRole,                  // QImage: null while it is being made or when none
    kUnreadableRole,               // bool: the file gave no picture
    kFileNameRole,                 // QString: the file's own name
  };

  // Pictures at most `side` pixels wide and high.
  ThumbnailModel(int side, QObject* parent = nullptr);
  ~ThumbnailModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  // Asking for a picture that is not there yet asks the workers for it.
  QVariant data(const QModelIndex& index, int role) const override;

  // Empties the list for a new preview; pictures of the last one that are
  // still being made are dropped.
  void Clear();
  // What the preview hands over, from its own thread: the files arrive in
  // the window in batches.
  std::function<void(const PreviewedFile&)> Sink();
  // Only the rows [first, last] (those in sight, and a few around them) are
  // still wanted: the workers drop the rest of what waits.
  void KeepOnly(int first, int last);

  int PicturesKept() const { return pictures_.size(); }
  int Waiting() const;

  struct Inbox;

 private:
  struct Entry {
    std::string path;
    QString new_name;
    QString mark;
    QString file_name;
  };
  void TakeInbox();
  void TakePictures();

  int side_;
  std::vector<Entry> entries_;
  // Keys of pictures count on from every preview's first: a late picture
  // of an earlier preview finds no row.
  int first_key_ = 0;
  int next_key_ = 0;
  mutable QCache<int, QImage> pictures_;
  mutable QSet<int> asked_;
  QSet<int> unreadable_;
  std::shared_ptr<Inbox> inbox_;
  std::unique_ptr<platform::TThumbnailQueue> queue_;
};

}  // namespace app
