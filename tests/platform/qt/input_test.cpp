// Qt's input events as the messages a control handles: keys, characters,
// mouse, wheel, focus, input method and scroll-bar actions, and the pointer
// shapes of the cursor table.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWindow>

#include "platform/control/virtual_keys.h"
#include "platform/qt/qt_graphics.h"
#include "test_control.h"

namespace platform {
namespace {

using testing::Sjis;
using testing::TestControl;

class ControlInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::App();
    control.Create(200, 100);
    control.Show();
    client = ClientWidget(control);
  }
  void Clear() { control.messages.clear(); }
  // The messages of one kind, as (wParam, lParam) pairs.
  std::vector<std::pair<WPARAM, LPARAM>> Params(std::uint32_t msg) const {
    std::vector<std::pair<WPARAM, LPARAM>> found;
    for (const TMessage& m : control.Of(msg)) found.emplace_back(m.WParam, m.LParam);
    return found;
  }
  std::vector<WPARAM> Chars() const {
    std::vector<WPARAM> found;
    for (const TMessage& m : control.Of(WM_CHAR)) found.push_back(m.WParam);
    return found;
  }

  TestControl control;
  QWidget* client = nullptr;
};

TEST_F(ControlInputTest, KeysArriveAsKeyDownCharAndKeyUp) {
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;  // what the desktop's keyboard gives
    int vk;
    std::vector<WPARAM> chars;
    bool extended;
  };
  const Case cases[] = {
      {Qt::Key_A, Qt::NoModifier, "a", 'A', {'a'}, false},
      {Qt::Key_A, Qt::ShiftModifier, "A", 'A', {'A'}, false},
      {Qt::Key_5, Qt::NoModifier, "5", '5', {'5'}, false},
      {Qt::Key_Right, Qt::NoModifier, "", VK_RIGHT, {}, true},
      {Qt::Key_PageDown, Qt::NoModifier, "", VK_NEXT, {}, true},
      {Qt::Key_Delete, Qt::NoModifier, "\x7f", VK_DELETE, {}, true},
      {Qt::Key_Backspace, Qt::NoModifier, "\b", VK_BACK, {8}, false},
      {Qt::Key_Return, Qt::NoModifier, "\r", VK_RETURN, {13}, false},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", VK_ESCAPE, {27}, false},
      {Qt::Key_H, Qt::ControlModifier, "h", 'H', {8}, false},  // Ctrl+H types BackSpace
      {Qt::Key_M, Qt::ControlModifier, "", 'M', {13}, false},
      {Qt::Key_F5, Qt::NoModifier, "", VK_F1 + 4, {}, false},
      {Qt::Key_Kana_Lock, Qt::NoModifier, "\xef\xbd\xb1", VK_KANA, {0xB1}, false},  // half-width ｱ
      {Qt::Key_yen, Qt::NoModifier, "\xc2\xa5", VK_OEM_5, {0x5C}, false},  // the yen key types 0x5C
  };
  for (const Case& c : cases) {
    Clear();
    const QString text = QString::fromUtf8(c.text);
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, c.key, c.modifiers, text);
    QApplication::sendEvent(client, &press);
    QApplication::sendEvent(client, &release);
    SCOPED_TRACE(c.vk);
    auto downs = Params(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].first, WPARAM(c.vk));
    EXPECT_EQ(LOWORD(downs[0].second), 1);  // repeat count
    EXPECT_EQ((downs[0].second & KF_EXTENDED) != 0, c.extended);
    EXPECT_EQ(downs[0].second & (KF_REPEAT | KF_UP), 0);
    EXPECT_EQ(Chars(), c.chars);
    auto ups = Params(WM_KEYUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].first, WPARAM(c.vk));
    EXPECT_EQ(ups[0].second & (KF_REPEAT | KF_UP), KF_REPEAT | KF_UP);
  }
}

