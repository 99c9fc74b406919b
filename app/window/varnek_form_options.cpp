// The window's options menu (the flat 設定 button in the title band) and the
// settings it keeps between starts when asked to.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/core/file_date.h"
#include "app/window/clock_shift_dialog.h"
#include "app/window/cp932_text.h"
#include "app/window/directory_list_box.h"
#include "app/window/varnek_form.h"

namespace app {

void TVarnekForm::CreateOptionsMenu() {
  options_menu_ = new QMenu(this);
  options_menu_->setObjectName(QStringLiteral("OptionsMenu"));
  const auto item = [this](const char* name, const QString& caption) {
    QAction* action = options_menu_->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(true);
    return action;
  };
  subfolders_item_ = item("SubfoldersItem", QStringLiteral(u"サブフォルダも対象"));
  date_order_item_ = item("DateOrderItem", QStringLiteral(u"日付順に連番"));
  keep_both_item_ = item("KeepBothItem", QStringLiteral(u"同名ファイルを残す"));
  clock_shift_item_ = item("ClockShiftItem", QStringLiteral(u"撮影時刻を補正…"));
  connect(clock_shift_item_, &QAction::triggered, this, [this] { ClockShiftItemClick(); });
  choose_cards_item_ = item("ChooseCardsItem", QStringLiteral(u"カードを自動で選ぶ"));
  thumbnails_item_ = item("ThumbnailsItem", QStringLiteral(u"縮小画像で確認"));
  options_menu_->addSeparator();
  save_settings_item_ = item("SaveSettingsItem", QStringLiteral(u"設定を保存"));
  connect(save_settings_item_, &QAction::triggered, this, [this] { SaveSettingsItemClick(); });
}

void TVarnekForm::SpeedButton3Click() {
  options_menu_->popup(SpeedButton3->mapToGlobal(QPoint(0, SpeedButton3->height())));
}

void TVarnekForm::ClockShiftItemClick() {
  // The file's date as the run would take it now, before any shift.
  const RunSettings settings = CurrentRunSettings();
  const auto file_date = [settings](const QString& path) -> std::optional<platform::DateTime> {
    const FileDate taken = DateOfFile(settings, QFile::encodeName(path).toStdString(), 0);
    if (taken.last_write_missing || settings.naming.date_source == DateSource::kPicked)
      return std::nullopt;
    return taken.date;
  };
  ClockShiftDialog dialog(clock_shift_, file_date, SelectedDirectory(), this);
  if (dialog.exec() == QDialog::Accepted) clock_shift_ = dialog.Shift();
  // Checked while a shift is in force, whatever the click made of it.
  clock_shift_item_->setChecked(clock_shift_ != 0);
}

void TVarnekForm::SaveSettingsItemClick() {
  if (!save_settings_item_->isChecked()) ForgetWindowSettings(SettingsFile());
}

QString TVarnekForm::SettingsFile() const {
  return options_.settings_file.isEmpty() ? WindowSettingsPath() : options_.settings_file;
}

WindowSettings TVarnekForm::CurrentWindowSettings() const {
  WindowSettings settings;
  settings.run = CurrentRunSettings();
  settings.prefer_capture_date = CheckBox2->isChecked();
  settings.choose_cards = choose_cards_item_->isChecked();
  settings.thumbnails = thumbnails_item_->isChecked();
  settings.size = size();
  return settings;
}

void TVarnekForm::ShowRunSettings(const RunSettings& settings, bool prefer_capture_date) {
  const NamingSettings& naming = settings.naming;
  Edit1->setText(ToQString(settings.folder_name));
  Memo2->setPlainText(MaskText(settings.masks));
  Edit2->setText(ToQString(naming.leading_text));
  Edit3->setText(ToQString(naming.date_format));
  ComboBox1->setCurrentIndex(naming.serial_style_index);
  const bool picked_date = naming.date_source == DateSource::kPicked;
  (picked_date ? RadioButton2 : RadioButton1)->setChecked(true);
  CheckBox2->setChecked(prefer_capture_date);
  const platform::DateTime& picked = naming.picked_date;
  DateTimePicker1->setDate(QDate(picked.year, picked.month, picked.day));
  picked_time_ = QTime(picked.hour, picked.minute, picked.second);
  CheckBox1->setChecked(naming.change_extension);
  Edit4->setText(ToQString(naming.new_extension));
  ComboBox2->setCurrentIndex(naming.letter_case);
  SpinEdit1->setValue(naming.serial_start);
  subfolders_item_->setChecked(settings.include_subfolders);
  date_order_item_->setChecked(settings.order == FileOrder::kDate);
  keep_both_item_->setChecked(settings.keep_both);
  clock_shift_ = settings.clock_shift;
  clock_shift_item_->setChecked(clock_shift_ != 0);
  // What clicking the radio buttons and the check box enables comes along.
  RnamePropChange(picked_date ? RadioButton2 : RadioButton1);
  RnamePropChange(CheckBox1);
}

void TVarnekForm::ApplyWindowSettings(const WindowSettings& settings) {
  // The directory given at the start, and one that has gone (the list
  // refuses it), keep the directory the list already shows.
  if (!start_directory_given_ && !settings.run.source_directory.empty()) {
    DirectoryListBox1->SetNativeDirectory(QByteArray::fromStdString(settings.run.source_directory));
  }
  ShowRunSettings(settings.run, settings.prefer_capture_date);
  choose_cards_item_->setChecked(settings.choose_cards);
  thumbnails_item_->setChecked(settings.thumbnails);
  if (settings.size.isValid()) resize(settings.size);
}

void TVarnekForm::RestoreSettings() {
  const std::optional<WindowSettings> saved = LoadWindowSettings(SettingsFile());
  if (!saved) return;
  ApplyWindowSettings(*saved);
  save_settings_item_->setChecked(true);
}

}  // namespace app
