// The keys of the title band's buttons. Like ×, they are flat header actions
// that take no focus, so the keyboard reaches them by these keys, which their
// hover hints and the help file name.
#pragma once

#include <QKeyCombination>
#include <QString>

class QAbstractButton;

namespace app {

// プレビュー.
inline constexpr QKeyCombination kPreviewKey{Qt::Key_F5};
// 設定, the title band's options menu: its button takes the key with GiveKey.
inline constexpr QKeyCombination kSettingsKey{Qt::ALT, Qt::Key_S};

// The hover hint of a button reached by `key`: "hint (key)".
QString HintWithKey(const QString& hint, QKeyCombination key);

// Gives `button` its key, and a hover hint that names it.
void GiveKey(QAbstractButton* button, const QString& hint, QKeyCombination key);

}  // namespace app
