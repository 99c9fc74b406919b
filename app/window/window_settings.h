// What the window keeps between starts when the user asks it to ("設定を
// 保存"): the values of its controls, the options menu's items and the
// window's size, in an INI file under the user's configuration folder.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QSize>
#include <QString>

#include <optional>

namespace app {

struct WindowSettings {
  // DirectoryListBox1's folder as named on disk, byte for byte. A name
  // that is UTF-8 is kept as text; any other is kept as its bytes.
  QByteArray directory;
  QString folder_name;               // Edit1
  QString masks;                     // Memo2's text
  QString prefix;                    // Edit2
  QString date_format;               // Edit3
  int serial_style = 3;              // ComboBox1's index
  bool picked_date = false;          // RadioButton2 (else RadioButton1)
  bool prefer_capture_date = false;  // CheckBox2
  QDate picked_day{2000, 8, 9};      // DateTimePicker1
  bool change_extension = false;     // CheckBox1
  QString new_extension;             // Edit4
  int letter_case = 0;               // ComboBox2's index
  int serial_start = 1;              // SpinEdit1
  bool subfolders = false;           // the options menu's items
  bool date_order = false;
  bool keep_both = false;
  bool choose_cards = false;
  bool thumbnails = false;
  QSize size;
};

// $XDG_CONFIG_HOME/pirukko/varnek.ini (~/.config when it is not set).
QString WindowSettingsPath();

// The settings saved at `path`. No value when there are none, when the file
// cannot be read, or when anything in it is not what the window saved (a
// wrong type, a value out of range, a control's text without a CP932 form):
// the window then starts with its start values, whatever else the file
// holds. A folder that has gone since is the window's to refuse.
std::optional<WindowSettings> LoadWindowSettings(const QString& path);

// Writes the settings; false when the file could not be written.
bool SaveWindowSettings(const QString& path, const WindowSettings& settings);

// Forgets what was saved: the file goes.
void ForgetWindowSettings(const QString& path);

}  // namespace app
