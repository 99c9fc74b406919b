#include "app/window/cp932_input.h"

#include <QApplication>
#include <QLineEdit>
#include <QObject>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "app/window/cp932_text.h"

namespace app {
namespace {

// Remembers the control's last text that had a CP932 form.
class Cp932Guard : public QObject {
 public:
  Cp932Guard(QObject* control, QString text) : QObject(control), last_good_(std::move(text)) {}

  // True when `text` may stay; otherwise the caller puts last_good back.
  bool Accept(const QString& text) {
    if (ToCp932(text)) {
      last_good_ = text;
      return true;
    }
    QApplication::beep();
    return false;
  }
  const QString& last_good() const { return last_good_; }

 private:
  QString last_good_;
};

}  // namespace

void KeepCp932(QLineEdit* edit) {
  auto* guard = new Cp932Guard(edit, edit->text());
  QObject::connect(edit, &QLineEdit::textChanged, guard, [edit, guard](const QString& text) {
    if (guard->Accept(text)) return;
    const int position = edit->cursorPosition();
    edit->setText(guard->last_good());
    edit->setCursorPosition(std::min(position, static_cast<int>(guard->last_good().size())));
  });
}

void KeepCp932(QPlainTextEdit* memo) {
  auto* guard = new Cp932Guard(memo, memo->toPlainText());
  QObject::connect(memo, &QPlainTextEdit::textChanged, guard, [memo, guard] {
    if (guard->Accept(memo->toPlainText())) return;
    const int position = memo->textCursor().position();
    memo->setPlainText(guard->last_good());
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(std::min(position, static_cast<int>(guard->last_good().size())));
    memo->setTextCursor(cursor);
  });
}

}  // namespace app
