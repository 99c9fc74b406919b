// TVarnekForm, the program's one window: the settings of the copy run, the
// commands, and the information window at the bottom in which every result
// is shown. Border-less, 597 x 433 at the least, dragged by its red title
// bar and resized by its edges; the information window takes what the
// window grows by.
#pragma once

#include <QDateTime>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "app/core/copy_run.h"
#include "app/core/naming.h"
#include "app/window/info_window.h"
#include "app/window/window_settings.h"
#include "filelist/file_list.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QAction;
class QLineEdit;
class QMenu;
class QMouseEvent;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace app {

class BackgroundRun;
class BevelPanel;
class DesktopHandOff;
class DirectoryListBox;
class DriveComboBox;
class HintWindow;
class SplitterBar;
class ThumbnailWindow;
class TitleBarDrag;
class WindowEdges;

class TVarnekForm : public QWidget {
 public:
  struct Options {
    // Makes Editor1, the information window.
    InfoWindowFactory info_window_factory;
    // Opens addresses and folders; not owned, outlives the window.
    DesktopHandOff* desktop = nullptr;
    // The program's path, for the help file and the about text; empty means
    // this program's own.
    QString program_path;
    // The directory the list starts at; empty means the current directory.
    QString start_directory;
    // How often the log and the progress bar take in what a run reported.
    std::chrono::milliseconds live_repaint_interval{40};
    // Where "設定を保存" keeps the settings; empty means the user's
    // configuration folder (WindowSettingsPath).
    QString settings_file;
  };

  explicit TVarnekForm(Options options);
  ~TVarnekForm() override;

  // Handlers, named after control and event.
  void FormCreate();
  void RnamePropChange(QObject* sender);
  void Memo2Change();
  void Button1Click();
  void Button2Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void IconButton1Click();
  void SpeedButton2Click();
  // Opens the options menu below its button.
  void SpeedButton3Click();
  // "設定を保存" turned off forgets what was saved.
  void SaveSettingsItemClick();
  // "撮影時刻を補正…": the shift as the dialog leaves it, unless cancelled.
  void ClockShiftItemClick();
  void Editor1Change();
  void Editor1DblClick();
  void Editor1MouseMove(QPoint client_point);
  void Editor1Resize();
  void Panel6MouseDown(QMouseEvent* event);

  // A folder handed to the window, by a drop or by a later start: chosen as
  // a double-click in the directory list chooses it, the window brought to
  // the front. During a run it only comes to the front. True when chosen.
  bool TakeHandedFolder(const QString& folder);

  // The copy run, with the settings the controls hold now. It goes on off
  // the window's thread; the controls that could change it are disabled
  // until it ends.
  void ExecuteCopy();
  // What the run would do, written into the information window; nothing on
  // disk changes.
  void PreviewCopy();
  // A run or a preview is going on.
  bool Running() const { return run_ != nullptr; }
  // Composes the sample from the naming controls and shows it.
  void UpdateSample();
  // Replaces the information window's text and says so in a notice box.
  void ShowInfoText(std::string_view text);
  // The hover hint at the mouse pointer, and away with it.
  void ShowHintAtCursor(std::string_view text);
  void HideHint();

  InfoWindow& Editor1() { return *editor1_; }
  const HintWindow& FHintWindow() const { return *hint_window_; }

  // What the naming controls hold now.
  NamingSettings CurrentNamingSettings() const;
  // Everything a run takes from the controls.
  RunSettings CurrentRunSettings() const;
  // The directory chosen in DirectoryListBox1, as the file system names it
  // (what the run and the file list reach it by), and as the program shows
  // it in CP932 (approximately when its name has no CP932 form).
  QString SelectedDirectory() const;
  std::string SelectedDirectoryOnDisk() const;
  std::string SelectedDirectoryCp932() const;
  // The lines of Memo2, as its line list counts them: a last empty line
  // (the text ends with a line break) is not a line.
  void GetMaskLines(platform::TStrings& masks) const;

  // The options menu and its items, all unchecked at the first start.
  QMenu* OptionsMenu() const { return options_menu_; }
  QAction* SubfoldersItem() const { return subfolders_item_; }
  QAction* DateOrderItem() const { return date_order_item_; }
  QAction* KeepBothItem() const { return keep_both_item_; }
  // "撮影時刻を補正…": opens the clock shift's dialog; checked while a shift
  // is in force.
  QAction* ClockShiftItem() const { return clock_shift_item_; }
  long long ClockShift() const { return clock_shift_; }
  // A card inserted while the window is idle has its DCIM folder chosen.
  QAction* ChooseCardsItem() const { return choose_cards_item_; }
  // プレビュー also shows the files' pictures, each under its new name.
  QAction* ThumbnailsItem() const { return thumbnails_item_; }
  // The thumbnail window, once a preview has opened it.
  ThumbnailWindow* Thumbnails() const { return thumbnail_window_; }
  QAction* SaveSettingsItem() const { return save_settings_item_; }
  // What "設定を保存" keeps, as the window holds it now, and back.
  WindowSettings CurrentWindowSettings() const;
  void ApplyWindowSettings(const WindowSettings& settings);
  QString SettingsFile() const;

