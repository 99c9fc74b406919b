// The questions and choices the editor puts to its user, behind one
// interface so that tests can answer them: the unsaved-changes question,
// the end-of-file-mark question, the file dialogs, the find text and the
// numbers, warnings and error messages.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace editapp {

enum class TSaveChoice { Save, Discard, Cancel };
enum class TAfterMarkChoice { Keep, Drop, Cancel };

class EditPrompts {
 public:
  virtual ~EditPrompts() = default;

  // 保存 / 保存しない / キャンセル for the unsaved changes of `name`.
  virtual TSaveChoice AskSaveChanges(QWidget* parent, const QString& name) = 0;
  // What becomes of the `bytes` bytes from the end-of-file mark on.
  virtual TAfterMarkChoice AskAfterMark(QWidget* parent, const QString& name, qint64 bytes) = 0;
  // A file name as the file system spells it, or none when cancelled.
  virtual std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& folder) = 0;
  virtual std::optional<QString> ChooseFileToSave(QWidget* parent, const QString& suggested) = 0;
  // The text to find, starting from the last one; none when cancelled.
  virtual std::optional<QString> AskFindText(QWidget* parent, const QString& last) = 0;
  // A number within min..max (a line to go to, a wrap width); none when cancelled.
  virtual std::optional<int> AskNumber(QWidget* parent, const QString& title, const QString& label,
                                       int value, int min, int max) = 0;
  virtual void ShowWarning(QWidget* parent, const QString& text) = 0;
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

// The real thing: message boxes, file dialogs, input dialogs.
class DialogPrompts : public EditPrompts {
 public:
  TSaveChoice AskSaveChanges(QWidget* parent, const QString& name) override;
  TAfterMarkChoice AskAfterMark(QWidget* parent, const QString& name, qint64 bytes) override;
  std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& folder) override;
  std::optional<QString> ChooseFileToSave(QWidget* parent, const QString& suggested) override;
  std::optional<QString> AskFindText(QWidget* parent, const QString& last) override;
  std::optional<int> AskNumber(QWidget* parent, const QString& title, const QString& label,
                               int value, int min, int max) override;
  void ShowWarning(QWidget* parent, const QString& text) override;
  void ShowError(QWidget* parent, const QString& text) override;
};

// The program's name in captions.
QString ProgramTitle();

}  // namespace editapp
