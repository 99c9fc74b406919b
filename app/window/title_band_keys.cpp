#include "app/window/title_band_keys.h"

#include <QAbstractButton>
#include <QKeySequence>

namespace app {

QString HintWithKey(const QString& hint, QKeyCombination key) {
  return hint + QStringLiteral(" (") + QKeySequence(key).toString(QKeySequence::NativeText) +
         QLatin1Char(')');
}

void GiveKey(QAbstractButton* button, const QString& hint, QKeyCombination key) {
  button->setShortcut(QKeySequence(key));
  button->setToolTip(HintWithKey(hint, key));
}

}  // namespace app
