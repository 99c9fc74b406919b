#include "app/window/window_settings.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <iterator>
#include <optional>

#include "app/core/clock_shift.h"
#include "app/core/naming.h"
#include "app/window/cp932_text.h"

namespace app {
namespace {

// ComboBox1's and ComboBox2's items.
constexpr int kSerialStyles = static_cast<int>(std::size(kSerialStyleItems));
constexpr int kLetterCases = 3;
constexpr int kLargestSide = 100000;  // no screen is wider

// A text a control can hold, in the CP932 form the run takes: one value,
// not a list, with a CP932 form.
std::optional<std::string> ControlText(const QVariant& value) {
  if (value.typeId() != QMetaType::QString) return std::nullopt;
  return ToCp932(value.toString());
}

// Memo2's text, one mask a line.
std::optional<std::vector<std::string>> Masks(const QVariant& value) {
  if (value.typeId() != QMetaType::QString) return std::nullopt;
  return MaskLines(value.toString());
}

// A folder's name on disk: text for a UTF-8 name, its bytes for any other.
// It is the disk's name, not a control's text, so any character will do.
std::optional<std::string> NativeName(const QVariant& value) {
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
  return name.toStdString();
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

// A clock shift as the log writes it ("+09:00:00").
std::optional<long long> Shift(const QVariant& value) {
  if (value.typeId() != QMetaType::QString) return std::nullopt;
  return ParseClockShift(value.toString().toStdString());
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

std::optional<std::vector<std::string>> MaskLines(const QString& memo_text) {
  QStringList lines = memo_text.split(QLatin1Char('\n'));
  // The line break after the last line starts no mask of its own.
  if (lines.last().isEmpty()) lines.removeLast();
  std::vector<std::string> masks;
  for (const QString& line : lines) {
    std::optional<std::string> mask = ToCp932(line);
    if (!mask) return std::nullopt;
    masks.push_back(std::move(*mask));
  }
  return masks;
}

QString MaskText(const std::vector<std::string>& masks) {
  QStringList lines;
  for (const std::string& mask : masks) lines << ToQString(mask);
  return lines.join(QLatin1Char('\n'));
}

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
  RunSettings& run = settings.run;
  NamingSettings& naming = run.naming;
  Reader read(file);
  read("directory", run.source_directory, NativeName);
  read("folder_name", run.folder_name, ControlText);
  read("masks", run.masks, Masks);
  read("prefix", naming.leading_text, ControlText);
  read("date_format", naming.date_format, ControlText);
  read("serial_style", naming.serial_style_index, Number(0, kSerialStyles - 1));
  naming.serial_style_text = std::string(kSerialStyleItems[naming.serial_style_index]);
  bool picked_date = naming.date_source == DateSource::kPicked;
  read("picked_date", picked_date, Flag);
  read("prefer_capture_date", settings.prefer_capture_date, Flag);
  naming.date_source = DateSourceOf(picked_date, settings.prefer_capture_date);
  QDate picked_day(naming.picked_date.year, naming.picked_date.month, naming.picked_date.day);
  read("picked_day", picked_day, Day);
  naming.picked_date.year = picked_day.year();
  naming.picked_date.month = picked_day.month();
  naming.picked_date.day = picked_day.day();
  read("change_extension", naming.change_extension, Flag);
  read("new_extension", naming.new_extension, ControlText);
  read("letter_case", naming.letter_case, Number(0, kLetterCases - 1));
  read("serial_start", naming.serial_start, Number(0, kSerialStartMax));
  read("subfolders", run.include_subfolders, Flag);
  bool date_order = run.order == FileOrder::kDate;
  read("date_order", date_order, Flag);
  run.order = date_order ? FileOrder::kDate : FileOrder::kName;
  read("keep_both", run.keep_both, Flag);
  read("clock_shift", run.clock_shift, Shift);
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
  const RunSettings& run = settings.run;
  const NamingSettings& naming = run.naming;
  // Numbers and flags as text, the form they are read back in.
  const auto number = [](int value) { return QString::number(value); };
  const auto flag = [](bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
  };
  file.setValue("directory", NativeNameValue(QByteArray::fromStdString(run.source_directory)));
  file.setValue("folder_name", ToQString(run.folder_name));
  file.setValue("masks", MaskText(run.masks));
  file.setValue("prefix", ToQString(naming.leading_text));
  file.setValue("date_format", ToQString(naming.date_format));
  file.setValue("serial_style", number(naming.serial_style_index));
  file.setValue("picked_date", flag(naming.date_source == DateSource::kPicked));
  file.setValue("prefer_capture_date", flag(settings.prefer_capture_date));
  const QDate picked_day(naming.picked_date.year, naming.picked_date.month, naming.picked_date.day);
  file.setValue("picked_day", picked_day.toString(Qt::ISODate));
  file.setValue("change_extension", flag(naming.change_extension));
  file.setValue("new_extension", ToQString(naming.new_extension));
  file.setValue("letter_case", number(naming.letter_case));
  file.setValue("serial_start", number(naming.serial_start));
  file.setValue("subfolders", flag(run.include_subfolders));
  file.setValue("date_order", flag(run.order == FileOrder::kDate));
  file.setValue("keep_both", flag(run.keep_both));
  file.setValue("clock_shift", QString::fromStdString(ClockShiftText(run.clock_shift)));
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
