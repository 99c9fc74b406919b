#include "app/window/thumbnail_model.h"

#include <QFile>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include <algorithm>

#include "app/window/cp932_text.h"
#include "platform/path_rules.h"
#include "platform/thumbnails/thumbnail_queue.h"

namespace app {
namespace {

// The pictures kept, in KiB: some 1,200 of 160 pixels.
constexpr int kKeptKib = 96 * 1024;

}  // namespace

// Where the preview's thread leaves its files for the window's.
struct ThumbnailModel::Inbox {
  std::mutex mutex;
  std::vector<PreviewedFile> files;
  std::vector<std::pair<int, QImage>> pictures;
  QPointer<ThumbnailModel> model;
  bool closed = false;
};

ThumbnailModel::ThumbnailModel(int side, QObject* parent)
    : QAbstractListModel(parent), side_(side), pictures_(kKeptKib) {
  inbox_ = std::make_shared<Inbox>();
  inbox_->model = this;
  // Two workers: the disk, more than the processor, sets the pace, and the
  // window's thread keeps a core.
  const int workers = std::clamp(QThread::idealThreadCount() - 1, 1, 2);
  // The workers' pictures wait in the inbox too: the window takes all that
  // have come in one turn of its loop.
  queue_ = std::make_unique<platform::TThumbnailQueue>(
      side, workers, [inbox = inbox_](int key, const QImage& picture) {
        std::lock_guard<std::mutex> lock(inbox->mutex);
        if (inbox->closed) return;
        inbox->pictures.emplace_back(key, picture);
        if (inbox->pictures.size() == 1 && inbox->model) {
          QMetaObject::invokeMethod(
              inbox->model.data(),
              [model = inbox->model] {
                if (model) model->TakePictures();
              },
              Qt::QueuedConnection);
        }
      });
}

ThumbnailModel::~ThumbnailModel() {
  {
    std::lock_guard<std::mutex> lock(inbox_->mutex);
    inbox_->closed = true;
  }
  queue_.reset();
}

int ThumbnailModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant ThumbnailModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Entry& entry = entries_[index.row()];
  const int key = first_key_ + index.row();
  switch (role) {
    case Qt::DisplayRole:
      return entry.new_name;
    case Qt::ToolTipRole:
      return entry.mark.isEmpty() ? entry.file_name : entry.file_name + '\n' + entry.mark;
    case kMarkRole:
      return entry.mark;
    case kFileNameRole:
      return entry.file_name;
    case kUnreadableRole:
      return unreadable_.contains(key);
    case kPictureRole:
      if (const QImage* picture = pictures_.object(key)) return *picture;
      if (!unreadable_.contains(key) && !asked_.contains(key)) {
        asked_.insert(key);
        queue_->Ask(key, entry.path);
      }
      return QImage();
    default:
      return {};
  }
}

void ThumbnailModel::Clear() {
  {
    std::lock_guard<std::mutex> lock(inbox_->mutex);
    inbox_->files.clear();
  }
  queue_->Clear();
  beginResetModel();
  entries_.clear();
  pictures_.clear();
  asked_.clear();
  unreadable_.clear();
  first_key_ = next_key_;
  endResetModel();
}

std::function<void(const PreviewedFile&)> ThumbnailModel::Sink() {
  return [inbox = inbox_](const PreviewedFile& file) {
    std::lock_guard<std::mutex> lock(inbox->mutex);
    if (inbox->closed) return;
    inbox->files.push_back(file);
    // One call for a batch: the window takes whatever has come by then.
    if (inbox->files.size() == 1 && inbox->model) {
      QMetaObject::invokeMethod(
          inbox->model.data(),
          [model = inbox->model] {
            if (model) model->TakeInbox();
          },
          Qt::QueuedConnection);
    }
  };
}

void ThumbnailModel::TakeInbox() {
  std::vector<PreviewedFile> files;
  {
    std::lock_guard<std::mutex> lock(inbox_->mutex);
    files.swap(inbox_->files);
  }
  if (files.empty()) return;
  const int first = rowCount();
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(files.size()) - 1);
  for (PreviewedFile& file : files) {
    Entry entry;
    entry.file_name =
        QFile::decodeName(QByteArray::fromStdString(platform::ExtractFileName(file.path)));
    entry.path = std::move(file.path);
    entry.new_name = ToQString(file.new_name);
    entry.mark = ToQString(file.mark);
    entries_.push_back(std::move(entry));
  }
  next_key_ = first_key_ + rowCount();
  endInsertRows();
}

void ThumbnailModel::KeepOnly(int first, int last) {
  queue_->KeepOnly(first_key_ + first, first_key_ + last);
  // What was dropped is asked for again when it comes back into sight.
  for (auto it = asked_.begin(); it != asked_.end();) {
    const int row = *it - first_key_;
    it = row < first || row > last ? asked_.erase(it) : std::next(it);
  }
}

int ThumbnailModel::Waiting() const {
  return queue_->Waiting();
}

void ThumbnailModel::TakePictures() {
  std::vector<std::pair<int, QImage>> pictures;
  {
    std::lock_guard<std::mutex> lock(inbox_->mutex);
    pictures.swap(inbox_->pictures);
  }
  int first = rowCount();
  int last = -1;
  for (const auto& [key, picture] : pictures) {
    const int row = key - first_key_;
    if (row < 0 || row >= rowCount()) continue;  // an earlier preview's
    asked_.remove(key);
    if (picture.isNull()) {
      unreadable_.insert(key);
    } else {
      pictures_.insert(key, new QImage(picture),
                       std::max<qsizetype>(1, picture.sizeInBytes() / 1024));
    }
    first = std::min(first, row);
    last = std::max(last, row);
  }
  if (last >= first) emit dataChanged(index(first), index(last), {kPictureRole, kUnreadableRole});
}

}  // namespace app
