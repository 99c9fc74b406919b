// The window behind a TCustomControl: a frame widget with the client widget
// and the scroll bars (control_frame.h), the client's surface, the emulated
// caret and the translation of Qt's events into the control's messages.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/control/custom_control.h"
#include "platform/qt/grid_text.h"
#include "platform/qt/surface.h"

class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace platform::control_detail {

class ClientWidget;
class FrameWidget;

class ControlWindow {
 public:
  ControlWindow(TCustomControl& control, const TCreateParams& params, const QRect& bounds);
  ~ControlWindow();
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  // Ends the window's link to the control: no message reaches it any more.
  // The widgets go now, or after the Qt event being handled.
  static void Retire(std::unique_ptr<ControlWindow> window);
  // The window of a control, or null.
  static ControlWindow* Of(const TCustomControl& control);
  // The state a control keeps for its window.
  static TCustomControl::State& StateOf(TCustomControl& control);

  QWidget* Frame() const;
  QWidget* Client() const;
  TCustomControl* Control() const { return control_; }
  QScrollBar* Bar(int bar) const { return bars_[bar]; }

  // --- Geometry ---
  void ApplyParams(const TCreateParams& params);
  void SetBounds(const QRect& bounds);
  QRect Bounds() const;
  QSize ClientSize() const { return client_size_; }
  // Lays out the children and, when the client size changed, resizes the
  // surface and sends WM_SIZE.
  void SyncGeometry();

  // --- Painting ---
  QPainter& Painter();
  void EndPainter();
  QRect ClipRect() const;
  // Limits drawing to `rect` inside what may be drawn now, and back.
  void ClipTo(const QRect& rect);
  void Unclip();
  // A font with the metrics drawing needs; the last one is kept.
  struct FontInfo {
    QFont font;
    int ascent = 0;
    int descent = 0;
    int leading = 0;
    int internal_leading = 0;
    int average_width = 0;
    int max_width = 0;
    int underline_pos = 0;
    int strike_out_pos = 0;
    int line_width = 1;
  };
  const FontInfo& FontOf(const TFont& font);
  GridText& Text() { return text_; }
  void MarkDirty(const QRect& rect);
  void Invalidate(const QRect* rect, bool erase);
  void UpdateNow();
  void Scroll(int dx, int dy, const QRect* scroll, const QRect* clip, QRect* update,
              unsigned flags);
  void SetRedraw(bool on);
  bool RedrawSuspended() const { return redraw_suspended_; }
  const Surface& SurfaceOf() const { return surface_; }
  // Whether there is a window with pixels to draw on.
  bool CanDraw() const;
  // Fills what may be drawn now (ClipRect) with the control's colour.
  void FillBackground();

  // --- Caret ---
  bool CreateCaret(int width, int height);
  bool DestroyCaret();
  bool ShowCaret();
  bool HideCaret();
  bool SetCaretPos(int x, int y);
  bool GetCaretPos(QPoint& p) const;
  bool CaretExists() const { return caret_.exists; }
  bool CaretVisible() const { return caret_.exists && caret_.hide_level == 0; }

  // --- Scroll bars ---
  int SetScrollInfo(int bar, const TScrollInfo& info);
  void GetScrollInfo(int bar, TScrollInfo& info) const;

  // --- Cursor, input method ---
  void ApplyCursor();
  void SetScreenCursor(TCursor cursor);
  void SetImeCompositionWindow(QPoint point, const TFont& font, int cell_width, int row_height);
  int PreeditCells() const;
  int PreeditCursorCells() const;
  // Takes the control's wish for the input method: on, or off with any
  // composition in progress dropped.
  void ApplyImeEnabled();
  void Post(const TMessage& message);

  // --- Events from the widgets ---
  void PaintEvent(QWidget* widget, const QRegion& region);
  void KeyPress(QKeyEvent* e);
  void KeyRelease(QKeyEvent* e);
  void MouseEvent(QMouseEvent* e);
  void Wheel(QWheelEvent* e);
  void Focus(bool in);
  void Hover(bool entered);
  void ContextMenu(const QPoint& global, bool by_keyboard);
  void InputMethod(QInputMethodEvent* e);
  QVariant InputMethodQuery(Qt::InputMethodQuery query) const;
  bool WantsTab();
  void ScrollAction(int bar, int action);
  void ScrollReleased(int bar, bool thumb);
  void FrameDestroyed();
  void ClientDestroyed() { client_ = nullptr; }

 private:
  friend class FrameWidget;
  // Counts the Qt events being handled, so that a window retired inside one
  // is deleted only after it.
  class Busy {
   public:
    explicit Busy(ControlWindow& w) : w_(w) { ++w_.busy_; }
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

   private:
    ControlWindow& w_;
  };

  LRESULT Send(std::uint32_t msg, WPARAM wparam, LPARAM lparam);
  void SetInputState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
  void DeliverText(const QString& text, LPARAM key_data, bool alt);
  void SendResult(const std::string& bytes);
  // The composition: x of the character at UTF-16 index `index` from the
  // composition point, the height of its band, and its drawing.
  int PreeditX(int index) const;
  int PreeditHeight() const;
  void PaintComposition(QPainter& p);
  void SetPaintClip(const std::optional<QRegion>& clip);
  void UpdateCaretArea();
  QRect CaretRect() const;
  void RestartBlink();
  QColor ColorOf(TColor color) const;

  TCustomControl* control_;
  FrameWidget* frame_ = nullptr;
  ClientWidget* client_ = nullptr;
  std::array<QScrollBar*, 2> bars_{};
  QWidget* corner_ = nullptr;
  TCreateParams params_;
  QSize client_size_{-1, -1};

  Surface surface_;
  QPainter painter_;
  std::optional<QRegion> paint_clip_;
  QRegion invalid_;
  QRegion erase_;
  QRect dirty_;
  bool flush_pending_ = false;
  bool painting_ = false;
  bool redraw_suspended_ = false;
  GridText text_;
  TFont last_font_;
  FontInfo last_info_;
  bool have_font_ = false;

  struct Caret {
    bool exists = false;
    int width = 0;
    int height = 0;
    QPoint pos;
    int hide_level = 1;
    bool blink_on = true;
  } caret_;
  QTimer blink_;

  std::array<TScrollInfo, 2> scroll_{};
  bool screen_cursor_ = false;

  QPoint ime_point_;
  TFont ime_tfont_;
  QFont ime_font_;
  int ime_cell_width_ = 0;
  int ime_row_height_ = 0;
  QString preedit_;
  int preedit_cursor_ = 0;
  bool preedit_cursor_visible_ = true;
  struct PreeditFormat {
    int start;
    int length;
    QTextCharFormat format;
    bool operator==(const PreeditFormat&) const = default;
  };
  std::vector<PreeditFormat> preedit_formats_;
  // Grid cells before each UTF-16 index of the composition (one more than
  // its length).
  std::vector<int> preedit_cells_{0};

  int busy_ = 0;
  bool retired_ = false;
};

}  // namespace platform::control_detail
