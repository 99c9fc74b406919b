// What a screen reader calls the window's controls. Most take their names
// from what the window shows: the fields from the labels above them (their
// buddies, which Qt reports as the fields' names and as "labelled by"
// relations), the groups from their captions, the buttons from their texts.
// Only what shows no words of its own gets a name here.
#include <QAccessible>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include "app/window/bevel_panel.h"
#include "app/window/directory_list_box.h"
#include "app/window/drive_combo_box.h"
#include "app/window/varnek_form.h"

namespace app {

void TVarnekForm::NameControls() {
  const std::pair<QLabel*, QWidget*> buddies[] = {
      {Label3, DriveComboBox1}, {Label4, DirectoryListBox1}, {Label5, Edit1},
      {Label6, Memo2},          {Label7, Edit2},             {Label8, Edit3},
      {Label9, ComboBox1},      {Label12, Edit4},            {Label13, ComboBox2},
      {Label11, SpinEdit1}};
  for (const auto& [label, field] : buddies) {
    label->setBuddy(field);
    // Qt names a field by its buddy label only on some platforms (combo
    // boxes on Linux report their current text); the name set here holds
    // everywhere, and the relation stays for the tools that follow it.
    if (!qobject_cast<QComboBox*>(field)) field->setAccessibleName(label->text());
  }
  // The date picker belongs to the choice 指定日 beside it.
  DateTimePicker1->setAccessibleName(RadioButton2->text());

  // The title band: the program's name, its two buttons and the progress.
  Panel6->setAccessibleName(QStringLiteral("Pirukko"));
  SpeedButton1->setAccessibleName(QStringLiteral(u"閉じる"));
  SpeedButton2->setAccessibleName(SpeedButton2->text());
  ProgressBar1->setAccessibleName(QStringLiteral(u"進行状況"));

  // The sample and the folder: each panel's caption names the text in it.
  Label15->setAccessibleDescription(GroupBox4->title());
  Label2->setAccessibleDescription(GroupBox5->title());

  // The information window, whose text the control itself reports.
  editor1_->Widget()->setAccessibleName(QStringLiteral(u"情報ウインドウ"));
}

}  // namespace app