TEST_F(ControlInputTest, KeyStateFollowsTheModifiersOfTheEvents) {
  std::vector<std::int16_t> shift_at_a, ctrl_at_a;
  control.on_message = [&](TMessage& m) {
    if (m.Msg == WM_KEYDOWN && m.WParam == 'A') {
      shift_at_a.push_back(control.GetKeyState(VK_SHIFT));
      ctrl_at_a.push_back(control.GetKeyState(VK_CONTROL));
    }
  };
  QTest::keyClick(client, Qt::Key_A, Qt::ShiftModifier);
  QTest::keyClick(client, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(client, Qt::Key_A);
  ASSERT_EQ(shift_at_a.size(), 3u);
  EXPECT_LT(shift_at_a[0], 0);
  EXPECT_GE(ctrl_at_a[0], 0);
  EXPECT_GE(shift_at_a[1], 0);
  EXPECT_LT(ctrl_at_a[1], 0);
  EXPECT_GE(shift_at_a[2], 0);
  EXPECT_GE(ctrl_at_a[2], 0);
  EXPECT_GE(control.GetKeyState(VK_SHIFT), 0);  // released after the click
  EXPECT_GE(control.GetKeyState('A'), 0);
}

TEST_F(ControlInputTest, AutoRepeatIsMarkedInTheKeyData) {
  QKeyEvent first(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), false);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
  QKeyEvent repeated_release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(client, &first);
  QApplication::sendEvent(client, &repeat);
  QApplication::sendEvent(client, &repeated_release);  // a repeat has no key-up of its own
  auto downs = Params(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].second & KF_REPEAT, 0);
  EXPECT_EQ(downs[1].second & KF_REPEAT, KF_REPEAT);
  EXPECT_TRUE(Params(WM_KEYUP).empty());
  EXPECT_LT(control.GetKeyState(VK_DOWN), 0);
}

// A control that, like an editor, lets the framework events run first and
// then acts on what they left of the message.
class InheritedFirst : public TestControl {
 public:
  std::vector<WPARAM> left;

 protected:
  void Dispatch(TMessage& m) override {
    TCustomControl::Dispatch(m);
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_CHAR) left.push_back(m.WParam);
  }
};

TEST_F(ControlInputTest, KeyEventsMayChangeOrTakeTheKey) {
  InheritedFirst c;
  c.Create(100, 50);
  c.OnKeyDown = [](TObject*, std::uint16_t& key, TShiftState shift) {
    if (key == VK_RIGHT && (shift & ssCtrl)) key = 0;
  };
  c.OnKeyPress = [](TObject*, char& key) {
    if (key == 'x') key = 'y';
  };
  QTest::keyClick(ClientWidget(c), Qt::Key_Right, Qt::ControlModifier);
  QTest::keyClick(ClientWidget(c), Qt::Key_Right);
  QTest::keyClick(ClientWidget(c), Qt::Key_X);
  EXPECT_EQ(c.left, (std::vector<WPARAM>{VK_CONTROL, 0, VK_RIGHT, 'X', 'y'}));
}

TEST_F(ControlInputTest, TabStaysWithAControlThatWantsIt) {
  QLineEdit other(ControlWidget(control)->window());
  control.SetTabStop(true);
  control.dialog_code = DLGC_WANTTAB;
  control.SetFocus();
  QTest::keyClick(client, Qt::Key_Tab);
  EXPECT_EQ(Chars(), (std::vector<WPARAM>{9}));
}

TEST_F(ControlInputTest, JapaneseTextFromAKeyArrivesWholeAndOnlyOnce) {
  std::string result_seen;
  control.on_message = [&](TMessage& m) {
    if (m.Msg == WM_IME_COMPOSITION && (m.LParam & GCS_RESULTSTR))
      result_seen = control.ImeResultString();
  };
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("あ"));
  QApplication::sendEvent(client, &press);
  EXPECT_EQ(result_seen, Sjis("あ"));
  EXPECT_TRUE(control.ImeResultString().empty());  // only while the message is handled
  // No character messages repeat it later, where other input may have come
  // between.
  QCoreApplication::processEvents();
  EXPECT_TRUE(Chars().empty());
}

TEST_F(ControlInputTest, CharactersWithoutAShiftJisFormAreRefused) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("é"));
  QApplication::sendEvent(client, &press);
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("a😀½b"));
  QApplication::sendEvent(client, &commit);
  std::vector<WPARAM> refused;
  for (const TMessage& m : control.Of(CM_INPUTREFUSED)) refused.push_back(m.WParam);
  EXPECT_EQ(refused, (std::vector<WPARAM>{1, 2}));
  EXPECT_EQ(control.beeps, 2);
}

