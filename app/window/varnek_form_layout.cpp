// The window's layout: every panel and control at its place, with its
// caption and start value. The handlers live in varnek_form.cpp.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/window/bevel_panel.h"
#include "app/window/directory_list_box.h"
#include "app/window/drive_combo_box.h"
#include "app/window/layout_fonts.h"
#include "app/window/narrow_drop_down_style.h"
#include "app/window/splitter_bar.h"
#include "app/window/title_band_keys.h"
#include "app/window/varnek_form.h"
#include "platform/user_locale.h"

namespace app {
namespace {

const QColor kYellow(255, 255, 0);
const QColor kRed(255, 51, 51);  // the layout's colour value 3355647
const QColor kWhite(255, 255, 255);

// Names the control, places it in its parent and gives it its caption.
template <typename Control>
Control* Place(Control* control, const char* name, QRect bounds) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(bounds);
  return control;
}

// A label sized to its caption, as the layout's labels size themselves.
QLabel* MakeLabel(QWidget* parent, const char* name, QPoint at, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(at);
  label->adjustSize();
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect bounds, const QString& text) {
  return Place(new QLineEdit(text, parent), name, bounds);
}

QComboBox* MakeDropDownList(QWidget* parent, const char* name, QRect bounds,
                            const QStringList& items) {
  auto* combo = Place(new QComboBox(parent), name, bounds);
  combo->addItems(items);
  return combo;
}

QPushButton* MakeButton(QWidget* parent, const char* name, QRect bounds, const QString& caption) {
  return Place(new QPushButton(caption, parent), name, bounds);
}

}  // namespace

void TVarnekForm::CreateFrame() {
  Panel1 = new BevelPanel(this, "Panel1", {kYellow, Bevel::bvRaised, Bevel::bvNone, 2});
  Panel1->setGeometry(rect());
  Panel2 = new BevelPanel(Panel1, "Panel2", {kRed, Bevel::bvNone});
  Panel2->setGeometry(4, 4, 589, 425);
  Panel6 = new BevelPanel(Panel2, "Panel6", {kRed});
  Panel6->setGeometry(0, 0, 589, 25);
  Panel3 = new BevelPanel(Panel2, "Panel3", {kYellow});
  Panel3->setGeometry(4, 24, 581, 397);
  Panel4 = new BevelPanel(Panel3, "Panel4", {kWhite});
  Panel4->setGeometry(4, 4, 573, 389);
  Panel5 = new BevelPanel(Panel4, "Panel5", {kWhite, Bevel::bvRaised, Bevel::bvLowered});
}

void TVarnekForm::CreateTitleBar() {
  Label1 = MakeLabel(Panel6, "Label1", {8, 4}, QStringLiteral("Pirukko"));
  Label1->setFont(LayoutFont(QStringLiteral(u"ＭＳ Ｐゴシック"), 16, true));
  Label1->adjustSize();

  ProgressBar1 = Place(new QProgressBar(Panel6), "ProgressBar1", {268, 12, 289, 7});
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);

  SpeedButton1 = Place(new QToolButton(Panel6), "SpeedButton1", {564, 4, 17, 17});
  SpeedButton1->setText(QStringLiteral(u"×"));
  SpeedButton1->setAutoRaise(true);
  SpeedButton1->setFocusPolicy(Qt::NoFocus);
  QFont bold = SpeedButton1->font();
  bold.setBold(true);
  SpeedButton1->setFont(bold);

  // The preview is one of the window's own header actions: a flat button
  // like ×, in the free band between the title and the progress bar.
  SpeedButton2 = Place(new QToolButton(Panel6), "SpeedButton2", {192, 4, 68, 17});
  SpeedButton2->setText(QStringLiteral(u"プレビュー"));
  SpeedButton2->setAutoRaise(true);
  SpeedButton2->setFocusPolicy(Qt::NoFocus);
  SpeedButton2->setFont(bold);
  GiveKey(SpeedButton2, QStringLiteral(u"プレビュー"), kPreviewKey);

  // The options menu's button, in the same band and look, left of プレビュー.
  SpeedButton3 = Place(new QToolButton(Panel6), "SpeedButton3", {152, 4, 36, 17});
  SpeedButton3->setText(QStringLiteral(u"設定"));
  SpeedButton3->setAutoRaise(true);
  SpeedButton3->setFocusPolicy(Qt::NoFocus);
  SpeedButton3->setFont(bold);
  CreateOptionsMenu();
  GiveKey(SpeedButton3, QStringLiteral(u"設定"), kSettingsKey);
}

