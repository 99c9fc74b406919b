// Modal message boxes with the program's texts, captions, icons and buttons.
// The standard buttons are labelled by Qt's own Japanese translations once
// they are installed (see qt_translations.h).
#pragma once

#include <QMessageBox>
#include <QString>

namespace app {

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           const QString& caption, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons);

}  // namespace app
