// Qt's own Japanese translations, so that standard buttons and dialogs read
// はい, いいえ, キャンセル and so on whatever the user's locale.
#pragma once

class QCoreApplication;

namespace ui {

// Installs qtbase_ja from Qt's translation folder into `application`. False
// when the translation file is not there (the buttons then stay English).
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace ui