void TVarnekForm::CreateLocationGroup() {
  GroupBox1 = Place(new QGroupBox(QStringLiteral(u"場所(ディレクトリ)指定"), Panel5), "GroupBox1",
                    {4, 4, 177, 293});
  Label3 = MakeLabel(GroupBox1, "Label3", {16, 16}, QStringLiteral(u"ドライブ"));
  DriveComboBox1 = new DriveComboBox(GroupBox1, "DriveComboBox1");
  DriveComboBox1->setGeometry(16, 32, 145, 20);
  Label4 = MakeLabel(GroupBox1, "Label4", {16, 60}, QStringLiteral(u"ディレクトリ"));
  DirectoryListBox1 = new DirectoryListBox(GroupBox1, "DirectoryListBox1");
  DirectoryListBox1->setGeometry(16, 76, 145, 145);
  Button1 = MakeButton(GroupBox1, "Button1", {16, 224, 145, 17}, QStringLiteral(u"ｴｸｽﾌﾟﾛｰﾗで開く"));
  Label5 = MakeLabel(GroupBox1, "Label5", {16, 248}, QStringLiteral(u"新しいフォルダ名"));
  Edit1 = MakeEdit(GroupBox1, "Edit1", {16, 264, 145, 20}, QString());
}

void TVarnekForm::CreateNamingGroup() {
  GroupBox2 = Place(new QGroupBox(QStringLiteral(u"ファイル名の設定"), Panel5), "GroupBox2",
                    {188, 4, 185, 197});
  Label6 = MakeLabel(GroupBox2, "Label6", {16, 22}, QStringLiteral(u"マスク"));
  Memo2 = Place(new QPlainTextEdit(GroupBox2), "Memo2", {52, 20, 109, 41});
  Memo2->setTabChangesFocus(true);
  Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
  Label7 = MakeLabel(GroupBox2, "Label7", {16, 68}, QStringLiteral(u"先頭に付く文字"));
  Edit2 = MakeEdit(GroupBox2, "Edit2", {16, 84, 145, 20}, QString());
  Label8 = MakeLabel(GroupBox2, "Label8", {16, 112}, QStringLiteral(u"日付表示文字"));
  Edit3 = MakeEdit(GroupBox2, "Edit3", {16, 128, 145, 20}, QString());
  Label9 = MakeLabel(GroupBox2, "Label9", {16, 152}, QStringLiteral(u"連番表示方法"));
  ComboBox1 = MakeDropDownList(GroupBox2, "ComboBox1", {16, 168, 145, 20},
                               {QStringLiteral(u"なし"), "1", "01", "001", "0001", "00001"});
}

void TVarnekForm::CreateExtrasGroup() {
  GroupBox3 = Place(new QGroupBox(QStringLiteral(u"ついでに… 機能"), Panel5), "GroupBox3",
                    {380, 4, 185, 197});
  Label10 = MakeLabel(GroupBox3, "Label10", {8, 16}, QStringLiteral(u"日付の指定"));
  RadioButton1 = Place(new QRadioButton(QStringLiteral(u"ファイル更新日"), GroupBox3),
                       "RadioButton1", {16, 28, 113, 17});
  // Beside ファイル更新日, which it refines; off at start.
  CheckBox2 =
      Place(new QCheckBox(QStringLiteral(u"Exif優先"), GroupBox3), "CheckBox2", {112, 28, 70, 17});
  RadioButton2 = Place(new QRadioButton(QStringLiteral(u"指定日"), GroupBox3), "RadioButton2",
                       {16, 44, 62, 17});
  DateTimePicker1 = Place(new QDateEdit(GroupBox3), "DateTimePicker1", {80, 44, 81, 20});
  DateTimePicker1->setCalendarPopup(true);
  // The user's short date format, from the locale the names of dates follow.
  const QLocale user_locale(QString::fromStdString(platform::UserLocaleName()));
  DateTimePicker1->setDisplayFormat(user_locale.dateFormat(QLocale::ShortFormat));
  // The date in the fixed-pitch face and a narrow button, so that all of it
  // shows in the picker's 81 pixels.
  DateTimePicker1->setFont(LayoutFont(QStringLiteral(u"ＭＳ ゴシック"), 12));
  auto* narrow = new NarrowDropDownStyle;
  narrow->setParent(DateTimePicker1);
  DateTimePicker1->setStyle(narrow);
  DateTimePicker1->setEnabled(false);
  CheckBox1 = Place(new QCheckBox(QStringLiteral(u"拡張子の変更"), GroupBox3), "CheckBox1",
                    {8, 72, 97, 17});
  Label12 = MakeLabel(GroupBox3, "Label12", {24, 92}, QStringLiteral(u"変更後の拡張子"));
  Edit4 = MakeEdit(GroupBox3, "Edit4", {112, 88, 49, 20}, QString());
  Edit4->setEnabled(false);
  Label13 = MakeLabel(GroupBox3, "Label13", {16, 120}, QStringLiteral(u"大文字・小文字に変更"));
  ComboBox2 = MakeDropDownList(GroupBox3, "ComboBox2", {16, 136, 145, 20},
                               {QStringLiteral(u"なし"), QStringLiteral(u"すべて小文字に"),
                                QStringLiteral(u"すべて大文字に")});
  Label11 = MakeLabel(GroupBox3, "Label11", {16, 172}, QStringLiteral(u"連番開始位置"));
  SpinEdit1 = Place(new QSpinBox(GroupBox3), "SpinEdit1", {92, 168, 69, 21});
  SpinEdit1->setRange(0, kSerialStartMax);
  // Like the date, the number in the fixed-pitch face: its eight digits
  // fit the field whole.
  SpinEdit1->setFont(LayoutFont(QStringLiteral(u"ＭＳ ゴシック"), 12));
  // The start value changes with the spin buttons and arrow keys only.
  if (auto* text = SpinEdit1->findChild<QLineEdit*>()) text->setReadOnly(true);
}

