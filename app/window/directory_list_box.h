// The directory tree list users know from the desktop the layout comes from:
// the ancestors of the current directory from the root down, the current one
// opened, and its sub-directories below it. Double-click or Enter on an entry
// makes it the current directory. Hidden directories are not listed; an
// entry for which HintOf has a text shows it as its tool tip.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTreeWidget>

#include <functional>

namespace app {

class DirectoryListBox : public QTreeWidget {
 public:
  DirectoryListBox(QWidget* parent, const char* name);

  // The current directory: absolute, cleaned, "/" for the root. Shown as
  // text; a name whose bytes are no UTF-8 has U+FFFD in their place here, so
  // what reaches the disk is NativeDirectory.
  QString Directory() const;
  // The current directory's name on disk, byte for byte.
  const QByteArray& NativeDirectory() const { return native_; }
  // Moves to `path` (made absolute) and refills the list; OnChange follows
  // a real change. A path that is not a readable directory is refused
  // (false) and nothing changes.
  bool SetDirectory(const QString& path);
  // The same, for a name on disk, whatever its bytes.
  bool SetNativeDirectory(const QByteArray& path);

  // Lists the current directory again (after something made or removed
  // a directory in it); the current directory stays.
  void Refresh();

  std::function<void()> OnChange;
  // A hint for an entry, given its name on disk (empty for none).
  std::function<QString(const QByteArray& native_path)> HintOf;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Entries open with a double-click, never fold: no branch marks.
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

 private:
  void Fill();
  void OpenItem(QTreeWidgetItem* item);

  QByteArray native_;
};

}  // namespace app