TEST_F(ControlInputTest, InputMethodCompositionAndResult) {
  control.SetFocus();
  std::string result_seen;
  control.on_message = [&](TMessage& m) {
    if (m.Msg == WM_IME_COMPOSITION && (m.LParam & GCS_RESULTSTR))
      result_seen = control.ImeResultString();
  };
  QInputMethodEvent compose(QString::fromUtf8("かな"), {});
  QApplication::sendEvent(client, &compose);
  EXPECT_EQ(control.ImePreeditText(), "かな");
  QInputMethodEvent commit;
  // A character without a Shift-JIS form is left out, never replaced, and
  // the control hears of the refusal.
  commit.setCommitString(QString::fromUtf8("仮名\xF0\x9F\x98\x80!"));
  QApplication::sendEvent(client, &commit);
  EXPECT_EQ(result_seen, Sjis("仮名!"));
  EXPECT_TRUE(control.ImePreeditText().empty());
  std::vector<std::uint32_t> ime;
  for (std::uint32_t id : control.Ids())
    if (id == WM_IME_STARTCOMPOSITION || id == WM_IME_COMPOSITION || id == WM_IME_ENDCOMPOSITION)
      ime.push_back(id);
  EXPECT_EQ(ime, (std::vector<std::uint32_t>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION,
                                             WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION}));
  QCoreApplication::processEvents();
  EXPECT_TRUE(Chars().empty());
}

TEST_F(ControlInputTest, InputMethodAsksWhereAndInWhichFont) {
  TFont font;
  font.Name = Sjis("ＭＳ ゴシック");
  font.Height = -13;
  control.SetImeCompositionWindow({30, 40}, font);
  QRect at = client->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(at.topLeft(), QPoint(30, 40));
  EXPECT_EQ(client->inputMethodQuery(Qt::ImFont).value<QFont>().families().value(0), "IPAGothic");
  EXPECT_TRUE(client->inputMethodQuery(Qt::ImEnabled).toBool());
}

TEST_F(ControlInputTest, MouseButtonsArriveWithKeysAndPosition) {
  int clicks = 0;
  control.OnClick = [&](TObject*) { ++clicks; };
  QTest::mousePress(client, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
  EXPECT_TRUE(control.LButtonDown());
  QTest::mouseRelease(client, Qt::LeftButton, Qt::ShiftModifier, QPoint(12, 21));
  EXPECT_FALSE(control.LButtonDown());
  auto down = Params(WM_LBUTTONDOWN);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].first, MK_LBUTTON | MK_SHIFT);
  EXPECT_EQ(GET_X_LPARAM(down[0].second), 10);
  EXPECT_EQ(GET_Y_LPARAM(down[0].second), 20);
  auto up = Params(WM_LBUTTONUP);
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].first, MK_SHIFT);
  EXPECT_EQ(GET_X_LPARAM(up[0].second), 12);
  EXPECT_EQ(clicks, 1);

  Clear();
  QTest::mouseClick(client, Qt::RightButton, Qt::ControlModifier, QPoint(5, 6));
  ASSERT_EQ(Params(WM_RBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Params(WM_RBUTTONDOWN)[0].first, MK_RBUTTON | MK_CONTROL);
  EXPECT_EQ(Params(WM_RBUTTONUP).size(), 1u);
}

// Through the window, as the desktop delivers a double click: the second
// press is recognised by its timing.
TEST_F(ControlInputTest, DoubleClickArrivesAsItsOwnMessage) {
  int double_clicks = 0;
  control.OnDblClick = [&](TObject*) { ++double_clicks; };
  QWindow* window = ControlWidget(control)->windowHandle();
  QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier,
                     client->mapTo(client->window(), QPoint(10, 10)));
  std::vector<std::uint32_t> buttons;
  for (std::uint32_t id : control.Ids())
    if (id >= WM_LBUTTONDOWN && id <= WM_LBUTTONDBLCLK) buttons.push_back(id);
  EXPECT_EQ(buttons, (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                                 WM_LBUTTONUP}));
  EXPECT_EQ(double_clicks, 1);
  EXPECT_FALSE(control.LButtonDown());
}

