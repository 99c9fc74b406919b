#include "app/window/clock_shift_dialog.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/core/clock_shift.h"

namespace app {
namespace {

QDateTime ToQDateTime(const platform::DateTime& d) {
  return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second));
}

platform::DateTime FromQDateTime(const QDateTime& moment) {
  const QDate day = moment.date();
  const QTime time = moment.time();
  return {day.year(), day.month(), day.day(), time.hour(), time.minute(), time.second(), 0};
}

// Seconds from `from` to `to` on the calendar and the clock alone.
long long SecondsBetween(const platform::DateTime& from, const platform::DateTime& to) {
  const auto seconds = [](const platform::DateTime& d) {
    return platform::DaysSince1970(d.year, d.month, d.day) * 86400 + d.hour * 3600LL +
           d.minute * 60LL + d.second;
  };
  return seconds(to) - seconds(from);
}

QSpinBox* Spin(int most, const char* name, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QLatin1String(name));
  spin->setRange(0, most);
  return spin;
}

const QString kDateFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");

}  // namespace

ClockShiftDialog::ClockShiftDialog(long long shift, FileDate file_date, QString folder,
                                   QWidget* parent)
    : QDialog(parent), file_date_(std::move(file_date)), folder_(std::move(folder)) {
  setObjectName(QStringLiteral("ClockShiftDialog"));
  setWindowTitle(QStringLiteral(u"撮影時刻の補正"));

  by_offset_ = new QRadioButton(QStringLiteral(u"ずらす時間(&T)"), this);
  by_offset_->setObjectName(QStringLiteral("ByOffset"));
  sign_ = new QComboBox(this);
  sign_->setObjectName(QStringLiteral("Sign"));
  sign_->addItems({QStringLiteral("+"), QStringLiteral("-")});
  sign_->setAccessibleName(QStringLiteral(u"進める・戻す"));
  days_ = Spin(static_cast<int>(kClockShiftMaxSeconds / 86400), "Days", this);
  hours_ = Spin(23, "Hours", this);
  minutes_ = Spin(59, "Minutes", this);
  seconds_ = Spin(59, "Seconds", this);
  auto* offset_row = new QHBoxLayout;
  offset_row->addWidget(sign_);
  const auto unit = [this, offset_row](QSpinBox* spin, const QString& caption) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(spin);
    spin->setAccessibleName(caption);
    offset_row->addWidget(spin);
    offset_row->addWidget(label);
  };
  unit(days_, QStringLiteral(u"日"));
  unit(hours_, QStringLiteral(u"時間"));
  unit(minutes_, QStringLiteral(u"分"));
  unit(seconds_, QStringLiteral(u"秒"));
  offset_row->addStretch();

  by_file_ = new QRadioButton(QStringLiteral(u"このファイルの本当の撮影時刻から(&F)"), this);
  by_file_->setObjectName(QStringLiteral("ByFile"));
  choose_file_ = new QPushButton(QStringLiteral(u"ファイルを選ぶ…"), this);
  choose_file_->setObjectName(QStringLiteral("ChooseFile"));
  file_name_ = new QLabel(this);
  file_name_->setObjectName(QStringLiteral("FileName"));
  file_date_label_ = new QLabel(this);
  file_date_label_->setObjectName(QStringLiteral("FileDate"));
  true_time_ = new QDateTimeEdit(this);
  true_time_->setObjectName(QStringLiteral("TrueTime"));
  true_time_->setDisplayFormat(kDateFormat);
  true_time_->setDateTimeRange(QDateTime(QDate(1, 1, 1), QTime(0, 0)),
                               QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
  auto* true_time_label = new QLabel(QStringLiteral(u"本当の撮影時刻:"), this);
  true_time_label->setBuddy(true_time_);
  auto* file_grid = new QGridLayout;
  file_grid->setContentsMargins(20, 0, 0, 0);
  file_grid->addWidget(choose_file_, 0, 0);
  file_grid->addWidget(file_name_, 0, 1);
  file_grid->addWidget(new QLabel(QStringLiteral(u"ファイルの日時:"), this), 1, 0);
  file_grid->addWidget(file_date_label_, 1, 1);
  file_grid->addWidget(true_time_label, 2, 0);
  file_grid->addWidget(true_time_, 2, 1);

  result_ = new QLabel(this);
  result_->setObjectName(QStringLiteral("Result"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(by_offset_);
  layout->addLayout(offset_row);
  layout->addWidget(by_file_);
  layout->addLayout(file_grid);
  layout->addWidget(result_);
  layout->addWidget(buttons);

  const ClockShiftParts parts = SplitClockShift(shift);
  sign_->setCurrentIndex(parts.negative ? 1 : 0);
  days_->setValue(static_cast<int>(parts.days));
  hours_->setValue(parts.hours);
  minutes_->setValue(parts.minutes);
  seconds_->setValue(parts.seconds);
  by_offset_->setChecked(true);
  true_time_->setEnabled(false);

  const auto changed = [this] { ShowShift(); };
  for (QSpinBox* spin : {days_, hours_, minutes_, seconds_})
    connect(spin, &QSpinBox::valueChanged, this, changed);
  connect(sign_, &QComboBox::currentIndexChanged, this, changed);
  connect(by_offset_, &QRadioButton::toggled, this, changed);
  connect(true_time_, &QDateTimeEdit::dateTimeChanged, this, [this] {
    by_file_->setChecked(true);
    ShowShift();
  });
  connect(choose_file_, &QPushButton::clicked, this, [this] { BrowseForFile(); });
  ShowShift();
}

long long ClockShiftDialog::FileShift() const {
  if (!chosen_date_) return 0;
  const long long shift = SecondsBetween(*chosen_date_, FromQDateTime(true_time_->dateTime()));
  return std::clamp(shift, -kClockShiftMaxSeconds, kClockShiftMaxSeconds);
}

long long ClockShiftDialog::Shift() const {
  if (by_file_->isChecked()) return FileShift();
  ClockShiftParts parts;
  parts.negative = sign_->currentIndex() == 1;
  parts.days = days_->value();
  parts.hours = hours_->value();
  parts.minutes = minutes_->value();
  parts.seconds = seconds_->value();
  return JoinClockShift(parts);
}

void ClockShiftDialog::ShowShift() {
  const long long shift = Shift();
  result_->setText(shift == 0
                       ? QStringLiteral(u"補正: なし")
                       : QStringLiteral(u"補正: ") + QString::fromStdString(ClockShiftText(shift)));
}

bool ClockShiftDialog::ChooseFile(const QString& path) {
  const std::optional<platform::DateTime> date = file_date_(path);
  file_name_->setText(QFileInfo(path).fileName());
  if (!date) {
    chosen_date_.reset();
    file_date_label_->setText(QStringLiteral(u"日時がありません"));
    true_time_->setEnabled(false);
    ShowShift();
    return false;
  }
  chosen_date_ = date;
  file_date_label_->setText(ToQDateTime(*date).toString(kDateFormat));
  true_time_->setEnabled(true);
  // The true time starts at the file's own: a shift of nothing until typed.
  const QSignalBlocker quiet(true_time_);
  true_time_->setDateTime(ToQDateTime(*date));
  by_file_->setChecked(true);
  ShowShift();
  return true;
}

void ClockShiftDialog::SetTrueTime(const platform::DateTime& moment) {
  true_time_->setDateTime(ToQDateTime(moment));
}

void ClockShiftDialog::BrowseForFile() {
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral(u"ファイルを選ぶ"), folder_);
  if (!path.isEmpty()) ChooseFile(path);
}

}  // namespace app
