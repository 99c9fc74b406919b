#include "app/window/varnek_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDateEdit>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

#include "app/core/copy_run.h"
#include "app/window/address_url.h"
#include "app/window/background_run.h"
#include "app/window/bevel_panel.h"
#include "app/window/cp932_input.h"
#include "app/window/cp932_text.h"
#include "app/window/desktop_hand_off.h"
#include "app/window/directory_list_box.h"
#include "app/window/drive_combo_box.h"
#include "app/window/dropped_folder.h"
#include "app/window/hint_window.h"
#include "app/window/info_texts.h"
#include "app/window/layout_fonts.h"
#include "app/window/message_box.h"
#include "app/window/splitter_bar.h"
#include "app/window/thumbnail_window.h"
#include "app/window/title_bar_drag.h"
#include "app/window/window_edges.h"
#include "platform/cp932.h"
#include "platform/date_time.h"
#include "platform/file_system.h"

namespace app {
namespace {

// Watches one control's events for the window; `watch` sees each event and
// never consumes it.
class EventWatch : public QObject {
 public:
  EventWatch(QWidget* control, std::function<void(QWidget*, QEvent*)> watch)
      : QObject(control), watch_(std::move(watch)) {
    control->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    watch_(static_cast<QWidget*>(watched), event);
    return false;
  }

 private:
  std::function<void(QWidget*, QEvent*)> watch_;
};

// A click: the left button released inside the control.
bool IsClick(QWidget* control, QEvent* event) {
  if (event->type() != QEvent::MouseButtonRelease) return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  return mouse->button() == Qt::LeftButton && control->rect().contains(mouse->position().toPoint());
}

// The progress bar, as the run's progress.
class BarProgress : public CopyProgress {
 public:
  explicit BarProgress(QProgressBar* bar) : bar_(bar) {}
  // An empty range would make the bar a busy indicator; nothing to do shows
  // as an empty bar instead.
  void SetMax(int max) override { bar_->setMaximum(std::max(max, 1)); }
  void SetPosition(int position) override { bar_->setValue(position); }

 private:
  QProgressBar* bar_;
};

// The window's own log and bar, which a run's reports reach on the
// window's thread.
struct WindowLogAndBar {
  WindowLogAndBar(platform::TStrings& lines, QProgressBar* bar) : log(lines), progress(bar) {}
  StringsCopyLog log;
  BarProgress progress;
};

// The CP932 text of a control; KeepCp932 makes sure there is one.
std::string TextOf(const QString& text) {
  return ToCp932(text).value_or(std::string());
}

// What the window says where it can show a directory only approximately.
QString ApproximateNameHint(const std::string& native_path) {
  if (platform::ShowNativeName(native_path).Exact) return {};
  return QStringLiteral(u"名前に Shift-JIS で表せない文字があるため、近い形で表示しています。");
}

}  // namespace

TVarnekForm::TVarnekForm(Options options)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), options_(std::move(options)) {
  setObjectName(QStringLiteral("VarnekForm"));
  setWindowTitle(QStringLiteral("Pirukko"));
  setFont(LayoutFont(QStringLiteral(u"ＭＳ Ｐゴシック"), 12));
  // The layout's size is the least; every size above it works, so that a
  // saved size comes back by a plain resize.
  setMinimumSize(kLayoutSize);
  resize(kLayoutSize);
  if (options_.program_path.isEmpty()) {
    options_.program_path = QCoreApplication::applicationFilePath();
  }
  start_directory_given_ = !options_.start_directory.isEmpty();
  if (!start_directory_given_) options_.start_directory = QDir::currentPath();

  CreateFrame();
  CreateTitleBar();
  CreateLocationGroup();
  CreateNamingGroup();
  CreateExtrasGroup();
  CreateCommandArea();
  CreateInformationArea();
  SetTabOrder();
  ConnectHandlers();
  // A start directory that cannot be chosen gives way to its nearest
  // ancestor that can (the root always can).
  for (QDir start(options_.start_directory);;) {
    if (DirectoryListBox1->SetDirectory(start.absolutePath()) || !start.cdUp()) break;
  }

  setAcceptDrops(true);
  if (QScreen* desktop = screen()) move(desktop->geometry().center() - rect().center());
  FormCreate();
  RestoreSettings();
}