void TVarnekForm::CreateCommandArea() {
  GroupBox4 = Place(new QGroupBox(QStringLiteral(u"変更後ファイル名サンプル"), Panel5), "GroupBox4",
                    {188, 204, 289, 29});
  Label15 = Place(new QLabel(GroupBox4), "Label15", {2, 13, 285, 14});
  Label15->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  GroupBox5 = Place(new QGroupBox(QStringLiteral(u"実行ディレクトリ"), Panel5), "GroupBox5",
                    {188, 236, 289, 29});
  Label2 = Place(new QLabel(GroupBox5), "Label2", {6, 13, 277, 14});
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Button2 = MakeButton(Panel5, "Button2", {188, 268, 289, 25}, QStringLiteral(u"実行"));
  Button6 = MakeButton(Panel5, "Button6", {480, 204, 85, 21}, QStringLiteral(u"ﾌｧｲﾙﾘｽﾄ表示"));
  Button4 = MakeButton(Panel5, "Button4", {480, 228, 85, 17}, QStringLiteral(u"ヘルプ表示"));
  Button5 = MakeButton(Panel5, "Button5", {480, 248, 85, 17}, QStringLiteral(u"ﾊﾞｰｼﾞｮﾝ情報"));
  Button3 = MakeButton(Panel5, "Button3", {480, 268, 85, 25}, QStringLiteral(u"終了"));
}

void TVarnekForm::CreateInformationArea() {
  Splitter1 = new SplitterBar(Panel4, "Splitter1");
  editor1_ = options_.info_window_factory(Panel4);
  editor1_->Widget()->setObjectName(QStringLiteral("Editor1"));
  LayOutPanel4();
  NameControls();
}

// The frames at the layout's places, grown by what the window has grown by;
// the title bar stretches in width only, and the information window takes
// the added height (the settings above it keep theirs).
void TVarnekForm::LayOutFrame() {
  const QSize grown = size() - kLayoutSize;
  const int old_height = Panel4->height();
  Panel1->setGeometry(rect());
  Panel2->setGeometry(4, 4, 589 + grown.width(), 425 + grown.height());
  Panel6->setGeometry(0, 0, 589 + grown.width(), 25);
  Panel3->setGeometry(4, 24, 581 + grown.width(), 397 + grown.height());
  Panel4->setGeometry(4, 4, 573 + grown.width(), 389 + grown.height());
  editor_height_ = std::max(editor_height_ + Panel4->height() - old_height, kMinInfoHeight);
  LayOutPanel4();
}

// Inside Panel4, from the bottom up: Editor1, Splitter1, and Panel5 filling
// the rest. Editor1 is placed last: its resize handler may lay out again.
void TVarnekForm::LayOutPanel4() {
  const QRect area = Panel4->AlignRect();
  const int editor_top = area.bottom() + 1 - editor_height_;
  const int splitter_top = editor_top - kSplitterHeight;
  Splitter1->setGeometry(area.left(), splitter_top, area.width(), kSplitterHeight);
  Panel5->setGeometry(area.left(), area.top(), area.width(), splitter_top - area.top());
  editor1_->Widget()->setGeometry(area.left(), editor_top, area.width(), editor_height_);
}

void TVarnekForm::SetTabOrder() {
  // Panel5's children in the layout's order: the three setting groups (their
  // controls top to bottom), the sample, the commands, then the directory;
  // last the information window, whose log the keyboard scrolls too.
  QWidget* const log = editor1_->Widget();
  QWidget* const chain[] = {
      DriveComboBox1, DirectoryListBox1, Button1,      Edit1,        Memo2,           Edit2,
      Edit3,          ComboBox1,         RadioButton1, RadioButton2, DateTimePicker1, CheckBox1,
      Edit4,          ComboBox2,         SpinEdit1,    Button2,      Button6,         Button4,
      Button5,        Button3,           log};
  for (size_t i = 0; i + 1 < std::size(chain); ++i) {
    QWidget::setTabOrder(chain[i], chain[i + 1]);
  }
  // Exif優先 follows the choice it refines.
  QWidget::setTabOrder(RadioButton1, CheckBox2);
}

}  // namespace app
