#include "editapp/document/text_document.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

#include "platform/native_file.h"
#include "platform/string_list.h"

namespace editapp {
namespace {

constexpr char kEndOfFileMark = 0x1A;
constexpr std::size_t kReadBlockSize = 1 << 20;
constexpr std::size_t kWritePieceSize = 1 << 20;

std::size_t ReadBlock(std::ifstream& file, char* into, std::size_t size) {
  file.read(into, static_cast<std::streamsize>(size));
  if (file.bad()) throw platform::EReadError("Stream read error");
  return static_cast<std::size_t>(file.gcount());
}

}  // namespace

TTextFileShape ReadTextFileShape(std::string_view cp932_path) {
  std::ifstream file = platform::OpenFileForReading(cp932_path);
  std::unique_ptr<char[]> buffer(new char[kReadBlockSize]);
  TTextFileShape shape;
  for (;;) {
    const std::size_t n = ReadBlock(file, buffer.get(), kReadBlockSize);
    std::string_view block(buffer.get(), n);
    if (shape.HasEndMark) {
      shape.AfterMark.append(block);
    } else if (const auto mark = block.find(kEndOfFileMark); mark != block.npos) {
      shape.LineEnds.Feed(block.substr(0, mark));
      shape.HasEndMark = true;
      shape.AfterMark.assign(block.substr(mark));
    } else {
      shape.LineEnds.Feed(block);
    }
    if (n < kReadBlockSize) break;
  }
  shape.LineEnds.Finish();
  return shape;
}

void WriteRows(const editor::TPointerStringList& rows, TLineEnd line_end,
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
  // Both reads go through the file opened here, so they see the same file
  // even if another takes its name meanwhile, and a name without a CP932
  // form opens as well as any.
  platform::TOpenedFile file(native_path);
  if (file.Size() > kMaxTextFileSize)
    throw platform::ENativeFileError("Too large: " + native_path, EFBIG);
  TTextFileShape shape = ReadTextFileShape(file.Cp932Path());
  try {
    lines.LoadFromFile(file.Cp932Path());
  } catch (...) {
    // The lines are gone: this is no longer that file's text, and saving must
    // not put an empty text in its place.
    Reset();
    throw;
  }

  path_ = native_path;
  line_end_ = shape.LineEnds.First().value_or(TLineEnd::CrLf);
  mixed_ = shape.LineEnds.Mixed();
  has_end_mark_ = shape.HasEndMark;
  after_mark_ = std::move(shape.AfterMark);
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
