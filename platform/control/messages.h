// Window messages as the control's handlers receive them. The numbers are
// the classic desktop values, so that handlers written for a multi-line edit
// control read the same here.
#pragma once

#include <cstdint>

namespace platform {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct TMessage {
  std::uint32_t Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Packing of two 16-bit halves.
inline constexpr std::uint16_t LOWORD(std::uintptr_t v) {
  return static_cast<std::uint16_t>(v & 0xFFFF);
}
inline constexpr std::uint16_t HIWORD(std::uintptr_t v) {
  return static_cast<std::uint16_t>((v >> 16) & 0xFFFF);
}
inline constexpr LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>(static_cast<std::uint32_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16)));
}
inline constexpr WPARAM MAKEWPARAM(int low, int high) {
  return static_cast<WPARAM>(static_cast<std::uint32_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16)));
}
// Signed coordinates of a mouse message (negative outside the client area).
inline constexpr int GET_X_LPARAM(LPARAM lp) {
  return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lp)));
}
inline constexpr int GET_Y_LPARAM(LPARAM lp) {
  return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lp)));
}
inline constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM wp) {
  return static_cast<std::int16_t>(HIWORD(wp));
}
inline constexpr int GET_KEYSTATE_WPARAM(WPARAM wp) {
  return LOWORD(wp);
}

// Window messages.
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_SETREDRAW = 0x000B;
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;
inline constexpr std::uint32_t WM_GETTEXT = 0x000D;
inline constexpr std::uint32_t WM_GETTEXTLENGTH = 0x000E;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_SETCURSOR = 0x0020;
inline constexpr std::uint32_t WM_CONTEXTMENU = 0x007B;
inline constexpr std::uint32_t WM_NCHITTEST = 0x0084;
inline constexpr std::uint32_t WM_GETDLGCODE = 0x0087;
inline constexpr std::uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr std::uint32_t WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr std::uint32_t WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_DEADCHAR = 0x0103;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;
inline constexpr std::uint32_t WM_SYSDEADCHAR = 0x0107;
inline constexpr std::uint32_t WM_IME_STARTCOMPOSITION = 0x010D;
inline constexpr std::uint32_t WM_IME_ENDCOMPOSITION = 0x010E;
inline constexpr std::uint32_t WM_IME_COMPOSITION = 0x010F;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_HSCROLL = 0x0114;
inline constexpr std::uint32_t WM_VSCROLL = 0x0115;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr std::uint32_t WM_MOUSEHWHEEL = 0x020E;
inline constexpr std::uint32_t WM_IME_SETCONTEXT = 0x0281;
inline constexpr std::uint32_t WM_IME_NOTIFY = 0x0282;
inline constexpr std::uint32_t WM_IME_CHAR = 0x0286;
inline constexpr std::uint32_t WM_CUT = 0x0300;
inline constexpr std::uint32_t WM_COPY = 0x0301;
inline constexpr std::uint32_t WM_PASTE = 0x0302;
inline constexpr std::uint32_t WM_CLEAR = 0x0303;
inline constexpr std::uint32_t WM_UNDO = 0x0304;
inline constexpr std::uint32_t WM_USER = 0x0400;

// Edit-control messages.
inline constexpr std::uint32_t EM_GETSEL = 0x00B0;
inline constexpr std::uint32_t EM_SETSEL = 0x00B1;
inline constexpr std::uint32_t EM_GETRECT = 0x00B2;
inline constexpr std::uint32_t EM_SETRECT = 0x00B3;
inline constexpr std::uint32_t EM_SETRECTNP = 0x00B4;
inline constexpr std::uint32_t EM_SCROLL = 0x00B5;
inline constexpr std::uint32_t EM_LINESCROLL = 0x00B6;
inline constexpr std::uint32_t EM_SCROLLCARET = 0x00B7;
inline constexpr std::uint32_t EM_GETMODIFY = 0x00B8;
inline constexpr std::uint32_t EM_SETMODIFY = 0x00B9;
inline constexpr std::uint32_t EM_GETLINECOUNT = 0x00BA;
inline constexpr std::uint32_t EM_LINEINDEX = 0x00BB;
inline constexpr std::uint32_t EM_LINELENGTH = 0x00C1;
inline constexpr std::uint32_t EM_REPLACESEL = 0x00C2;
inline constexpr std::uint32_t EM_GETLINE = 0x00C4;
inline constexpr std::uint32_t EM_LIMITTEXT = 0x00C5;
inline constexpr std::uint32_t EM_CANUNDO = 0x00C6;
inline constexpr std::uint32_t EM_UNDO = 0x00C7;
inline constexpr std::uint32_t EM_LINEFROMCHAR = 0x00C9;
inline constexpr std::uint32_t EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr std::uint32_t EM_GETFIRSTVISIBLELINE = 0x00CE;
inline constexpr std::uint32_t EM_SETREADONLY = 0x00CF;
inline constexpr std::uint32_t EM_POSFROMCHAR = 0x00D6;
inline constexpr std::uint32_t EM_CHARFROMPOS = 0x00D7;

// Notifications the control framework sends to a control itself.
inline constexpr std::uint32_t CM_BASE = 0xB000;
inline constexpr std::uint32_t CM_COLORCHANGED = CM_BASE + 13;
inline constexpr std::uint32_t CM_FONTCHANGED = CM_BASE + 14;
inline constexpr std::uint32_t CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr std::uint32_t CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr std::uint32_t CM_MOUSEENTER = CM_BASE + 19;
inline constexpr std::uint32_t CM_MOUSELEAVE = CM_BASE + 20;
// Typed or composed characters that have no CP932 form never reach the
// text; wParam says how many were left out. The base handler refuses them
// audibly (Beep), as a line edit refuses what it cannot take.
inline constexpr std::uint32_t CM_INPUTREFUSED = CM_BASE + 80;

// WM_SIZE kinds.
inline constexpr WPARAM SIZE_RESTORED = 0;

// Scroll-bar requests (low word of WM_HSCROLL / WM_VSCROLL).
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;

// Mouse-message key flags (wParam).
inline constexpr unsigned MK_LBUTTON = 0x0001;
inline constexpr unsigned MK_RBUTTON = 0x0002;
inline constexpr unsigned MK_SHIFT = 0x0004;
inline constexpr unsigned MK_CONTROL = 0x0008;
inline constexpr unsigned MK_MBUTTON = 0x0010;

// One notch of a mouse wheel.
inline constexpr int WHEEL_DELTA = 120;

// Key-message data bits (lParam).
inline constexpr LPARAM KF_EXTENDED = 1 << 24;
inline constexpr LPARAM KF_ALTDOWN = 1 << 29;
inline constexpr LPARAM KF_REPEAT = 1 << 30;  // the key was already down: auto-repeat
inline constexpr LPARAM KF_UP = static_cast<LPARAM>(1u << 31);

// WM_GETDLGCODE answers.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_HASSETSEL = 0x0008;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;

// Input-method composition flags (lParam of WM_IME_COMPOSITION) and notices.
inline constexpr LPARAM GCS_COMPSTR = 0x0008;
inline constexpr LPARAM GCS_CURSORPOS = 0x0080;
inline constexpr LPARAM GCS_RESULTSTR = 0x0800;
inline constexpr WPARAM IMN_CLOSECANDIDATE = 0x0004;
inline constexpr WPARAM IMN_OPENCANDIDATE = 0x0005;

// Hit-test value of the client area.
inline constexpr LRESULT HTCLIENT = 1;

}  // namespace platform
