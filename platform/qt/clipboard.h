// The system clipboard for the editor: its text, held as Unicode for every
// other program, and the editor's private box format, whose data are the
// same CP932 bytes with a terminating NUL, so that an editor of a second
// running instance pastes a copied box as a box. The text is converted at
// this edge only, and a character that has no form on the other side is
// never replaced by another: the operation is refused and says so.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The name the box format is registered under; other instances look for it.
inline constexpr char kBoxClipboardFormat[] = "TEditor Box Type";

enum class TClipboardStatus {
  Done,
  // Nothing to work with: no clipboard (no application), or no text on it.
  NoText,
  // The bytes to copy are not CP932, or the text to paste holds a character
  // without a CP932 form. The clipboard and the text are left as they were.
  NotCp932,
};

// Puts CP932 text on the clipboard, and with `box` its bytes under the box
// format too. Line breaks go out as the platform's own (LF).
TClipboardStatus PutClipboardText(std::string_view cp932, bool box);

struct TClipboardText {
  TClipboardStatus Status = TClipboardStatus::NoText;
  std::string Text;  // CP932, line breaks as the other program wrote them
  bool Box = false;  // the box format was there as well
};
TClipboardText GetClipboardText();

// Takes the text off the clipboard.
void ClearClipboardText();

}  // namespace platform