TEST_F(ControlInputTest, MouseMovesArriveWithAndWithoutButtons) {
  QMouseEvent move(QEvent::MouseMove, QPointF(30, 40), client->mapToGlobal(QPointF(30, 40)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(client, &move);
  auto moves = Params(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].first, 0u);
  EXPECT_EQ(GET_X_LPARAM(moves[0].second), 30);
  EXPECT_EQ(GET_Y_LPARAM(moves[0].second), 40);
  // Dragging outside the client area gives negative coordinates.
  QMouseEvent drag(QEvent::MouseMove, QPointF(-5, 50), client->mapToGlobal(QPointF(-5, 50)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(client, &drag);
  moves = Params(WM_MOUSEMOVE);
  EXPECT_EQ(moves.back().first, MK_LBUTTON);
  EXPECT_EQ(GET_X_LPARAM(moves.back().second), -5);
  EXPECT_LT(control.GetKeyState(VK_LBUTTON), 0);
}

void Turn(QWidget* w, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWheelEvent e(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), angle, Qt::NoButton,
                modifiers, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

TEST_F(ControlInputTest, TheWheelScrollsByLinesANotch) {
  const WPARAM lines = static_cast<WPARAM>(QApplication::wheelScrollLines());
  struct Case {
    QPoint angle;
    Qt::KeyboardModifiers modifiers;
    std::uint32_t scroll;
    int code;
    std::size_t count;
  };
  const Case cases[] = {
      {{0, 120}, Qt::NoModifier, WM_VSCROLL, SB_LINEUP, lines},
      {{0, -240}, Qt::NoModifier, WM_VSCROLL, SB_LINEDOWN, 2 * lines},
      {{0, -120}, Qt::ShiftModifier, WM_HSCROLL, SB_LINERIGHT, lines},
      {{-120, 0}, Qt::NoModifier, WM_HSCROLL, SB_LINERIGHT, lines},
  };
  for (const Case& c : cases) {
    Clear();
    Turn(client, c.angle, c.modifiers);
    auto wheel = control.Of(c.angle.y() ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL);
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].WParam), c.angle.y() ? c.angle.y() : -c.angle.x());
    auto scrolls = control.Of(c.scroll);
    ASSERT_EQ(scrolls.size(), c.count + 1);
    for (std::size_t i = 0; i < c.count; ++i) EXPECT_EQ(LOWORD(scrolls[i].WParam), c.code);
    EXPECT_EQ(LOWORD(scrolls.back().WParam), SB_ENDSCROLL);
  }
  // Half notches add up.
  Clear();
  Turn(client, {0, -60});
  EXPECT_TRUE(control.Of(WM_VSCROLL).empty());
  Turn(client, {0, -60});
  EXPECT_EQ(control.Of(WM_VSCROLL).size(), lines + 1);
}

TEST_F(ControlInputTest, FocusArrivesAsSetFocusAndKillFocus) {
  QLineEdit other(ControlWidget(control));
  other.show();
  QApplication::setActiveWindow(ControlWidget(control));
  ASSERT_TRUE(QTest::qWaitForWindowActive(ControlWidget(control)));
  int entered = 0;
  control.OnEnter = [&](TObject*) { ++entered; };
  control.SetFocus();
  EXPECT_TRUE(control.Focused());
  EXPECT_EQ(control.Of(WM_SETFOCUS).size(), 1u);
  EXPECT_EQ(entered, 1);
  other.setFocus();
  EXPECT_FALSE(control.Focused());
  EXPECT_EQ(control.Of(WM_KILLFOCUS).size(), 1u);
}

TEST_F(ControlInputTest, ScrollBarActionsArriveAsRequests) {
  TestControl bars(WS_VSCROLL | WS_HSCROLL);
  bars.Create(200, 100);
  TScrollInfo info;
  info.fMask = SIF_ALL;
  info.nMax = 100;
  info.nPage = 10;
  info.nPos = 50;
  bars.SetScrollInfo(SB_VERT, info, true);
  bars.SetScrollInfo(SB_HORZ, info, true);
  struct Case {
    QAbstractSlider::SliderAction action;
    int code;
  };
  const Case cases[] = {
      {QAbstractSlider::SliderSingleStepAdd, SB_LINEDOWN},
      {QAbstractSlider::SliderSingleStepSub, SB_LINEUP},
      {QAbstractSlider::SliderPageStepAdd, SB_PAGEDOWN},
      {QAbstractSlider::SliderPageStepSub, SB_PAGEUP},
      {QAbstractSlider::SliderToMinimum, SB_TOP},
      {QAbstractSlider::SliderToMaximum, SB_BOTTOM},
  };
  for (int which : {SB_VERT, SB_HORZ}) {
    QScrollBar* bar = ControlScrollBar(bars, which);
    const std::uint32_t msg = which == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    for (const Case& c : cases) {
      bars.messages.clear();
      bar->triggerAction(c.action);
      auto got = bars.Of(msg);
      ASSERT_EQ(got.size(), 1u);
      EXPECT_EQ(LOWORD(got[0].WParam), c.code);
      // The bar waits for the control to set its position.
      EXPECT_EQ(bar->value(), 50);
      EXPECT_EQ(bars.GetScrollPos(which), 50);
    }
  }

  // Dragging the thumb: track requests with the position, then the release.
  QScrollBar* bar = ControlScrollBar(bars, SB_VERT);
  int track_seen = -1;
  bars.on_message = [&](TMessage& m) {
    if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_THUMBTRACK) {
      TScrollInfo track;
      track.fMask = SIF_TRACKPOS;
      bars.GetScrollInfo(SB_VERT, track);
      track_seen = track.nTrackPos;
      bars.SetScrollPos(SB_VERT, track.nTrackPos, true);
    }
  };
  bars.messages.clear();
  bar->setSliderDown(true);
  bar->setSliderPosition(70);
  bar->setSliderDown(false);
  auto got = bars.Of(WM_VSCROLL);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(LOWORD(got[0].WParam), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(got[0].WParam), 70);
  EXPECT_EQ(track_seen, 70);
  EXPECT_EQ(LOWORD(got[1].WParam), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(got[1].WParam), 70);
  EXPECT_EQ(LOWORD(got[2].WParam), SB_ENDSCROLL);
  EXPECT_EQ(bars.GetScrollPos(SB_VERT), 70);
}

