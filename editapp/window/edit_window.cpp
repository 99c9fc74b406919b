#include "editapp/window/edit_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cstring>

#include "editapp/document/text_search.h"
#include "editor/control/editor.h"
#include "platform/cp932.h"
#include "platform/native_file.h"
#include "platform/qt/control_widget.h"
#include "platform/string_list.h"

namespace editapp {
namespace {

// The file a drop names: the first URL, a local file that is no folder.
std::optional<QString> DroppedFile(const QMimeData& data) {
  if (!data.hasUrls() || data.urls().isEmpty()) return std::nullopt;
  const QUrl& url = data.urls().first();
  if (!url.isLocalFile()) return std::nullopt;
  const QFileInfo file(url.toLocalFile());
  if (!file.exists() || file.isDir()) return std::nullopt;
  return file.absoluteFilePath();
}

QString FromCp932(std::string_view bytes) {
  return QString::fromStdString(platform::Cp932ToUtf8Lossy(bytes));
}

// Why a file could not be opened or saved, as the user reads it.
QString Reason(int error_number) {
  switch (error_number) {
    case EACCES:
    case EPERM:
      return QStringLiteral("アクセスが許可されていません。");
    case EROFS:
      return QStringLiteral("読み取り専用の場所です。");
    case ENOSPC:
    case EDQUOT:
      return QStringLiteral("ディスクの空きが足りません。");
    case ENOENT:
    case ENOTDIR:
      return QStringLiteral("ファイルまたはフォルダーがありません。");
    case EISDIR:
      return QStringLiteral("フォルダーです。");
    case EINVAL:
      return QStringLiteral("通常のファイルではありません。");
    case EFBIG:
      return QStringLiteral("ファイルが大きすぎます。");
    default:
      return QString::fromLocal8Bit(std::strerror(error_number));
  }
}

// The editor's look: black on white whatever the desktop's theme (the text
// area keeps its own colours, as the main window does), a Japanese
// fixed-pitch font, both scroll bars, the line-break marks shown, the caret
// kept within the text as in other editors.
void ApplyEditorLook(editor::TEditor& editor) {
  using namespace platform;
  editor.SetColor(clWhite);
  TFont font = editor.Font();
  font.Name = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
  font.Height = -16;
  font.Color = clBlack;
  editor.SetFont(font);
  editor.SetScrollBars(editor::ssBoth);
  editor.Caret().SetFreeCaret(false);
  editor.Marks().RetMark().SetVisible(true);
  editor.Marks().EofMark().SetVisible(true);
  editor.Margin().SetLeft(4);
  editor.Margin().SetTop(2);
  editor.SetUndoListMax(10000);
  // Web and mail addresses stand out, as in the information window.
  editor::TEditorColors& colors = editor.View().Colors();
  colors.SetAllBkColor(clWhite);
  colors.SetAllColor(clBlack);
  colors.Url().SetColor(clBlue);
  colors.Url().SetStyle({fsUnderline});
  colors.Mail().SetColor(clPurple);
  colors.Mail().SetStyle({fsUnderline});
  colors.Select().SetColor(clWhite);
  colors.Select().SetBkColor(clNavy);
  editor.View().SetUrl(true);
  editor.View().SetMail(true);
}

}  // namespace

EditWindow::EditWindow(std::unique_ptr<EditPrompts> prompts)
    : prompts_(std::move(prompts)), editor_(std::make_unique<editor::TEditor>()) {
  auto* area = new QWidget(this);
  setCentralWidget(area);
  editor_->BeginLoading();
  ApplyEditorLook(*editor_);
  platform::SetParentWidget(*editor_, area);
  editor_->Loaded();
  // The control's outer widget fills the area whatever its size.
  QWidget* frame = platform::ControlWidget(*editor_);
  area->installEventFilter(this);
  frame->setGeometry(area->rect());

  editor_->OnChange = [this](platform::TObject*) {
    // Undoing or redoing back to the saved text leaves nothing to save.
    if (editor_->Modified() && UndoState() == saved_state_) editor_->SetModified(false);
    UpdateTitle();
    UpdateStatus();
  };
  editor_->OnCaretMoved = [this](platform::TObject*) { UpdateStatus(); };
  editor_->OnSelectionModeChange = [this](platform::TObject*) { UpdateStatus(); };

  BuildMenus();
  BuildStatusLine();
  resize(960, 680);
  setAcceptDrops(true);
  TextReplaced();
  editor_->SetFocus();
}

EditWindow::~EditWindow() {
  editor_->OnChange = nullptr;
  editor_->OnCaretMoved = nullptr;
  editor_->OnSelectionModeChange = nullptr;
  editor_.reset();
}

bool EditWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    if (QWidget* frame = platform::ControlWidget(*editor_))
      frame->setGeometry(centralWidget()->rect());
  }
  return QMainWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------- menus