TVarnekForm::~TVarnekForm() {
  // A run still going on is stopped and waited for: it writes to the window's log.
  delete run_;
  run_ = nullptr;
  // The information window's events must not reach a half-destroyed window.
  if (editor1_) {
    editor1_->OnChange = nullptr;
    editor1_->OnDblClick = nullptr;
    editor1_->OnMouseMove = nullptr;
    editor1_->OnResize = nullptr;
  }
}

void TVarnekForm::ConnectHandlers() {
  // The guards come first, so that the handlers only ever see CP932 text.
  for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4}) KeepCp932(edit);
  KeepCp932(Memo2);

  const auto naming_change = [this](QObject* control) {
    return [this, control] { RnamePropChange(control); };
  };
  connect(Edit2, &QLineEdit::textChanged, this, naming_change(Edit2));
  connect(Edit3, &QLineEdit::textChanged, this, naming_change(Edit3));
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, naming_change(ComboBox1));
  connect(CheckBox1, &QCheckBox::clicked, this, naming_change(CheckBox1));
  new EventWatch(Edit4, [this](QWidget* control, QEvent* event) {
    if (IsClick(control, event)) RnamePropChange(Edit4);
  });
  connect(ComboBox2, &QComboBox::currentIndexChanged, this, naming_change(ComboBox2));
  connect(RadioButton1, &QRadioButton::clicked, this, naming_change(RadioButton1));
  connect(RadioButton2, &QRadioButton::clicked, this, naming_change(RadioButton2));
  connect(DateTimePicker1, &QDateEdit::dateChanged, this, naming_change(DateTimePicker1));
  connect(Memo2, &QPlainTextEdit::textChanged, this, [this] { Memo2Change(); });

  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
  connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
  connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
  connect(Button3, &QPushButton::clicked, this, [this] { IconButton1Click(); });
  connect(SpeedButton1, &QToolButton::clicked, this, [this] { IconButton1Click(); });
  connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
  connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });

  editor1_->OnChange = [this] { Editor1Change(); };
  editor1_->OnDblClick = [this] { Editor1DblClick(); };
  editor1_->OnMouseMove = [this](QPoint point) { Editor1MouseMove(point); };
  editor1_->OnResize = [this] { Editor1Resize(); };
  // A hint belongs to the address under the pointer; leaving the
  // information window leaves the address too.
  new EventWatch(editor1_->Widget(), [this](QWidget*, QEvent* event) {
    if (event->type() == QEvent::Leave) HideHint();
  });
  Splitter1->OnDrag = [this](int distance, bool finished) { SplitterDrag(distance, finished); };

  title_bar_drag_ = new TitleBarDrag(this);
  for (QWidget* part : {static_cast<QWidget*>(Panel6), static_cast<QWidget*>(Label1),
                        static_cast<QWidget*>(ProgressBar1)}) {
    title_bar_drag_->Watch(part);
  }
  title_bar_drag_->OnMouseDown = [this](QMouseEvent* event) { Panel6MouseDown(event); };
  title_bar_drag_->OnDoubleClick = [this] { ToggleMaximized(); };
  // Panel1's yellow rim, outside Panel2, is the grip.
  edges_ = new WindowEdges(this, Panel1, Panel2->x());

  // Every directory can be chosen: the run reaches it by its name on disk,
  // and the window shows in CP932 what the log will show.
  DirectoryListBox1->HintOf = [](const QByteArray& native_path) {
    return ApproximateNameHint(native_path.toStdString());
  };
  DirectoryListBox1->OnChange = [this] {
    Label2->setText(ToQString(SelectedDirectoryCp932()));
    Label2->setToolTip(ApproximateNameHint(SelectedDirectoryOnDisk()));
    DriveComboBox1->FollowDirectory(DirectoryListBox1->Directory());
  };
  DriveComboBox1->OnChange = [this](const QString& root) { DirectoryListBox1->SetDirectory(root); };
  // A card that arrives during a run waits for the user: the run's settings
  // stay as they were.
  DriveComboBox1->OnCardArrived = [this](const QByteArray& dcim) {
    if (choose_cards_item_->isChecked() && !Running()) DirectoryListBox1->SetNativeDirectory(dcim);
  };
}

