// "撮影時刻の補正": how far a camera's clock was off, typed as days, hours,
// minutes and seconds, or worked out from one file and the moment it was
// really taken.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

#include "platform/date_time.h"

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace app {

class ClockShiftDialog : public QDialog {
  Q_OBJECT

 public:
  // The date a file takes as it stands (no shift), no value when it has none
  // to compare with.
  using FileDate = std::function<std::optional<platform::DateTime>(const QString& path)>;

  // Starts with `shift` seconds; files are chosen from `folder` on.
  ClockShiftDialog(long long shift, FileDate file_date, QString folder, QWidget* parent);

  // The shift the dialog holds now, in seconds.
  long long Shift() const;

  // "このファイルの撮影時刻" with the file at `path` (what the file chooser
  // gives, and what a test gives directly); false when the file has no date.
  bool ChooseFile(const QString& path);
  // The moment the chosen file was really taken, as typed.
  void SetTrueTime(const platform::DateTime& moment);

 private:
  void ShowShift();
  void BrowseForFile();
  long long FileShift() const;

  FileDate file_date_;
  QString folder_;
  std::optional<platform::DateTime> chosen_date_;

  QRadioButton* by_offset_ = nullptr;
  QComboBox* sign_ = nullptr;
  QSpinBox* days_ = nullptr;
  QSpinBox* hours_ = nullptr;
  QSpinBox* minutes_ = nullptr;
  QSpinBox* seconds_ = nullptr;
  QRadioButton* by_file_ = nullptr;
  QPushButton* choose_file_ = nullptr;
  QLabel* file_name_ = nullptr;
  QLabel* file_date_label_ = nullptr;
  QDateTimeEdit* true_time_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace app
