// The window's options menu (the flat 設定 button in the title band) and the
// settings it keeps between starts when asked to.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

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
  choose_cards_item_ = item("ChooseCardsItem", QStringLiteral(u"カードを自動で選ぶ"));
  thumbnails_item_ = item("ThumbnailsItem", QStringLiteral(u"縮小画像で確認"));
  options_menu_->addSeparator();
  save_settings_item_ = item("SaveSettingsItem", QStringLiteral(u"設定を保存"));
  connect(save_settings_item_, &QAction::triggered, this, [this] { SaveSettingsItemClick(); });
}

void TVarnekForm::SpeedButton3Click() {
  options_menu_->popup(SpeedButton3->mapToGlobal(QPoint(0, SpeedButton3->height())));
}

void TVarnekForm::SaveSettingsItemClick() {
  if (!save_settings_item_->isChecked()) ForgetWindowSettings(SettingsFile());
}

QString TVarnekForm::SettingsFile() const {
  return options_.settings_file.isEmpty() ? WindowSettingsPath() : options_.settings_file;
}

WindowSettings TVarnekForm::CurrentWindowSettings() const {
  WindowSettings settings;
  settings.directory = DirectoryListBox1->NativeDirectory();
  settings.folder_name = Edit1->text();
  settings.masks = Memo2->toPlainText();
  settings.prefix = Edit2->text();
  settings.date_format = Edit3->text();
  settings.serial_style = ComboBox1->currentIndex();
  settings.picked_date = RadioButton2->isChecked();
  settings.prefer_capture_date = CheckBox2->isChecked();
  settings.picked_day = DateTimePicker1->date();
  settings.change_extension = CheckBox1->isChecked();
  settings.new_extension = Edit4->text();
  settings.letter_case = ComboBox2->currentIndex();
  settings.serial_start = SpinEdit1->value();
  settings.subfolders = subfolders_item_->isChecked();
  settings.date_order = date_order_item_->isChecked();
  settings.keep_both = keep_both_item_->isChecked();
  settings.choose_cards = choose_cards_item_->isChecked();
  settings.thumbnails = thumbnails_item_->isChecked();
  settings.size = size();
  return settings;
}

void TVarnekForm::ApplyWindowSettings(const WindowSettings& settings) {
  // The directory given at the start, and one that has gone (the list
  // refuses it), keep the directory the list already shows.
  if (!start_directory_given_ && !settings.directory.isEmpty()) {
    DirectoryListBox1->SetNativeDirectory(settings.directory);
  }
  Edit1->setText(settings.folder_name);
  Memo2->setPlainText(settings.masks);
  Edit2->setText(settings.prefix);
  Edit3->setText(settings.date_format);
  ComboBox1->setCurrentIndex(settings.serial_style);
  (settings.picked_date ? RadioButton2 : RadioButton1)->setChecked(true);
  CheckBox2->setChecked(settings.prefer_capture_date);
  DateTimePicker1->setDate(settings.picked_day);
  CheckBox1->setChecked(settings.change_extension);
  Edit4->setText(settings.new_extension);
  ComboBox2->setCurrentIndex(settings.letter_case);
  SpinEdit1->setValue(settings.serial_start);
  subfolders_item_->setChecked(settings.subfolders);
  date_order_item_->setChecked(settings.date_order);
  keep_both_item_->setChecked(settings.keep_both);
  choose_cards_item_->setChecked(settings.choose_cards);
  thumbnails_item_->setChecked(settings.thumbnails);
  if (settings.size.isValid()) resize(settings.size);
  // What clicking the radio buttons and the check box enables comes along.
  RnamePropChange(settings.picked_date ? RadioButton2 : RadioButton1);
  RnamePropChange(CheckBox1);
}

void TVarnekForm::RestoreSettings() {
  const std::optional<WindowSettings> saved = LoadWindowSettings(SettingsFile());
  if (!saved) return;
  ApplyWindowSettings(*saved);
  save_settings_item_->setChecked(true);
}

}  // namespace app