  // The layout's size, the window's size at start and its least.
  static constexpr QSize kLayoutSize{597, 433};
  // Height below which the information window never goes.
  static constexpr int kMinInfoHeight = 85;
  static constexpr int kSplitterHeight = 3;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // A folder or file dropped from a file manager chooses its folder;
  // anything else is refused without a word.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateFrame();
  void CreateTitleBar();
  void CreateLocationGroup();
  void CreateNamingGroup();
  void CreateExtrasGroup();
  void CreateCommandArea();
  void CreateInformationArea();
  void ConnectHandlers();
  void CreateOptionsMenu();
  // At the start: the saved settings, when the user asked to keep them.
  void RestoreSettings();
  // Sets the controls to `settings` (all but the directory); the check box
  // Exif優先 to `prefer_capture_date`.
  void ShowRunSettings(const RunSettings& settings, bool prefer_capture_date);
  void SetTabOrder();
  // The frames stretch with the window; the controls keep their places.
  void LayOutFrame();
  void NameControls();  // accessible_names.cpp
  void LayOutPanel4();
  void ToggleMaximized();
  void SplitterDrag(int distance, bool finished);
  void StartRun(bool preview);
  void RunFinished(const CopyRunResult& result, bool preview);
  void SetRunControlsEnabled(bool enabled);
  // The control that a run takes the keyboard from gets it back at its end.
  void LendFocusToTheLog();
  void GiveFocusBack();
  // Asks whether to stop the run; true when the run should stop.
  bool AskToStop();

  Options options_;
  // The time of day of the picked date: picking a date changes only the date.
  QTime picked_time_;
  int editor_height_ = kMinInfoHeight;
  int drag_start_height_ = 0;

  std::unique_ptr<HintWindow> hint_window_;
  filelist::TFileList FileList1;
  std::unique_ptr<InfoWindow> editor1_;
  TitleBarDrag* title_bar_drag_ = nullptr;
  WindowEdges* edges_ = nullptr;
  // The run going on, a child of the window; nil between runs.
  BackgroundRun* run_ = nullptr;
  bool run_is_preview_ = false;
  // Where the keyboard was when the run started.
  QPointer<QWidget> focus_before_run_;
  // The window closes as soon as the stopped run has ended.
  bool close_when_run_ends_ = false;
  bool asking_to_stop_ = false;
  // A directory given at the start wins over the saved one.
  bool start_directory_given_ = false;

  QMenu* options_menu_ = nullptr;
  QAction* subfolders_item_ = nullptr;
  QAction* date_order_item_ = nullptr;
  QAction* keep_both_item_ = nullptr;
  QAction* clock_shift_item_ = nullptr;
  // Seconds added to every date the files give; 0 is none.
  long long clock_shift_ = 0;
  QAction* choose_cards_item_ = nullptr;
  QAction* thumbnails_item_ = nullptr;
  // Made at the first preview with 縮小画像で確認; kept for the next.
  ThumbnailWindow* thumbnail_window_ = nullptr;
  QAction* save_settings_item_ = nullptr;

  // The layout's controls, with its names; owned by their parents.
  BevelPanel* Panel1 = nullptr;
  BevelPanel* Panel2 = nullptr;
  BevelPanel* Panel3 = nullptr;
  BevelPanel* Panel4 = nullptr;
  BevelPanel* Panel5 = nullptr;
  BevelPanel* Panel6 = nullptr;
  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* SpeedButton2 = nullptr;  // プレビュー
  QToolButton* SpeedButton3 = nullptr;  // 設定, the options menu
  QGroupBox* GroupBox1 = nullptr;
  QLabel* Label3 = nullptr;
  DriveComboBox* DriveComboBox1 = nullptr;
  QLabel* Label4 = nullptr;
  DirectoryListBox* DirectoryListBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QLabel* Label6 = nullptr;
  QPlainTextEdit* Memo2 = nullptr;
  QLabel* Label7 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLabel* Label8 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QLabel* Label9 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  QLabel* Label10 = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QDateEdit* DateTimePicker1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;  // Exif優先
  QCheckBox* CheckBox1 = nullptr;
  QLabel* Label12 = nullptr;
  QLineEdit* Edit4 = nullptr;
  QLabel* Label13 = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QLabel* Label11 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QGroupBox* GroupBox4 = nullptr;
  QLabel* Label15 = nullptr;
  QGroupBox* GroupBox5 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button6 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QPushButton* Button3 = nullptr;
  SplitterBar* Splitter1 = nullptr;
};

}  // namespace app
