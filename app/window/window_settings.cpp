#include "app/window/window_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <iterator>
#include <optional>

#include "app/core/naming.h"
#include "app/window/cp932_text.h"

namespace app {
namespace {

// ComboBox1's and ComboBox2's items.
constexpr int kSerialStyles = static_cast<int>(std::size(kSerialStyleItems));
constexpr int kLetterCases = 3;
constexpr int kLargestSide = 100000;  // no screen is wider

// A text a control can hold: one value, not a list, with a CP932 form.
std::optional<QString> ControlText(const QVariant& value) {
  if (value.typeId() != QMetaType::QString || !ToCp932(value.toString())) return std::nullopt;
  return value.toString();
}

// A folder's name on disk: text for a UTF-8 name, its bytes for any other.
// It is the disk's name, not a control's text, so any character will do.
std::optional<QByteArray> NativeName(const QVariant& value) {
  QByteArray name;
  if (value.typeId() == QMetaType::QString) {
    name = QFile::encodeName(value.toString());
  } else if (value.typeId() == QMetaType::QByteArray) {
    name = value.toByteArray();
  } else {
    return std::nullopt;
  }
  // No name on disk holds a NUL; the part before it would be another folder.
  if (name.contains('\0')) return std::nullopt;
  return name;
}

// The window writes numbers and flags as text.
auto Number(int least, int most) {
  return [least, most](const QVariant& value) -> std::optional<int> {
    bool number = false;
    const int read = value.toString().toInt(&number);
    if (value.typeId() != QMetaType::QString || !number || read < least || read > most) {
      return std::nullopt;
    }
    return read;
  };
}

std::optional<bool> Flag(const QVariant& value) {
  const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
  if (text != QLatin1String("true") && text != QLatin1String("false")) return std::nullopt;
  return text == QLatin1String("true");
}

std::optional<QDate> Day(const QVariant& value) {
  const QDate day = value.typeId() == QMetaType::QString
                        ? QDate::fromString(value.toString(), Qt::ISODate)
                        : QDate();
  if (!day.isValid() || day.year() < 1 || day.year() > 9999) return std::nullopt;
  return day;
}

// Reads the file's values one by one, each through the parse its kind
// takes; the first that is not what the window wrote spoils the whole file.
class Reader {
 public:
  explicit Reader(QSettings& file) : file_(file) {}
  bool ok() const { return ok_; }

  template <typename T, typename Parse>
  void operator()(const char* key, T& to, Parse parse) {
    if (!file_.contains(key)) return;
    std::optional<T> value = parse(file_.value(key));
    if (!value) {
      ok_ = false;
      return;
    }
    to = *std::move(value);
  }

 private:
  QSettings& file_;
  bool ok_ = true;
};

// A UTF-8 name goes in as text, in the form a control's text takes; any
// other keeps its bytes (the INI file writes them as @ByteArray(...)).
QVariant NativeNameValue(const QByteArray& name) {
  const QString text = QFile::decodeName(name);
  if (QFile::encodeName(text) == name) return text;
  return name;
}

}  // namespace

QString WindowSettingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/pirukko/varnek.ini");
}

std::optional<WindowSettings> LoadWindowSettings(const QString& path) {
  const QFileInfo file_info(path);
  if (!file_info.isFile() || !file_info.isReadable()) return std::nullopt;
  QSettings file(path, QSettings::IniFormat);
  if (file.status() != QSettings::NoError) return std::nullopt;
  WindowSettings settings;
  Reader read(file);
  read("directory", settings.directory, NativeName);
  read("folder_name", settings.folder_name, ControlText);
  read("masks", settings.masks, ControlText);
  read("prefix", settings.prefix, ControlText);
  read("date_format", settings.date_format, ControlText);
  read("serial_style", settings.serial_style, Number(0, kSerialStyles - 1));
  read("picked_date", settings.picked_date, Flag);
  read("prefer_capture_date", settings.prefer_capture_date, Flag);
  read("picked_day", settings.picked_day, Day);
  read("change_extension", settings.change_extension, Flag);
  read("new_extension", settings.new_extension, ControlText);
  read("letter_case", settings.letter_case, Number(0, kLetterCases - 1));
  read("serial_start", settings.serial_start, Number(0, kSerialStartMax));
  read("subfolders", settings.subfolders, Flag);
  read("date_order", settings.date_order, Flag);
  read("keep_both", settings.keep_both, Flag);
  read("choose_cards", settings.choose_cards, Flag);
  read("thumbnails", settings.thumbnails, Flag);
  int width = 0;
  int height = 0;
  read("width", width, Number(1, kLargestSide));
  read("height", height, Number(1, kLargestSide));
  if (!read.ok()) return std::nullopt;
  if (width > 0 && height > 0) settings.size = QSize(width, height);
  return settings;
}

bool SaveWindowSettings(const QString& path, const WindowSettings& settings) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSettings file(path, QSettings::IniFormat);
  file.clear();
  // Numbers and flags as text, the form they are read back in.
  const auto number = [](int value) { return QString::number(value); };
  const auto flag = [](bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
  };
  file.setValue("directory", NativeNameValue(settings.directory));
  file.setValue("folder_name", settings.folder_name);
  file.setValue("masks", settings.masks);
  file.setValue("prefix", settings.prefix);
  file.setValue("date_format", settings.date_format);
  file.setValue("serial_style", number(settings.serial_style));
  file.setValue("picked_date", flag(settings.picked_date));
  file.setValue("prefer_capture_date", flag(settings.prefer_capture_date));
  file.setValue("picked_day", settings.picked_day.toString(Qt::ISODate));
  file.setValue("change_extension", flag(settings.change_extension));
  file.setValue("new_extension", settings.new_extension);
  file.setValue("letter_case", number(settings.letter_case));
  file.setValue("serial_start", number(settings.serial_start));
  file.setValue("subfolders", flag(settings.subfolders));
  file.setValue("date_order", flag(settings.date_order));
  file.setValue("keep_both", flag(settings.keep_both));
  file.setValue("choose_cards", flag(settings.choose_cards));
  file.setValue("thumbnails", flag(settings.thumbnails));
  if (settings.size.isValid()) {
    file.setValue("width", number(settings.size.width()));
    file.setValue("height", number(settings.size.height()));
  }
  file.sync();
  return file.status() == QSettings::NoError;
}

void ForgetWindowSettings(const QString& path) {
  QFile::remove(path);
}

}  // namespace app
