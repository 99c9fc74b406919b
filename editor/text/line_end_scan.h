// The line breaks of a text file: which form its first line ends with, and
// whether other forms appear as well. The line store reads CR LF, a lone CR
// and a lone LF alike as line ends and keeps only the lines; a program that
// writes the lines back in the file's own form has the loader note them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace editor {

enum class TLineEnd : std::uint8_t { CrLf, Lf, Cr };

// The bytes of a line break in this form.
std::string_view LineEndBytes(TLineEnd line_end);
// How the status line names the form: "CR+LF", "LF", "CR".
std::string_view LineEndName(TLineEnd line_end);

// Watches the bytes of a text go by, piece after piece, as the line store
// reads them: CR LF is one break, also when the two pieces part it; LF CR
// is two.
class TLineEndScan {
 public:
  void Feed(std::string_view piece);
  // The text is over: a CR at its very end is a lone CR.
  void Finish();

  // The form of the first line break; none for a text without one.
  std::optional<TLineEnd> First() const { return first_; }
  // More than one form appears.
  bool Mixed() const;

 private:
  void Note(TLineEnd line_end);

  std::optional<TLineEnd> first_;
  std::uint8_t seen_ = 0;    // one bit per form
  bool pending_cr_ = false;  // the last piece ended with CR
};

}  // namespace editor
