#include "app/window/window_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include "app/window/cp932_text.h"

namespace app {
namespace {

constexpr int kSerialStartMax = 99999999;  // SpinEdit1's range
constexpr int kSerialStyles = 6;           // ComboBox1's items
constexpr int kLetterCases = 3;            // ComboBox2's items
constexpr int kLargestSide = 100000;       // no screen is wider

// Reads the file's values one by one; the first that is not what the
// window wrote spoils the whole file.
class Reader {
 public:
  explicit Reader(QSettings& file) : file_(file) {}
  bool ok() const { return ok_; }

  // A text the control can hold: one value, not a list, with a CP932 form.
  void Text(const char* key, QString& to) {
    if (!file_.contains(key)) return;
    const QVariant value = file_.value(key);
    if (value.typeId() != QMetaType::QString || !ToCp932(value.toString())) {
      ok_ = false;
      return;
    }
    to = value.toString();
  }
  void Number(const char* key, int least, int most, int& to) {
    if (!file_.contains(key)) return;
    const QVariant value = file_.value(key);
    bool number = false;
    const int read = value.toString().toInt(&number);
    if (value.typeId() != QMetaType::QString || !number || read < least || read > most) {
      ok_ = false;
      return;
    }
    to = read;
  }
  void Flag(const char* key, bool& to) {
    if (!file_.contains(key)) return;
    const QVariant value = file_.value(key);
    const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
    if (text != QLatin1String("true") && text != QLatin1String("false")) {
      ok_ = false;
      return;
    }
    to = text == QLatin1String("true");
  }
  void Day(const char* key, QDate& to) {
    if (!file_.contains(key)) return;
    const QVariant value = file_.value(key);
    const QDate day = value.typeId() == QMetaType::QString
                          ? QDate::fromString(value.toString(), Qt::ISODate)
                          : QDate();
    if (!day.isValid() || day.year() < 1 || day.year() > 9999) {
      ok_ = false;
      return;
    }
    to = day;
  }

 private:
  QSettings& file_;
  bool ok_ = true;
};

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
  read.Text("directory", settings.directory);
  read.Text("folder_name", settings.folder_name);
  read.Text("masks", settings.masks);
  read.Text("prefix", settings.prefix);
  read.Text("date_format", settings.date_format);
  read.Number("serial_style", 0, kSerialStyles - 1, settings.serial_style);
  read.Flag("picked_date", settings.picked_date);
  read.Flag("prefer_capture_date", settings.prefer_capture_date);
  read.Day("picked_day", settings.picked_day);
  read.Flag("change_extension", settings.change_extension);
  read.Text("new_extension", settings.new_extension);
  read.Number("letter_case", 0, kLetterCases - 1, settings.letter_case);
  read.Number("serial_start", 0, kSerialStartMax, settings.serial_start);
  read.Flag("subfolders", settings.subfolders);
  read.Flag("date_order", settings.date_order);
  read.Flag("keep_both", settings.keep_both);
  int width = 0;
  int height = 0;
  read.Number("width", 1, kLargestSide, width);
  read.Number("height", 1, kLargestSide, height);
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
  file.setValue("directory", settings.directory);
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
