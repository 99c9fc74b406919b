#include "app/window/directory_list_box.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

#include <unistd.h>

#include <algorithm>

#include "platform/file_system.h"
#include "platform/sub_folders.h"

namespace app {
namespace {

// Each entry keeps its directory's name on disk: names whose bytes are no
// UTF-8 do not survive a trip through QString.
constexpr int kPathRole = Qt::UserRole;

// `path` made absolute, without "." and ".." and doubled slashes, as
// QDir::cleanPath does, but on the bytes.
QByteArray CleanNativePath(const QByteArray& path) {
  QByteArray absolute = path;
  if (!absolute.startsWith('/')) absolute = QFile::encodeName(QDir::currentPath()) + '/' + path;
  QList<QByteArray> parts;
  for (const QByteArray& part : absolute.split('/')) {
    if (part.isEmpty() || part == ".") continue;
    if (part == "..") {
      if (!parts.isEmpty()) parts.removeLast();
      continue;
    }
    parts << part;
  }
  return '/' + parts.join('/');
}

QByteArray Child(const QByteArray& directory, const QByteArray& name) {
  return directory.endsWith('/') ? directory + name : directory + '/' + name;
}

// The sub-directories of `directory` (links to directories too) but the
// hidden ones, in name order whatever the letter case.
QList<QByteArray> SubDirectories(const QByteArray& directory) {
  QList<QByteArray> names;
  for (const platform::TSubFolder& folder :
       platform::FindSubFolders(directory.toStdString(), platform::FolderLinks::kFollowed)) {
    names << QByteArray::fromStdString(folder.NativeName);
  }
  std::sort(names.begin(), names.end(), [](const QByteArray& a, const QByteArray& b) {
    const int order = QFile::decodeName(a).compare(QFile::decodeName(b), Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
  });
  return names;
}

QString ShownName(const QByteArray& path) {
  if (path == "/") return QStringLiteral("/");
  return QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
}

}  // namespace

DirectoryListBox::DirectoryListBox(QWidget* parent, const char* name) : QTreeWidget(parent) {
  setObjectName(QString::fromLatin1(name));
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setIndentation(10);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item, int) { OpenItem(item); });
}

QString DirectoryListBox::Directory() const {
  return QFile::decodeName(native_);
}

bool DirectoryListBox::SetDirectory(const QString& path) {
  return SetNativeDirectory(QFile::encodeName(QDir(path).absolutePath()));
}

bool DirectoryListBox::SetNativeDirectory(const QByteArray& path) {
  const QByteArray cleaned = CleanNativePath(path);
  if (!platform::DirectoryExists(cleaned.toStdString()) || access(cleaned.constData(), R_OK) != 0) return false;
  if (cleaned == native_) return true;
  native_ = cleaned;
  Fill();
  if (OnChange) OnChange();
  return true;
}

void DirectoryListBox::Refresh() {
  if (!native_.isEmpty()) Fill();
}

void DirectoryListBox::Fill() {
  clear();
  const QIcon opened = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  // The chain of ancestors, root first, each nested in the one before.
  QList<QByteArray> chain{"/"};
  for (qsizetype slash = native_.indexOf('/', 1); native_.size() > 1;
       slash = native_.indexOf('/', slash + 1)) {
    chain << (slash < 0 ? native_ : native_.left(slash));
    if (slash < 0) break;
  }
  QTreeWidgetItem* parent_item = nullptr;
  for (const QByteArray& path : chain) {
    auto* item = parent_item ? new QTreeWidgetItem(parent_item) : new QTreeWidgetItem(this);
    item->setText(0, ShownName(path));
    item->setIcon(0, opened);
    item->setData(0, kPathRole, path);
    if (HintOf) item->setToolTip(0, HintOf(path));
    parent_item = item;
  }
  QTreeWidgetItem* current = parent_item;

  for (const QByteArray& name : SubDirectories(native_)) {
    const QByteArray path = Child(native_, name);
    auto* item = new QTreeWidgetItem(current);
    item->setText(0, QFile::decodeName(name));
    item->setIcon(0, closed);
    item->setData(0, kPathRole, path);
    if (HintOf) item->setToolTip(0, HintOf(path));
  }
  expandAll();
  setCurrentItem(current);
  scrollToItem(current);
}

void DirectoryListBox::OpenItem(QTreeWidgetItem* item) {
  if (!item) return;
  if (!SetNativeDirectory(item->data(0, kPathRole).toByteArray())) QApplication::beep();
}

void DirectoryListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    OpenItem(currentItem());
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace app
