#include "editapp/document/text_document.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/native_file.h"
#include "platform/string_list.h"

namespace editapp {
namespace {

constexpr std::size_t kWritePieceSize = 1 << 20;

// The bytes of a file from `offset` to its end.
std::string ReadFrom(const std::string& cp932_path, std::uint64_t offset) {
  std::ifstream file = platform::OpenFileForReading(cp932_path);
  file.seekg(static_cast<std::streamoff>(offset));
  std::string rest((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw platform::EReadError("Stream read error");
  return rest;
}

}  // namespace

void WriteRows(const editor::TPointerStringList& rows, editor::TLineEnd line_end,
               const std::function<void(std::string_view)>& out) {
  const std::string_view line_break = LineEndBytes(line_end);
  std::string piece;
  piece.reserve(kWritePieceSize + 2);
  const int count = rows.GetCount();
  for (int i = 0; i < count; ++i) {
    const std::string_view text = rows.RowText(i);
    if (piece.size() + text.size() > kWritePieceSize && !piece.empty()) {
      out(piece);
      piece.clear();
    }
    if (text.size() > kWritePieceSize)
      out(text);  // a very long row goes out as it is
    else
      piece.append(text);
    if (rows.EndKinds(i) == editor::rkReturn) piece.append(line_break);
  }
  if (!piece.empty()) out(piece);
}

void TTextDocument::Open(editor::TEditorStrings& lines, const std::string& native_path) {
  // Every read goes through the file opened here, so all see the same file
  // even if another takes its name meanwhile, and a name without a CP932
  // form opens as well as any.
  platform::TOpenedFile file(native_path);
  if (file.Size() > kMaxTextFileSize)
    throw platform::ENativeFileError("Too large: " + native_path, EFBIG);
  editor::TTextFileNotes notes;
  std::string after_mark;
  try {
    lines.LoadFromFile(file.Cp932Path(), &notes);
    if (notes.EndMark) after_mark = ReadFrom(file.Cp932Path(), notes.DataSize);
  } catch (...) {
    // The lines are gone or incomplete: this is no longer that file's text,
    // and saving must not put it in the file's place.
    lines.Clear();
    Reset();
    throw;
  }
  path_ = native_path;
  line_end_ = notes.LineEnds.First().value_or(editor::TLineEnd::CrLf);
  mixed_ = notes.LineEnds.Mixed();
  has_end_mark_ = notes.EndMark;
  after_mark_ = std::move(after_mark);
}

void TTextDocument::Reset(std::string native_path) {
  *this = TTextDocument();
  path_ = std::move(native_path);
}

void TTextDocument::Save(const editor::TPointerStringList& rows, const std::string& native_path,
                         bool keep_after_mark) {
  platform::TSafeFileWriter writer(native_path);
  WriteRows(rows, line_end_, [&writer](std::string_view bytes) { writer.Write(bytes); });
  if (keep_after_mark && has_end_mark_) writer.Write(after_mark_);
  writer.Commit();

  path_ = native_path;
  mixed_ = false;
  if (!keep_after_mark) {
    has_end_mark_ = false;
    after_mark_.clear();
  }
}

}  // namespace editapp
