#include "app/window/start_directory.h"

#include <QDir>

#include "app/window/directory_list_box.h"
#include "app/window/message_box.h"
#include "app/window/varnek_form.h"

namespace app {

bool ChooseStartDirectory(TVarnekForm& form, const QString& directory) {
  auto* list = form.findChild<DirectoryListBox*>(QStringLiteral("DirectoryListBox1"));
  if (list && list->SetDirectory(directory)) return true;
  ShowMessageBox(&form,
                 QStringLiteral(u"指定されたディレクトリが存在しないか、選択できません。\n  ") +
                     QDir::toNativeSeparators(QDir(directory).absolutePath()) +
                     QStringLiteral(u"\n作業ディレクトリから始めます。"),
                 QStringLiteral(u"警告"), QMessageBox::Warning, QMessageBox::Ok);
  return false;
}

}  // namespace app
