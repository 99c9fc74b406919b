#include "editor/text/form_stream.h"

#include "platform/string_list.h"

namespace editor {

void TWriter::WriteName(std::string_view name) {
  // Property names are short by nature; a longer one is cut to what fits.
  const std::size_t n = name.size() > 255 ? 255 : name.size();
  FData.push_back(static_cast<char>(n));
  FData.append(name.substr(0, n));
}

void TWriter::DefineProperty(std::string_view name, const std::function<void(TReader&)>&,
                             const std::function<void(TWriter&)>& write, bool has_data) {
  if (!has_data || !write) return;
  WriteName(name);
  write(*this);
}

void TWriter::WriteString(std::string_view s) {
  if (s.size() <= 255) {
    FData.push_back(static_cast<char>(vaString));
    FData.push_back(static_cast<char>(s.size()));
  } else {
    FData.push_back(static_cast<char>(vaLString));
    const auto n = static_cast<std::uint32_t>(s.size());
    for (int shift = 0; shift < 32; shift += 8) FData.push_back(static_cast<char>(n >> shift));
  }
  FData.append(s);
}

void TReader::Invalid() {
  throw platform::EReadError("Invalid stream format");
}

std::uint8_t TReader::ReadByte() {
  if (FPos >= FData.size()) Invalid();
  return static_cast<std::uint8_t>(FData[FPos++]);
}

std::string_view TReader::ReadBytes(std::size_t count) {
  if (count > FData.size() - FPos) Invalid();
  std::string_view bytes = FData.substr(FPos, count);
  FPos += count;
  return bytes;
}

void TReader::Expect(TValueType type) {
  if (ReadByte() != type) Invalid();
}

bool TReader::EndOfList() const {
  if (FPos >= FData.size()) Invalid();
  return static_cast<std::uint8_t>(FData[FPos]) == vaNull;
}

std::string TReader::ReadString() {
  std::size_t n = 0;
  switch (ReadByte()) {
    case vaString:
      n = ReadByte();
      break;
    case vaLString:
      for (int shift = 0; shift < 32; shift += 8)
        n |= static_cast<std::size_t>(ReadByte()) << shift;
      break;
    default:
      Invalid();
  }
  return std::string(ReadBytes(n));
}

void TReader::DefineProperty(std::string_view name, const std::function<void(TReader&)>& read,
                             const std::function<void(TWriter&)>&, bool) {
  if (AtEnd() || !read) return;
  const std::size_t saved = FPos;
  const std::size_t n = ReadByte();
  if (ReadBytes(n) != name) {
    FPos = saved;  // another property: left for its own reader
    return;
  }
  read(*this);
}

}  // namespace editor
