// The word-wrap options of a screen-row list: the row width and the Japanese
// line-breaking rules (characters that may not begin or end a row, hanging
// punctuation, whole single-byte words, where a line break at the margin
// goes). Every effective change is reported once, so that the list re-wraps.
#pragma once

#include <string>
#include <tuple>

#include "platform/notify_persistent.h"

namespace editor {

class TEditorWrapOption : public platform::TNotifyPersistent {
 public:
  static constexpr int kMinWrapByte = 20;
  static constexpr int kMaxWrapByte = 250;
  static const char* const kDefaultFollowStr;
  static const char* const kDefaultLeadStr;
  static const char* const kDefaultPunctuationStr;

  // A line break that falls exactly at the end of a full row stays on it.
  bool FollowRetMark() const { return FFollowRetMark; }
  void SetFollowRetMark(bool value);
  // Characters of PunctuationStr right after the margin hang on the row.
  bool FollowPunctuation() const { return FFollowPunctuation; }
  void SetFollowPunctuation(bool value);
  // Characters that may not begin a row.
  const std::string& FollowStr() const { return FFollowStr; }
  void SetFollowStr(const std::string& value);
  // Apply the rules of LeadStr and FollowStr.
  bool Leading() const { return FLeading; }
  void SetLeading(bool value);
  // Characters that may not end a row.
  const std::string& LeadStr() const { return FLeadStr; }
  void SetLeadStr(const std::string& value);
  // Characters that may hang past the margin.
  const std::string& PunctuationStr() const { return FPunctuationStr; }
  void SetPunctuationStr(const std::string& value);
  // Break after a delimiter rather than inside a run of single-byte word characters.
  bool WordBreak() const { return FWordBreak; }
  void SetWordBreak(bool value);
  // Row width in columns, kept within 20..250.
  int WrapByte() const { return FWrapByte; }
  void SetWrapByte(int value);

  // From another wrap option: all eight settings, then one notification.
  void Assign(const platform::TPersistent* source) override;

 private:
  template <class T>
  void Store(T& field, const T& value);

  bool FFollowRetMark = false;
  bool FFollowPunctuation = false;
  std::string FFollowStr = kDefaultFollowStr;
  bool FLeading = false;
  std::string FLeadStr = kDefaultLeadStr;
  std::string FPunctuationStr = kDefaultPunctuationStr;
  bool FWordBreak = false;
  int FWrapByte = 80;

  static constexpr auto Fields() {
    using W = TEditorWrapOption;
    return std::tuple{&W::FFollowRetMark, &W::FFollowPunctuation, &W::FFollowStr, &W::FLeading,
                      &W::FLeadStr,       &W::FPunctuationStr,    &W::FWordBreak, &W::FWrapByte};
  }
};

}  // namespace editor