void TVarnekForm::FormCreate() {
  hint_window_ = std::make_unique<HintWindow>(this);
  // The controls start where a run's settings start.
  const RunSettings start;
  ShowRunSettings(start, start.naming.date_source == DateSource::kCaptureDate);
}

NamingSettings TVarnekForm::CurrentNamingSettings() const {
  NamingSettings settings;
  settings.leading_text = TextOf(Edit2->text());
  settings.date_format = TextOf(Edit3->text());
  settings.date_source = DateSourceOf(RadioButton2->isChecked(), CheckBox2->isChecked());
  const QDate date = DateTimePicker1->date();
  settings.picked_date = {
      date.year(),           date.month(),          date.day(), picked_time_.hour(),
      picked_time_.minute(), picked_time_.second(), 0};
  settings.serial_style_index = ComboBox1->currentIndex();
  settings.serial_style_text = TextOf(ComboBox1->currentText());
  settings.serial_start = SpinEdit1->value();
  settings.change_extension = CheckBox1->isChecked();
  settings.new_extension = TextOf(Edit4->text());
  settings.letter_case = ComboBox2->currentIndex();
  return settings;
}

QString TVarnekForm::SelectedDirectory() const {
  return DirectoryListBox1->Directory();
}

std::string TVarnekForm::SelectedDirectoryOnDisk() const {
  return DirectoryListBox1->NativeDirectory().toStdString();
}

std::string TVarnekForm::SelectedDirectoryCp932() const {
  return platform::ShowNativeName(SelectedDirectoryOnDisk()).Text;
}

void TVarnekForm::GetMaskLines(platform::TStrings& masks) const {
  QStringList lines = Memo2->toPlainText().split(QLatin1Char('\n'));
  if (lines.last().isEmpty()) lines.removeLast();
  platform::TStringsUpdate update(masks);
  masks.Clear();
  for (const QString& line : lines) masks.Add(TextOf(line));
}

void TVarnekForm::UpdateSample() {
  Label15->setText(ToQString(ComposeSample(CurrentNamingSettings(), platform::Now())));
}

void TVarnekForm::RnamePropChange(QObject* sender) {
  const bool serial = ComboBox1->currentIndex() != 0;
  SpinEdit1->setEnabled(serial);
  Label11->setEnabled(serial);
  ProgressBar1->setValue(0);
  const QString name = sender ? sender->objectName() : QString();
  if (name == QLatin1String("RadioButton1") || name == QLatin1String("RadioButton2")) {
    DateTimePicker1->setEnabled(RadioButton2->isChecked());
    // Capture dates stand in for the file's date only.
    CheckBox2->setEnabled(RadioButton1->isChecked());
  }
  if (name == QLatin1String("CheckBox1")) Edit4->setEnabled(CheckBox1->isChecked());
  UpdateSample();
}

void TVarnekForm::Memo2Change() {
  ProgressBar1->setValue(0);
}

void TVarnekForm::Button1Click() {
  // Made from the name on disk: a name that is no UTF-8 reaches the file
  // browser percent-encoded byte for byte, not with U+FFFD in its place.
  const QByteArray& directory = DirectoryListBox1->NativeDirectory();
  options_.desktop->Open(QUrl::fromEncoded("file://" + directory.toPercentEncoding("/")));
}

void TVarnekForm::Button2Click() {
  ExecuteCopy();
}

RunSettings TVarnekForm::CurrentRunSettings() const {
  RunSettings input;
  input.source_directory = SelectedDirectoryOnDisk();
  input.folder_name = TextOf(Edit1->text());
  platform::TStringList masks;
  GetMaskLines(masks);
  input.masks.clear();
  for (int i = 0; i < masks.Count(); ++i) input.masks.push_back(masks[i]);
  input.naming = CurrentNamingSettings();
  input.include_subfolders = subfolders_item_->isChecked();
  input.order = date_order_item_->isChecked() ? FileOrder::kDate : FileOrder::kName;
  input.keep_both = keep_both_item_->isChecked();
  input.clock_shift = clock_shift_;
  return input;
}

void TVarnekForm::ExecuteCopy() {
  StartRun(false);
}

void TVarnekForm::PreviewCopy() {
  StartRun(true);
}

void TVarnekForm::SpeedButton2Click() {
  PreviewCopy();
}