TEST_F(ControlInputTest, CursorTableHoldsBuiltInShapesAndTheProgramsImages) {
  const TCursor right = RegisterCursorResource("RightArrow");
  const TCursor copy = RegisterCursorResource("DragSelCopy");
  EXPECT_EQ(right, 1);
  EXPECT_EQ(copy, 2);
  EXPECT_EQ(RegisterCursorResource("NoSuchImage"), crDefault);
  EXPECT_TRUE(CursorSlotUsed(1));
  EXPECT_FALSE(CursorSlotUsed(3));
  EXPECT_EQ(CursorFor(right).shape(), Qt::BitmapCursor);
  EXPECT_EQ(CursorFor(right).pixmap().size(), QSize(32, 32));
  EXPECT_EQ(CursorFor(right).hotSpot(), QPoint(11, 0));
  EXPECT_EQ(CursorFor(crIBeam).shape(), Qt::IBeamCursor);
  EXPECT_EQ(CursorFor(crHandPoint).shape(), Qt::PointingHandCursor);
  EXPECT_EQ(CursorFor(crSizeNS).shape(), Qt::SizeVerCursor);
  EXPECT_EQ(CursorFor(crDefault).shape(), Qt::ArrowCursor);

  control.SetCursor(crIBeam);
  EXPECT_EQ(client->cursor().shape(), Qt::IBeamCursor);
  control.SetCursor(right);
  EXPECT_EQ(client->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(control.Of(CM_CURSORCHANGED).size(), 2u);

  // A screen cursor holds while a button is down and gives way to the
  // control's own shape with the first move without one.
  control.SetCursor(crIBeam);
  control.SetScreenCursor(crDrag);
  EXPECT_EQ(client->cursor().shape(), Qt::DragMoveCursor);
  EXPECT_EQ(control.Cursor(), crIBeam);
  QMouseEvent held(QEvent::MouseMove, QPointF(5, 5), client->mapToGlobal(QPointF(5, 5)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(client, &held);
  EXPECT_EQ(client->cursor().shape(), Qt::DragMoveCursor);
  QMouseEvent free(QEvent::MouseMove, QPointF(6, 5), client->mapToGlobal(QPointF(6, 5)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(client, &free);
  EXPECT_EQ(client->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(ControlInputTest, ContextMenuRequestsCarryTheScreenPoint) {
  QContextMenuEvent by_mouse(QContextMenuEvent::Mouse, QPoint(5, 6), QPoint(105, 206));
  QContextMenuEvent by_key(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(100, 200));
  QApplication::sendEvent(client, &by_mouse);
  QApplication::sendEvent(client, &by_key);
  auto menus = Params(WM_CONTEXTMENU);
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(GET_X_LPARAM(menus[0].second), 105);
  EXPECT_EQ(GET_Y_LPARAM(menus[0].second), 206);
  EXPECT_EQ(menus[1].second, -1);
}

TEST_F(ControlInputTest, AHandlerMayDestroyTheWindowItIsCalledFrom) {
  control.on_message = [&](TMessage& m) {
    if (m.Msg == WM_KEYDOWN) control.DestroyHandle();
  };
  QTest::keyClick(client, Qt::Key_A);
  EXPECT_FALSE(control.HandleAllocated());
  EXPECT_TRUE(control.Of(WM_CHAR).empty());  // nothing more reached the control
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  control.HandleNeeded();
  EXPECT_TRUE(control.HandleAllocated());
}

TEST_F(ControlInputTest, SizeMessagesCarryTheClientSize) {
  int resized = 0;
  control.OnResize = [&](TObject*) { ++resized; };
  ControlWidget(control)->resize(160, 70);
  auto sizes = Params(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].second), 160);
  EXPECT_EQ(HIWORD(sizes[0].second), 70);
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(control.Width(), 160);
}

}  // namespace
}  // namespace platform