void EditWindow::BuildMenus() {
  BuildFileMenu();
  BuildEditMenu();
  BuildViewMenu();
}

void EditWindow::BuildFileMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  QAction* action = menu->addAction(QStringLiteral("新規(&N)"), [this] { NewFile(); });
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  action = menu->addAction(QStringLiteral("開く(&O)..."), [this] { OpenWithDialog(); });
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  action = menu->addAction(QStringLiteral("上書き保存(&S)"), [this] { Save(); });
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  action = menu->addAction(QStringLiteral("名前を付けて保存(&A)..."), [this] { SaveAs(); });
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  menu->addSeparator();
  action = menu->addAction(QStringLiteral("終了(&X)"), [this] { close(); });
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void EditWindow::MirrorControlItems(QMenu* menu) {
  // The control reads its own shortcuts while it has the focus (Ctrl+Z, Ctrl+A
  // for redo, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+B, Ctrl+K); the menu only shows
  // them, so that no key takes a second way.
  editor::TEditorPopupMenu& popup = editor_->PopupMenu();
  for (int i = 0; i < popup.Count(); ++i) {
    platform::TMenuItem& item = popup.Items(i);
    if (item.IsSeparator()) {
      menu->addSeparator();
      continue;
    }
    QString text = FromCp932(item.Caption());
    if (!item.ShortCut().empty()) text += QLatin1Char('\t') + FromCp932(item.ShortCut());
    QAction* action = menu->addAction(text, [&item] { item.Click(); });
    action->setCheckable(&item == popup.BoxSelectModeItem());
    mirrored_.push_back({&item, action});
  }
}

void EditWindow::RefreshEditMenu() {
  editor::TEditorPopupMenu& popup = editor_->PopupMenu();
  if (popup.OnPopup) popup.OnPopup(&popup);
  for (const MirroredItem& m : mirrored_) {
    m.action->setEnabled(m.item->Enabled());
    if (m.action->isCheckable()) m.action->setChecked(m.item->Checked());
  }
  overwrite_action_->setChecked(editor_->OverWrite());
}

void EditWindow::BuildEditMenu() {
  edit_menu_ = menuBar()->addMenu(QStringLiteral("編集(&E)"));
  MirrorControlItems(edit_menu_);
  edit_menu_->addSeparator();
  QAction* action = edit_menu_->addAction(QStringLiteral("検索(&F)..."), [this] { Find(); });
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  action = edit_menu_->addAction(QStringLiteral("次を検索(&N)"), [this] { FindAgain(true); });
  action->setShortcut(QKeySequence(Qt::Key_F3));
  action = edit_menu_->addAction(QStringLiteral("前を検索(&V)"), [this] { FindAgain(false); });
  action->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  action = edit_menu_->addAction(QStringLiteral("行へ移動(&G)..."), [this] { GoToLine(); });
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  edit_menu_->addSeparator();
  overwrite_action_ = edit_menu_->addAction(QStringLiteral("上書きモード(&O)"));
  overwrite_action_->setCheckable(true);
  overwrite_action_->setShortcut(QKeySequence(Qt::Key_Insert));
  connect(overwrite_action_, &QAction::triggered, this, [this](bool on) {
    editor_->SetOverWrite(on);
    UpdateStatus();
  });
  connect(edit_menu_, &QMenu::aboutToShow, this, [this] { RefreshEditMenu(); });
}

