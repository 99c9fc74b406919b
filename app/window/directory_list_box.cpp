#include "app/window/directory_list_box.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace app {
namespace {

constexpr int kPathRole = Qt::UserRole;

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

bool DirectoryListBox::SetDirectory(const QString& path) {
  const QFileInfo info(QDir(path).absolutePath());
  if (!info.isDir() || !info.isReadable()) return false;
  const QString cleaned = QDir::cleanPath(info.absoluteFilePath());
  if (cleaned == directory_) return true;
  directory_ = cleaned;
  Fill();
  if (OnChange) OnChange();
  return true;
}

void DirectoryListBox::Refresh() {
  if (!directory_.isEmpty()) Fill();
}

void DirectoryListBox::Fill() {
  clear();
  const QIcon opened = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  // The chain of ancestors, root first, each nested in the one before.
  QStringList chain;
  for (QDir dir(directory_);;) {
    chain.prepend(dir.absolutePath());
    if (dir.isRoot() || !dir.cdUp()) break;
  }
  QTreeWidgetItem* parent_item = nullptr;
  for (const QString& path : chain) {
    const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
    auto* item = parent_item ? new QTreeWidgetItem(parent_item) : new QTreeWidgetItem(this);
    item->setText(0, name);
    item->setIcon(0, opened);
    item->setData(0, kPathRole, path);
    if (HintOf) item->setToolTip(0, HintOf(path));
    parent_item = item;
  }
  QTreeWidgetItem* current = parent_item;

  const QDir dir(directory_);
  const QStringList children =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& child : children) {
    auto* item = new QTreeWidgetItem(current);
    item->setText(0, child);
    item->setIcon(0, closed);
    item->setData(0, kPathRole, dir.absoluteFilePath(child));
    if (HintOf) item->setToolTip(0, HintOf(dir.absoluteFilePath(child)));
  }
  expandAll();
  setCurrentItem(current);
  scrollToItem(current);
}

void DirectoryListBox::OpenItem(QTreeWidgetItem* item) {
  if (!item) return;
  if (!SetDirectory(item->data(0, kPathRole).toString())) QApplication::beep();
}

void DirectoryListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    OpenItem(currentItem());
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace app
