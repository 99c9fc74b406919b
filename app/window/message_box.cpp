#include "app/window/message_box.h"

namespace app {

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           const QString& caption, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, caption, text, buttons, parent);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setTextFormat(Qt::PlainText);
  // As on the desktop the layout comes from, the first button is the default
  // and Escape answers Cancel where there is one.
  for (QMessageBox::StandardButton first :
       {QMessageBox::Yes, QMessageBox::Ok, QMessageBox::No, QMessageBox::Cancel}) {
    if (buttons.testFlag(first)) {
      box.setDefaultButton(first);
      break;
    }
  }
  const int answer = box.exec();
  return static_cast<QMessageBox::StandardButton>(answer);
}

}  // namespace app