void EditWindow::BuildViewMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  wrap_action_ = menu->addAction(QStringLiteral("右端で折り返す(&W)"));
  wrap_action_->setCheckable(true);
  connect(wrap_action_, &QAction::triggered, this, [this](bool on) {
    editor_->SetWordWrap(on);
    Rewrapped();
    editor_->ScrollCaretIntoView();
    UpdateStatus();
  });

  QMenu* options = menu->addMenu(QStringLiteral("折り返しの設定(&O)"));
  options->addAction(QStringLiteral("折り返し桁数(&C)..."), [this] {
    editor::TEditorWrapOption& wrap = editor_->WrapOption();
    if (auto width = prompts_->AskNumber(this, QStringLiteral("折り返し桁数"),
                                         QStringLiteral("桁数 (%1 - %2):")
                                             .arg(editor::TEditorWrapOption::kMinWrapByte)
                                             .arg(editor::TEditorWrapOption::kMaxWrapByte),
                                         wrap.WrapByte(), editor::TEditorWrapOption::kMinWrapByte,
                                         editor::TEditorWrapOption::kMaxWrapByte))
      wrap.SetWrapByte(*width);
    Rewrapped();
    UpdateStatus();
  });
  options->addSeparator();
  struct Switch {
    const char16_t* caption;
    bool (editor::TEditorWrapOption::*get)() const;
    void (editor::TEditorWrapOption::*set)(bool);
  };
  static const Switch switches[] = {
      {u"禁則処理(&K)", &editor::TEditorWrapOption::Leading,
       &editor::TEditorWrapOption::SetLeading},
      {u"句読点のぶら下げ(&P)", &editor::TEditorWrapOption::FollowPunctuation,
       &editor::TEditorWrapOption::SetFollowPunctuation},
      {u"改行のぶら下げ(&R)", &editor::TEditorWrapOption::FollowRetMark,
       &editor::TEditorWrapOption::SetFollowRetMark},
      {u"英単語の途中で折り返さない(&E)", &editor::TEditorWrapOption::WordBreak,
       &editor::TEditorWrapOption::SetWordBreak},
  };
  std::vector<std::pair<QAction*, const Switch*>> actions;
  for (const Switch& s : switches) {
    QAction* action = options->addAction(QString::fromUtf16(s.caption));
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, &s](bool on) {
      (editor_->WrapOption().*s.set)(on);
      Rewrapped();
      UpdateStatus();
    });
    actions.emplace_back(action, &s);
  }
  connect(options, &QMenu::aboutToShow, this, [this, actions] {
    for (const auto& [action, s] : actions) action->setChecked((editor_->WrapOption().*s->get)());
  });
  connect(menu, &QMenu::aboutToShow, this,
          [this] { wrap_action_->setChecked(editor_->WordWrap()); });
}

// ------------------------------------------------------------- status line

void EditWindow::BuildStatusLine() {
  auto add = [this](const char* name, bool stretch) {
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    statusBar()->addPermanentWidget(label, stretch ? 1 : 0);
    return label;
  };
  note_label_ = add("note", true);
  position_label_ = add("position", false);
  selection_label_ = add("selectionMode", false);
  overwrite_label_ = add("overwrite", false);
  line_end_label_ = add("lineEnd", false);
}

int EditWindow::CaretLine() const {
  const editor::TEditorScreenStrings& rows = editor_->ScreenStrings();
  const int row = std::min(editor_->Row(), rows.GetCount());
  if (!editor_->WordWrap()) return row + 1;
  int line = 1;
  for (int r = 0; r < row; ++r)
    if (rows.EndKinds(r) != editor::rkWrap) ++line;
  return line;
}

void EditWindow::UpdateStatus() {
  if (!position_label_) return;
  position_label_->setText(QStringLiteral("%1 行, %2 桁").arg(CaretLine()).arg(editor_->Col() + 1));
  selection_label_->setText(editor_->SelectionMode() == editor::smBox ? QStringLiteral("Box選択")
                                                                      : QStringLiteral("通常選択"));
  overwrite_label_->setText(editor_->OverWrite() ? QStringLiteral("上書き")
                                                 : QStringLiteral("挿入"));
  QString line_end = QString::fromLatin1(LineEndName(document_.LineEnd()));
  if (document_.MixedLineEnds()) line_end += QStringLiteral(" (混在)");
  line_end_label_->setText(line_end);
  line_end_label_->setToolTip(document_.MixedLineEnds()
                                  ? QStringLiteral("改行の種類が混在しています。保存すると %1 "
                                                   "にそろえます。")
                                        .arg(QString::fromLatin1(LineEndName(document_.LineEnd())))
                                  : QString());
  QString note;
  if (document_.HasEndMark())
    note = QStringLiteral("終端記号 (0x1A) から後ろの %1 バイトは表示していません")
               .arg(static_cast<qint64>(document_.AfterMark().size()));
  note_label_->setText(note);
}

