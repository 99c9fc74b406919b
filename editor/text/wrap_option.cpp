#include "editor/text/wrap_option.h"

#include <algorithm>

namespace editor {

// Shift-JIS: 、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』 then !),.:;?]}｡｣､･ｰﾞﾟ
const char* const TEditorWrapOption::kDefaultFollowStr =
    "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52"
    "\x81\x53\x81\x54\x81\x55\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78"
    "!),.:;?]}\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
// （［｛「『([{｢
const char* const TEditorWrapOption::kDefaultLeadStr =
    "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77([{\xA2";
// 、。，．,.｡､
const char* const TEditorWrapOption::kDefaultPunctuationStr =
    "\x81\x41\x81\x42\x81\x43\x81\x44,.\xA1\xA4";

template <class T>
void TEditorWrapOption::Store(T& field, const T& value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TEditorWrapOption::SetFollowRetMark(bool value) {
  Store(FFollowRetMark, value);
}
void TEditorWrapOption::SetFollowPunctuation(bool value) {
  Store(FFollowPunctuation, value);
}
void TEditorWrapOption::SetFollowStr(const std::string& value) {
  Store(FFollowStr, value);
}
void TEditorWrapOption::SetLeading(bool value) {
  Store(FLeading, value);
}
void TEditorWrapOption::SetLeadStr(const std::string& value) {
  Store(FLeadStr, value);
}
void TEditorWrapOption::SetPunctuationStr(const std::string& value) {
  Store(FPunctuationStr, value);
}
void TEditorWrapOption::SetWordBreak(bool value) {
  Store(FWordBreak, value);
}

void TEditorWrapOption::SetWrapByte(int value) {
  Store(FWrapByte, std::clamp(value, kMinWrapByte, kMaxWrapByte));
}

void TEditorWrapOption::Assign(const platform::TPersistent* source) {
  AssignFields(*this, source, Fields());
}

}  // namespace editor
