#include "platform/qt/key_map.h"

#include "platform/control/virtual_keys.h"

namespace platform::control_detail {

int VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return (modifiers & Qt::KeypadModifier) ? VK_NUMPAD0 + (key - Qt::Key_0)
                                            : '0' + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Clear:
      return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return VK_MENU;
    case Qt::Key_Pause:
      return VK_PAUSE;
    case Qt::Key_CapsLock:
      return VK_CAPITAL;
    case Qt::Key_Hiragana_Katakana:
    case Qt::Key_Kana_Lock:
      return VK_KANA;
    case Qt::Key_Zenkaku_Hankaku:
    case Qt::Key_Kanji:
      return VK_KANJI;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Henkan:
      return VK_CONVERT;
    case Qt::Key_Muhenkan:
      return VK_NONCONVERT;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Select:
      return VK_SELECT;
    case Qt::Key_Printer:
      return VK_PRINT;
    case Qt::Key_Print:
      return VK_SNAPSHOT;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    case Qt::Key_Help:
      return VK_HELP;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
      return VK_LWIN;
    case Qt::Key_Super_R:
      return VK_RWIN;
    case Qt::Key_Menu:
      return VK_APPS;
    case Qt::Key_NumLock:
      return VK_NUMLOCK;
    case Qt::Key_ScrollLock:
      return VK_SCROLL;
    case Qt::Key_Asterisk:
      return (modifiers & Qt::KeypadModifier) ? VK_MULTIPLY : '8';
    case Qt::Key_Plus:
      return (modifiers & Qt::KeypadModifier) ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus:
      return (modifiers & Qt::KeypadModifier) ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Period:
      return (modifiers & Qt::KeypadModifier) ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Slash:
      return (modifiers & Qt::KeypadModifier) ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Comma:
      return VK_OEM_COMMA;
    case Qt::Key_Equal:
      return VK_OEM_PLUS;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
      return VK_OEM_1;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
    case Qt::Key_At:
      return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
      return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
    case Qt::Key_yen:
      return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
      return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
    case Qt::Key_AsciiCircum:
      return VK_OEM_7;
    case Qt::Key_Underscore:
      return VK_OEM_102;
    // Shifted digits on a US keyboard.
    case Qt::Key_Exclam:
      return '1';
    case Qt::Key_NumberSign:
      return '3';
    case Qt::Key_Dollar:
      return '4';
    case Qt::Key_Percent:
      return '5';
    case Qt::Key_Ampersand:
      return '7';
    case Qt::Key_ParenLeft:
      return '9';
    case Qt::Key_ParenRight:
      return '0';
    case Qt::Key_Less:
      return VK_OEM_COMMA;
    case Qt::Key_Greater:
      return VK_OEM_PERIOD;
    case Qt::Key_Question:
      return VK_OEM_2;
    default:
      return 0;
  }
}

bool IsExtendedKey(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) return key == Qt::Key_Enter || key == Qt::Key_Slash;
  switch (key) {
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_AltGr:
    case Qt::Key_NumLock:
    case Qt::Key_Print:
      return true;
    default:
      return false;
  }
}

}  // namespace platform::control_detail