void TVarnekForm::StartRun(bool preview) {
  if (run_) return;
  RunSettings input = CurrentRunSettings();
  // With 縮小画像で確認, the preview's files are shown as pictures too.
  if (preview && thumbnails_item_->isChecked()) {
    if (!thumbnail_window_) thumbnail_window_ = new ThumbnailWindow(this);
    input.on_previewed_file = thumbnail_window_->StartPreview();
    thumbnail_window_->show();
    thumbnail_window_->raise();
  }
  LendFocusToTheLog();
  SetRunControlsEnabled(false);
  run_is_preview_ = preview;

  auto window_side = std::make_shared<WindowLogAndBar>(editor1_->Lines(), ProgressBar1);
  BackgroundRun::Target to;
  to.log = &window_side->log;
  to.progress = &window_side->progress;
  to.batched_lines = &editor1_->Lines();
  to.interval = options_.live_repaint_interval;
  to.on_finished = [this, window_side, preview](const CopyRunResult& result) {
    RunFinished(result, preview);
  };
  run_ = new BackgroundRun(
      [input, preview](CopyLog& log, CopyProgress& progress, std::stop_token stop) {
        return preview ? app::PreviewCopy(input, log, progress, stop)
                       : app::ExecuteCopy(input, log, progress, stop);
      },
      std::move(to));
  run_->setParent(this);
}

void TVarnekForm::RunFinished(const CopyRunResult&, bool preview) {
  // The run's object goes once the call that reported its end returns.
  run_->deleteLater();
  run_ = nullptr;
  SetRunControlsEnabled(true);
  // The new folder shows in the directory list at once.
  if (!preview) DirectoryListBox1->Refresh();
  GiveFocusBack();
  if (close_when_run_ends_ && !asking_to_stop_) close();
}

// Everything that could change a run's input, or start something else,
// rests while a run goes on; 終了 and × stay, to stop it. Each control comes
// back as it was: disabling a group leaves its controls' own states alone.
void TVarnekForm::SetRunControlsEnabled(bool enabled) {
  for (QWidget* control :
       std::initializer_list<QWidget*>{GroupBox1, GroupBox2, GroupBox3, Button2, Button6, Button4,
                                       Button5, SpeedButton2, SpeedButton3, options_menu_}) {
    control->setEnabled(enabled);
  }
}

