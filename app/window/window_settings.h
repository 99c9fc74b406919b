// What the window keeps between starts when the user asks it to ("設定を
// 保存"): the values of its controls, the options menu's items and the
// window's size, in an INI file under the user's configuration folder.
#pragma once

#include <QSize>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "app/core/run_settings.h"

namespace app {

struct WindowSettings {
  // The run's settings; what the file does not hold keeps its start value.
  // The directory is DirectoryListBox1's folder as named on disk, byte for
  // byte (empty when none was saved): a name that is UTF-8 is kept as text,
  // any other as its bytes.
  RunSettings run;
  // CheckBox2 as the user left it: it keeps its tick while 指定日 is
  // chosen, which the run's date source does not tell.
  bool prefer_capture_date = false;
  // The menu items of the window alone (the run knows nothing of them).
  bool choose_cards = false;  // カードを自動で選ぶ
  bool thumbnails = false;    // 縮小画像で確認
  QSize size;
};

// Memo2's text as the run's masks, one a line; no value when a line has no
// CP932 form. And the masks back as Memo2's text.
std::optional<std::vector<std::string>> MaskLines(const QString& memo_text);
QString MaskText(const std::vector<std::string>& masks);

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
