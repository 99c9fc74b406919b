// What the window tests share: the application, a fake information window
// whose token answers the test sets, a desktop hand-off double, a message
// box answerer, and a window made with them.
#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/window/cp932_text.h"
#include "app/window/desktop_hand_off.h"
#include "app/window/info_window.h"
#include "app/window/varnek_form.h"
#include "platform/user_locale.h"
#include "ui/layout_look.h"
#include "ui/qt_translations.h"

// Readable failure messages for the Qt values the tests compare.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QPoint& p, std::ostream* os) {
  *os << '(' << p.x() << ',' << p.y() << ')';
}
inline void PrintTo(const QSize& s, std::ostream* os) {
  *os << s.width() << 'x' << s.height();
}
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << '(' << r.x() << ',' << r.y() << ") " << r.width() << 'x' << r.height();
}

namespace app::test {

inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "window_test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    auto* created = new QApplication(argc, argv);
    ui::InstallQtTranslations(*created);
    ui::UseLayoutLook();
    platform::SetUserLocale("ja_JP");
    return created;
  }();
  return *application;
}

// The information window as the window sees it, with answers set by the test.
class FakeInfoWindow : public QWidget, public InfoWindow {
 public:
  explicit FakeInfoWindow(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    lines_.Add(Cp932("■□■ 情報ウインドウ ■□■"));
    lines_.OnChange = [this](platform::TObject*) {
      if (OnChange) OnChange();
    };
  }

  QWidget* Widget() override { return this; }
  platform::TStrings& Lines() override { return lines_; }
  int VisibleRows() const override { return visible_rows; }
  int TopRow() const override { return top_row; }
  void SetTopRow(int row) override { top_row = row; }
  void SetCaretToEnd() override { ++caret_to_end_calls; }
  int CursorKind() const override { return cursor_kind; }
  const editor::TEditorCursors& Cursors() const override { return cursors; }
  void SetCursor(platform::TCursor cursor) override { control_cursor = cursor; }
  void SetScreenCursor(platform::TCursor cursor) override { screen_cursor = cursor; }
  TTokenKind TokenKindFromCaret() override { return caret_kind; }
  TTokenKind TokenKindFromPos(QPoint point) override { return kind_at ? kind_at(point) : tkEnd; }
  std::string TokenFromCaret() override { return caret_token; }
  void SelectTokenFromCaret() override { ++select_calls; }

  // The lines as UTF-8, for comparing.
  std::vector<std::string> LinesUtf8() const {
    std::vector<std::string> out;
    for (int i = 0; i < lines_.Count(); ++i) out.push_back(ToQString(lines_[i]).toStdString());
    return out;
  }

  int visible_rows = 5;
  int top_row = 0;
  int caret_to_end_calls = 0;
  int cursor_kind = 0;
  editor::TEditorCursors cursors;
  platform::TCursor control_cursor = 9999;
  platform::TCursor screen_cursor = 9999;
  std::function<TTokenKind(QPoint)> kind_at;
  TTokenKind caret_kind = tkEnd;
  std::string caret_token;
  int select_calls = 0;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override {
    if (OnMouseMove) OnMouseMove(event->position().toPoint());
  }
  void mouseDoubleClickEvent(QMouseEvent*) override {
    if (OnDblClick) OnDblClick();
  }
  void resizeEvent(QResizeEvent*) override {
    if (OnResize) OnResize();
  }

 private:
  platform::TStringList lines_;
};

class RecordingDesktop : public DesktopHandOff {
 public:
  bool Open(const QUrl& url) override {
    opened.push_back(url);
    return answer;
  }
  std::vector<QUrl> opened;
  bool answer = true;  // whether a program took the address
};

// A message box as the user saw it.
struct SeenBox {
  QString text;
  QString caption;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button;
  QStringList button_texts;
};

// While it lives, answers every message box that opens with `answer`.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(QMessageBox::StandardButton answer) : answer_(answer) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenBox(); });
    timer_.start(5);
  }
  void set_answer(QMessageBox::StandardButton answer) { answer_ = answer; }
  const std::vector<SeenBox>& seen() const { return seen_; }

 private:
  void AnswerOpenBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    SeenBox seen{box->text(),
                 box->windowTitle(),
                 box->icon(),
                 box->standardButtons(),
                 box->standardButton(box->defaultButton()),
                 {}};
    for (QAbstractButton* button : box->buttons()) seen.button_texts << button->text();
    seen_.push_back(seen);
    QAbstractButton* button = box->button(answer_);
    if (button) {
      button->click();
    } else {
      box->reject();
    }
  }

  QMessageBox::StandardButton answer_;
  QTimer timer_;
  std::vector<SeenBox> seen_;
};

// A window with a fake information window and a recording desktop.
struct FormUnderTest {
  explicit FormUnderTest(const QString& directory = QString(),
                         const QString& program_path = QString(),
                         std::chrono::milliseconds live_repaint_interval =
                             TVarnekForm::Options().live_repaint_interval,
                         const QString& settings_file = QString()) {
    TestApplication();
    TVarnekForm::Options options;
    options.info_window_factory = [this](QWidget* parent) {
      auto made = std::make_unique<FakeInfoWindow>(parent);
      info = made.get();
      return made;
    };
    options.desktop = &desktop;
    options.program_path = program_path;
    options.start_directory = directory;
    options.live_repaint_interval = live_repaint_interval;
    options.settings_file = settings_file;
    form = std::make_unique<TVarnekForm>(std::move(options));
  }

  template <typename Control>
  Control* Find(const char* name) const {
    return form->findChild<Control*>(QString::fromLatin1(name));
  }

  RecordingDesktop desktop;
  FakeInfoWindow* info = nullptr;
  std::unique_ptr<TVarnekForm> form;
};

// A window test with a folder of its own to work in: `dir_` is "work" in a
// fresh temporary folder, named by its canonical path.
class WorkFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    ASSERT_TRUE(folder_.isValid());
    dir_ = QDir(folder_.path()).canonicalPath() + "/work";
    ASSERT_TRUE(QDir().mkpath(dir_));
  }

  // Writes `content` into the file `path`, its folders made first.
  static void WriteFile(const QString& path, const QByteArray& content) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(content), content.size());
  }

  QTemporaryDir folder_;
  QString dir_;
};

// Lets the event loop run until the window's run or preview has ended, as a
// user waits for it; false when it has not ended within `timeout_ms`.
inline bool WaitForRun(const TVarnekForm& form, int timeout_ms = 60000) {
  QElapsedTimer waited;
  waited.start();
  while (form.Running()) {
    if (waited.elapsed() > timeout_ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  // What the run's end queued (the object's removal, repaints) happens too.
  QApplication::processEvents();
  return true;
}

// Types `text` into `widget` as a user does: ASCII from the keyboard, the
// rest committed by the input method, as Japanese text arrives.
inline void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c == QLatin1Char('\n')) {
      QTest::keyClick(widget, Qt::Key_Return);
    } else if (c.unicode() < 0x80) {
      QTest::keyClicks(widget, QString(c));
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(widget, &commit);
    }
  }
}

}  // namespace app::test
