// The system clipboard for the editor. Other programs get Unicode text; our
// own controls get the exact CP932 bytes under a private format, and a box
// selection also under the box format (the same bytes with a terminating
// NUL), so that copying between our controls, in this instance or a second
// one, is byte for byte. The text is converted at this edge only.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The name the box format is registered under; other instances look for it.
inline constexpr char kBoxClipboardFormat[] = "TEditor Box Type";
// The exact bytes of what our controls copied, without a terminating NUL.
inline constexpr char kCp932ClipboardFormat[] = "TEditor CP932 Text";

enum class TClipboardStatus {
  Done,
  // Nothing to work with: no clipboard (no application), or no text on it.
  NoText,
};

// Puts CP932 text on the clipboard, and with `box` its bytes under the box
// format too. Other programs get Unicode with the platform's own line
// breaks (LF); a byte without a Unicode form (an unassigned code, a lone
// lead byte) shows there as U+FFFD, one for each character the editor
// shows. The copy never fails for the text's sake.
TClipboardStatus PutClipboardText(std::string_view cp932, bool box);

struct TClipboardText {
  TClipboardStatus Status = TClipboardStatus::NoText;
  // CP932. Our own bytes as they were copied; another program's text with
  // its line breaks as it wrote them and "?" for every character that has
  // no CP932 form, as text is converted on the platform the program comes
  // from.
  std::string Text;
  bool Box = false;  // the box format was there as well
};
TClipboardText GetClipboardText();

// Takes the text off the clipboard.
void ClearClipboardText();

}  // namespace platform