QString EditWindow::StatusText() const {
  QStringList fields;
  for (const QLabel* label :
       {note_label_, position_label_, selection_label_, overwrite_label_, line_end_label_})
    fields << label->text();
  return fields.join(QStringLiteral(" | "));
}

QString EditWindow::DisplayName() const {
  if (document_.Path().empty()) return QStringLiteral("無題");
  return QFileInfo(QFile::decodeName(QByteArray::fromStdString(document_.Path()))).fileName();
}

void EditWindow::UpdateTitle() {
  setWindowTitle(DisplayName() + QStringLiteral("[*] - ") + ProgramTitle());
  setWindowModified(editor_->Modified());
  // A screen reader names the text after its file, as the title does.
  platform::ControlWidget(*editor_)->setAccessibleName(DisplayName());
}

// The text was replaced as a whole (a new text, an opened file): nothing to
// undo, nothing changed, the view at the top.
void EditWindow::TextReplaced() {
  MarkSaved();
  editor_->SetRowCol(0, 0);
  editor_->SetTopRow(0);
  editor_->SetTopCol(0);
  after_mark_answered_ = false;
  UpdateTitle();
  UpdateStatus();
}

std::uint64_t EditWindow::UndoState() const {
  return editor_->ScreenStrings().UndoObj().State();
}

void EditWindow::MarkSaved() {
  editor_->SetModified(false);
  saved_state_ = UndoState();
}

void EditWindow::Rewrapped() {
  if (!editor_->Modified()) saved_state_ = UndoState();
}

// ------------------------------------------------------------------ files

bool EditWindow::KeepChangesAnswered() {
  if (!editor_->Modified()) return true;
  switch (prompts_->AskSaveChanges(this, DisplayName())) {
    case TSaveChoice::Save:
      return Save();
    case TSaveChoice::Discard:
      return true;
    case TSaveChoice::Cancel:
      break;
  }
  return false;
}

bool EditWindow::NewFile() {
  if (!KeepChangesAnswered()) return false;
  editor_->Lines().Clear();
  document_.Reset();
  TextReplaced();
  return true;
}

bool EditWindow::OpenFile(const std::string& native_path) {
  if (!KeepChangesAnswered()) return false;
  return LoadFile(native_path);
}

void EditWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFile(*event->mimeData())) event->acceptProposedAction();
}

void EditWindow::dropEvent(QDropEvent* event) {
  const std::optional<QString> file = DroppedFile(*event->mimeData());
  if (!file) return;
  event->acceptProposedAction();
  // The question comes once the file manager's drag has ended.
  const std::string native = QFile::encodeName(*file).toStdString();
  QTimer::singleShot(0, this, [this, native] { OpenFile(native); });
}

bool EditWindow::OpenWithDialog() {
  if (!KeepChangesAnswered()) return false;
  QString folder;
  if (!document_.Path().empty())
    folder = QFileInfo(QFile::decodeName(QByteArray::fromStdString(document_.Path()))).path();
  const std::optional<QString> chosen = prompts_->ChooseFileToOpen(this, folder);
  if (!chosen) return false;
  return LoadFile(QFile::encodeName(*chosen).toStdString());
}

bool EditWindow::LoadFile(const std::string& native_path) {
  const QString name = QFile::decodeName(QByteArray::fromStdString(native_path));
  try {
    document_.Open(editor_->Lines(), native_path);
  } catch (const platform::ENativeFileError& e) {
    prompts_->ShowError(
        this, QStringLiteral("「%1」を開けません。\n%2").arg(name, Reason(e.ErrorNumber())));
    return false;
  } catch (const platform::EStreamError&) {
    prompts_->ShowError(this, QStringLiteral("「%1」を読み込めません。").arg(name));
    TextReplaced();
    return false;
  }
  TextReplaced();
  if (document_.HasEndMark())
    prompts_->ShowWarning(
        this, QStringLiteral("「%1」には終端記号 (0x1A) があります。そこから後ろの %2 バイトは"
                             "表示していません。")
                  .arg(DisplayName())
                  .arg(static_cast<qint64>(document_.AfterMark().size())));
  return true;
}

