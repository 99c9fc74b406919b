#include "editapp/window/edit_prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace editapp {
namespace {

const QString kTextFilter =
    QStringLiteral("テキスト ファイル (*.txt *.csv *.ini *.log);;すべてのファイル (*)");

// For the life of a dialog: as it closes, the window it came from is made
// the active one at once and its focus widget has the keyboard again. Left
// to the desktop, the window gets the keyboard back only when the window
// manager gets round to it (up to a second): meanwhile keys reach no window
// or reach the text past the input method, as raw letters, while a file
// opened from the dialog loads.
class KeyboardBack {
 public:
  explicit KeyboardBack(QWidget* parent)
      : window_(parent ? parent->window() : nullptr),
        focus_(window_ ? window_->focusWidget() : nullptr) {}
  ~KeyboardBack() {
    if (!window_ || !window_->isVisible()) return;
    window_->activateWindow();
    if (focus_ && focus_->isVisible()) focus_->setFocus(Qt::ActiveWindowFocusReason);
  }
  KeyboardBack(const KeyboardBack&) = delete;
  KeyboardBack& operator=(const KeyboardBack&) = delete;

 private:
  QPointer<QWidget> window_;
  QPointer<QWidget> focus_;
};

}  // namespace

QString ProgramTitle() {
  return QStringLiteral("Pirukko Edit");
}

TSaveChoice DialogPrompts::AskSaveChanges(QWidget* parent, const QString& name) {
  KeyboardBack keyboard_back(parent);
  QMessageBox box(QMessageBox::Warning, ProgramTitle(),
                  QStringLiteral("「%1」は変更されています。変更を保存しますか?").arg(name),
                  QMessageBox::NoButton, parent);
  QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("保存しない"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return TSaveChoice::Save;
  if (box.clickedButton() == discard) return TSaveChoice::Discard;
  return TSaveChoice::Cancel;
}

TAfterMarkChoice DialogPrompts::AskAfterMark(QWidget* parent, const QString& name, qint64 bytes) {
  KeyboardBack keyboard_back(parent);
  QMessageBox box(
      QMessageBox::Warning, ProgramTitle(),
      QStringLiteral("「%1」の終端記号 (0x1A) から後ろの %2 バイトは表示していません。\n"
                     "この部分をそのまま残して保存しますか?")
          .arg(name)
          .arg(bytes),
      QMessageBox::NoButton, parent);
  QPushButton* keep = box.addButton(QStringLiteral("残して保存"), QMessageBox::AcceptRole);
  QPushButton* drop = box.addButton(QStringLiteral("捨てて保存"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(keep);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == keep) return TAfterMarkChoice::Keep;
  if (box.clickedButton() == drop) return TAfterMarkChoice::Drop;
  return TAfterMarkChoice::Cancel;
}

std::optional<QString> DialogPrompts::ChooseFileToOpen(QWidget* parent, const QString& folder) {
  KeyboardBack keyboard_back(parent);
  const QString path =
      QFileDialog::getOpenFileName(parent, QStringLiteral("開く"), folder, kTextFilter);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> DialogPrompts::ChooseFileToSave(QWidget* parent, const QString& suggested) {
  KeyboardBack keyboard_back(parent);
  const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("名前を付けて保存"),
                                                    suggested, kTextFilter);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> DialogPrompts::AskFindText(QWidget* parent, const QString& last) {
  KeyboardBack keyboard_back(parent);
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent, QStringLiteral("検索"), QStringLiteral("検索する文字列:"),
                            QLineEdit::Normal, last, &ok);
  if (!ok || text.isEmpty()) return std::nullopt;
  return text;
}

std::optional<int> DialogPrompts::AskNumber(QWidget* parent, const QString& title,
                                            const QString& label, int value, int min, int max) {
  KeyboardBack keyboard_back(parent);
  bool ok = false;
  const int number = QInputDialog::getInt(parent, title, label, value, min, max, 1, &ok);
  if (!ok) return std::nullopt;
  return number;
}

void DialogPrompts::ShowWarning(QWidget* parent, const QString& text) {
  KeyboardBack keyboard_back(parent);
  QMessageBox::warning(parent, ProgramTitle(), text);
}

void DialogPrompts::ShowError(QWidget* parent, const QString& text) {
  KeyboardBack keyboard_back(parent);
  QMessageBox::critical(parent, ProgramTitle(), text);
}

}  // namespace editapp