// A control that rests during a run would drop the keyboard: the focus
// would fall to 終了 (where the next Space ends the program) or nowhere
// (where typing is lost and Tab starts over). The log, which shows the run
// and which a screen reader reads aloud while it has the focus, holds it
// for the run instead.
void TVarnekForm::LendFocusToTheLog() {
  focus_before_run_ = focusWidget();
  QWidget* const log = editor1_->Widget();
  if (!focus_before_run_ || focus_before_run_ == log || log->isAncestorOf(focus_before_run_)) {
    return;
  }
  for (QWidget* resting : {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(GroupBox2),
                           static_cast<QWidget*>(GroupBox3), static_cast<QWidget*>(Button2),
                           static_cast<QWidget*>(Button6), static_cast<QWidget*>(Button4),
                           static_cast<QWidget*>(Button5)}) {
    if (resting == focus_before_run_ || resting->isAncestorOf(focus_before_run_)) {
      log->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

// ... and gives it back, unless the user has put it elsewhere meanwhile.
void TVarnekForm::GiveFocusBack() {
  QWidget* const control = focus_before_run_;
  focus_before_run_ = nullptr;
  if (!control || !control->isEnabled() || !control->isVisible()) return;
  QWidget* const now = focusWidget();
  QWidget* const log = editor1_->Widget();
  if (now && now != log && !log->isAncestorOf(now)) return;
  control->setFocus(Qt::OtherFocusReason);
}

void TVarnekForm::Button4Click() {
  const QString help = HelpFilePath(options_.program_path);
  const std::optional<std::string> path = ToCp932(help);
  if (!path || !QFileInfo(help).isFile()) {
    // A path without a CP932 form cannot be loaded; it is only shown.
    ShowInfoText(HelpMissingText(path ? *path : platform::Utf8ToCp932Lossy(help.toStdString())));
    return;
  }
  try {
    editor1_->Lines().LoadFromFile(*path);
  } catch (const platform::EStreamError&) {
    ShowInfoText(HelpUnreadableText(*path));
    return;
  }
  ShowInfoText(editor1_->Lines().Text());
}

void TVarnekForm::Button5Click() {
  ShowInfoText(AboutText(TextOf(QFileInfo(options_.program_path).fileName())));
}

void TVarnekForm::Button6Click() {
  const std::string directory = SelectedDirectoryCp932();
  FileList1.SetDirectory(SelectedDirectoryOnDisk());
  const QMessageBox::StandardButton answer = ShowMessageBox(
      this, QStringLiteral(u"マスク処理をしてから表示しますか？"), QStringLiteral(u"問い合わせ"),
      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer != QMessageBox::Yes && answer != QMessageBox::No) return;

  platform::TStrings& lines = editor1_->Lines();
  if (answer == QMessageBox::Yes) {
    platform::TStringList masks;
    GetMaskLines(masks);
    lines.Add(Cp932("ファイル一覧(マスク処理)"));
    lines.Add(Cp932("  ディレクトリ: ") + directory);
    lines.Add(Cp932("  マスク: ") + masks.CommaText());
    // A mask with a folder part matches no name in the directory; the run
    // refuses it, and the listing says why it adds nothing.
    for (int i = 0; i < masks.Count(); ++i) {
      if (!platform::MaskHasFolderPart(masks[i])) continue;
      lines.Add(BadMaskError());
      lines.Add("  " + masks[i]);
    }
    FileList1.SetMask(masks);
  } else {
    lines.Add(Cp932("ファイル一覧(すべてのファイル)"));
    lines.Add(Cp932("  ディレクトリ: ") + directory);
    FileList1.Mask().Clear();
    FileList1.Mask().Add("*.*");
    FileList1.Rebuild();
  }
  const std::string separator = "\r" + std::string(70, '-');
  const platform::TStringList& names = FileList1.Files();
  lines.Add(separator);
  for (int i = 0; i < names.Count(); ++i) lines.Add(names[i]);
  lines.Add(separator);
  lines.Add(Cp932("  対象ファイル数: ") + std::to_string(names.Count()) + Cp932("個"));
}

void TVarnekForm::IconButton1Click() {
  close();
}

bool TVarnekForm::AskToStop() {
  asking_to_stop_ = true;
  const QMessageBox::StandardButton answer =
      ShowMessageBox(this, QStringLiteral(u"実行を中止しますか？"), QStringLiteral(u"問い合わせ"),
                     QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
  asking_to_stop_ = false;
  return answer == QMessageBox::Yes;
}

void TVarnekForm::closeEvent(QCloseEvent* event) {
  HideHint();
  if (run_) {
    // The window stays until the run has stopped; it closes itself then.
    event->ignore();
    if (asking_to_stop_ || close_when_run_ends_) return;
    // A preview changes nothing on disk: it simply stops.
    if (!run_is_preview_ && !AskToStop()) return;
    close_when_run_ends_ = true;
    if (run_) {
      run_->RequestStop();
    } else {
      close();  // it ended while the question was open
    }
    return;
  }
  if (save_settings_item_->isChecked()) SaveWindowSettings(SettingsFile(), CurrentWindowSettings());
  QWidget::closeEvent(event);
}

void TVarnekForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (editor1_) LayOutFrame();
}

void TVarnekForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!run_ && DroppedFolder(*event->mimeData())) event->acceptProposedAction();
}

void TVarnekForm::dragMoveEvent(QDragMoveEvent* event) {
  if (!run_ && DroppedFolder(*event->mimeData())) event->acceptProposedAction();
}

void TVarnekForm::dropEvent(QDropEvent* event) {
  const std::optional<QString> folder = DroppedFolder(*event->mimeData());
  if (run_ || !folder) return;
  if (DirectoryListBox1->SetDirectory(*folder)) event->acceptProposedAction();
}

bool TVarnekForm::TakeHandedFolder(const QString& folder) {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  if (run_ || folder.isEmpty()) return false;
  return DirectoryListBox1->SetDirectory(folder);
}

void TVarnekForm::ToggleMaximized() {
  if (isMaximized()) {
    showNormal();
  } else {
    showMaximized();
  }
}

void TVarnekForm::ShowInfoText(std::string_view text) {
  editor1_->Lines().Clear();
  editor1_->Lines().SetText(text);
  ShowMessageBox(this, QStringLiteral(u"情報ウインドウに表示しました"),
                 QStringLiteral(u"インフォメーション"), QMessageBox::Information, QMessageBox::Ok);
}

void TVarnekForm::Editor1Change() {
  // The caret follows the end too, as a terminal's does: a screen reader
  // speaks the new lines of a log whose caret they end at.
  editor1_->SetCaretToEnd();
  editor1_->SetTopRow(editor1_->Lines().Count() - editor1_->VisibleRows());
}

void TVarnekForm::Editor1Resize() {
  if (editor1_->Widget()->height() >= kMinInfoHeight) return;
  editor_height_ = kMinInfoHeight;
  LayOutPanel4();
}

void TVarnekForm::SplitterDrag(int distance, bool finished) {
  // Like the layout's splitter: neither side of it shrinks below 30 pixels.
  constexpr int kMinSize = 30;
  if (drag_start_height_ == 0) drag_start_height_ = editor1_->Widget()->height();
  const QRect area = Panel4->AlignRect();
  const int most = area.height() - kSplitterHeight - kMinSize;
  editor_height_ = std::clamp(drag_start_height_ - distance, kMinSize, most);
  LayOutPanel4();
  if (finished) drag_start_height_ = 0;
}

void TVarnekForm::Editor1DblClick() {
  const TTokenKind kind = editor1_->TokenKindFromCaret();
  if (kind == tkUrl || kind == tkMail) {
    HideHint();
    const QUrl address = AddressUrl(kind, editor1_->TokenFromCaret());
    if (!options_.desktop->Open(address)) {
      // The desktop has no browser or mailer for it: the user hears so
      // instead of nothing happening.
      const QString missing =
          kind == tkUrl ? QStringLiteral(u"ホームページを開くプログラムが見つかりません。")
                        : QStringLiteral(u"メーラーが見つかりません。");
      ShowMessageBox(this, missing + QStringLiteral("\n  ") + address.toString(),
                     QStringLiteral(u"警告"), QMessageBox::Warning, QMessageBox::Ok);
    }
    return;
  }
  editor1_->SelectTokenFromCaret();
}

void TVarnekForm::Editor1MouseMove(QPoint client_point) {
  const TTokenKind kind = editor1_->TokenKindFromPos(client_point);
  if (kind == tkUrl || kind == tkMail) {
    editor1_->SetCursor(platform::crHandPoint);
    ShowHintAtCursor(kind == tkUrl ? Cp932("ﾎｰﾑﾍﾟｰｼﾞを開きます") : Cp932("ﾒｰﾗｰを起動します"));
    return;
  }
  HideHint();
  const editor::TEditorCursors& cursors = editor1_->Cursors();
  switch (editor1_->CursorKind()) {
    case 0:
      editor1_->SetCursor(cursors.DefaultCursor());
      break;
    case 1:
      editor1_->SetCursor(cursors.LeftMarginCursor());
      break;
    case 2:
      editor1_->SetCursor(cursors.InSelCursor());
      break;
    case 3:
      editor1_->SetScreenCursor(cursors.DragSelCursor());
      break;
    case 4:
      editor1_->SetScreenCursor(cursors.DragSelCopyCursor());
      break;
    default:
      break;
  }
}

void TVarnekForm::ShowHintAtCursor(std::string_view text) {
  hint_window_->HandleNeeded();
  const QString shown = ToQString(text);
  const int caption_height = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QPoint pointer = QCursor::pos();
  const QScreen* at = QGuiApplication::screenAt(pointer);
  if (!at) at = screen();
  // Measured as the desktop wraps it: as wide as the screen, words kept whole.
  QRect bounds = QFontMetrics(hint_window_->Font())
                     .boundingRect(QRect(0, 0, at->geometry().width(), 0), Qt::TextWordWrap, shown);
  bounds.moveTopLeft(QPoint(0, 0));
  bounds.translate(pointer.x(), pointer.y() + caption_height);
  bounds.setRight(bounds.right() + 6);
  bounds.setBottom(bounds.bottom() + 2);
  hint_window_->ActivateHint(bounds, shown);
}

void TVarnekForm::HideHint() {
  if (hint_window_ && hint_window_->HandleAllocated()) hint_window_->ReleaseHandle();
}

void TVarnekForm::Panel6MouseDown(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    title_bar_drag_->StartMove(event->globalPosition().toPoint());
  }
}

}  // namespace app