void EditWindow::Start(const std::string& native_path) {
  const QString name = QFile::decodeName(QByteArray::fromStdString(native_path));
  if (!QFileInfo(name).exists() && !QFileInfo(name).isSymLink()) {
    // A name of a file yet to be: the text starts empty and is saved there.
    document_.Reset(native_path);
    TextReplaced();
    statusBar()->showMessage(QStringLiteral("新しいファイルです。"), 5000);
    return;
  }
  LoadFile(native_path);
}

bool EditWindow::Save() {
  if (document_.Path().empty()) return SaveAs();
  return SaveTo(document_.Path());
}

bool EditWindow::SaveAs() {
  QString suggested = document_.Path().empty()
                          ? QStringLiteral("無題.txt")
                          : QFile::decodeName(QByteArray::fromStdString(document_.Path()));
  const std::optional<QString> chosen = prompts_->ChooseFileToSave(this, suggested);
  if (!chosen) return false;
  return SaveTo(QFile::encodeName(*chosen).toStdString());
}

bool EditWindow::SaveTo(const std::string& native_path) {
  bool keep_after_mark = true;
  if (document_.HasEndMark() && !after_mark_answered_) {
    switch (prompts_->AskAfterMark(this, DisplayName(),
                                   static_cast<qint64>(document_.AfterMark().size()))) {
      case TAfterMarkChoice::Keep:
        break;
      case TAfterMarkChoice::Drop:
        keep_after_mark = false;
        break;
      case TAfterMarkChoice::Cancel:
        return false;
    }
  }
  const bool mixed = document_.MixedLineEnds();
  try {
    document_.Save(editor_->ScreenStrings(), native_path, keep_after_mark);
  } catch (const platform::ENativeFileError& e) {
    const QString name = QFile::decodeName(QByteArray::fromStdString(native_path));
    QString text =
        QStringLiteral("「%1」に保存できません。\n%2").arg(name, Reason(e.ErrorNumber()));
    if (QFileInfo::exists(name)) text += QStringLiteral("\n元のファイルはそのままです。");
    prompts_->ShowError(this, text);
    return false;
  }
  after_mark_answered_ = document_.HasEndMark();
  MarkSaved();
  UpdateTitle();
  UpdateStatus();
  statusBar()->showMessage(mixed ? QStringLiteral("保存しました (改行は %1 にそろえました)。")
                                       .arg(QString::fromLatin1(LineEndName(document_.LineEnd())))
                                 : QStringLiteral("保存しました。"),
                           5000);
  return true;
}

void EditWindow::closeEvent(QCloseEvent* event) {
  if (KeepChangesAnswered())
    event->accept();
  else
    event->ignore();
}

// ------------------------------------------------------------- find, go to

void EditWindow::Find() {
  const std::optional<QString> text = prompts_->AskFindText(this, last_find_);
  if (!text) return;
  last_find_ = *text;
  FindAgain(true);
}

void EditWindow::FindAgain(bool forward) {
  if (last_find_.isEmpty()) {
    Find();
    return;
  }
  const std::optional<std::string> pattern = platform::Utf8ToCp932(last_find_.toStdString());
  if (!pattern) {
    prompts_->ShowError(
        this, QStringLiteral("「%1」には Shift-JIS で表せない文字があります。").arg(last_find_));
    return;
  }
  const editor::TEditorScreenStrings& rows = editor_->ScreenStrings();
  const int start = editor_->GetSelStart();
  const std::optional<TTextMatch> match =
      forward ? FindForward(rows, *pattern, editor_->Selected() ? start + 1 : start)
              : FindBackward(rows, *pattern, start);
  if (!match) {
    QApplication::beep();
    statusBar()->showMessage(QStringLiteral("「%1」は見つかりません。").arg(last_find_), 5000);
    return;
  }
  editor_->SetSelStart(match->Offset);
  editor_->SetSelLength(match->Length);
  editor_->ScrollCaretIntoView();
  statusBar()->clearMessage();
}

void EditWindow::GoToLine() {
  const int count = std::max(1, editor_->Lines().GetCount());
  const std::optional<int> line =
      prompts_->AskNumber(this, QStringLiteral("行へ移動"),
                          QStringLiteral("行番号 (1 - %1):").arg(count), CaretLine(), 1, count);
  if (!line) return;
  if (editor_->Selected()) editor_->ClearSelection();
  const int row =
      *line - 1 < editor_->Lines().GetCount() ? editor_->Lines().LineToRow(*line - 1) : 0;
  editor_->SetRowCol(row, 0);
  editor_->ScrollCaretIntoView();
}

}  // namespace editapp
