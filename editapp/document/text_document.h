// A Shift-JIS text file as the editor holds it: the lines live in the
// control's rows; this keeps what the rows cannot say and what saving needs
// to give the bytes back as they were: the file's line-break form, whether
// it mixed forms, and the bytes from an end-of-file mark (0x1A) on, which
// the line store does not load.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "editor/text/editor_strings.h"
#include "editor/text/line_end_scan.h"
#include "editor/text/pointer_string_list.h"

namespace editapp {

// Larger texts are refused: text offsets in the control are 32-bit, and
// counting every line break as CR LF must still fit.
inline constexpr std::uint64_t kMaxTextFileSize = std::uint64_t{1} << 30;

// Hands the bytes of the rows to `out` in large pieces: each row's bytes,
// and the line break after every row that ends its line; a last row that
// does not end its line gets none.
void WriteRows(const editor::TPointerStringList& rows, editor::TLineEnd line_end,
               const std::function<void(std::string_view)>& out);

class TTextDocument {
 public:
  // The file's lines go into `lines` through the line store's own loader,
  // which notes the line breaks on its way; the bytes from an end mark on
  // are read here. Raises platform::ENativeFileError when
  // the file cannot be opened or is too large (EFBIG), and the stream
  // errors when it cannot be read; the lines and this document are then
  // unchanged, unless reading failed after the checks (the lines are then
  // empty).
  void Open(editor::TEditorStrings& lines, const std::string& native_path);
  // A new, empty text: CR LF, named `native_path` (empty: no file yet).
  void Reset(std::string native_path = {});

  // The file as the file system names it; empty for a new text.
  const std::string& Path() const { return path_; }
  editor::TLineEnd LineEnd() const { return line_end_; }
  void SetLineEnd(editor::TLineEnd line_end) { line_end_ = line_end; }
  // The opened file ended its lines in more than one way.
  bool MixedLineEnds() const { return mixed_; }
  // The opened file had an end-of-file mark; the bytes from it on.
  bool HasEndMark() const { return has_end_mark_; }
  const std::string& AfterMark() const { return after_mark_; }

  // Writes the rows to `native_path` in this document's line-break form,
  // through a temporary file renamed over the old one; with
  // `keep_after_mark` the bytes from the end-of-file mark on follow them
  // unchanged. Raises platform::ENativeFileError; the old file is then
  // untouched and so is this document. After a save the document names the
  // new file; its line ends are no longer mixed, and a mark that was not
  // kept is gone.
  void Save(const editor::TPointerStringList& rows, const std::string& native_path,
            bool keep_after_mark);

 private:
  std::string path_;
  editor::TLineEnd line_end_ = editor::TLineEnd::CrLf;
  bool mixed_ = false;
  bool has_end_mark_ = false;
  std::string after_mark_;
};

}  // namespace editapp
