#include "platform/video/avi_dates.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {
namespace {

// A date text is short; anything longer is no date and is not read.
constexpr std::uint32_t kLongestText = 256;
// Nikon's records hold a thumbnail's worth at most.
constexpr std::uint32_t kLongestRecords = 64 * 1024;
// Enough for every real file's chunks, and an end to a damaged file's.
constexpr int kMostChunks = 10000;

std::uint32_t Little32(const std::uint8_t* b) {
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::uint16_t Little16(const std::uint8_t* b) {
  return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

struct Chunk {
  std::uint64_t body = 0;  // where its bytes begin
  std::uint32_t size = 0;
  std::array<char, 4> id_bytes{};
};

// The chunks of one level, from `at` to `end`.
class ChunkWalk {
 public:
  ChunkWalk(const TOpenedFile& file, std::uint64_t at, std::uint64_t end)
      : file_(file), at_(at), end_(end) {}

  std::optional<Chunk> Next() {
    std::uint8_t head[8];
    if (at_ + 8 > end_ || ++walked_ > kMostChunks ||
        file_.ReadAt(at_, head, sizeof head) != sizeof head) {
      return std::nullopt;
    }
    Chunk chunk;
    for (int i = 0; i < 4; ++i) chunk.id_bytes[i] = static_cast<char>(head[i]);
    chunk.size = Little32(head + 4);
    chunk.body = at_ + 8;
    // Chunks are padded to an even length.
    at_ = chunk.body + chunk.size + (chunk.size & 1);
    return chunk;
  }

 private:
  const TOpenedFile& file_;
  std::uint64_t at_;
  std::uint64_t end_;
  int walked_ = 0;
};

std::string_view IdOf(const Chunk& chunk) {
  return {chunk.id_bytes.data(), chunk.id_bytes.size()};
}

std::string Body(const TOpenedFile& file, const Chunk& chunk, std::uint32_t longest) {
  if (chunk.size > longest) return {};
  // A chunk cut short by the file's end is no date: its text may be cut
  // into another one.
  std::string bytes(chunk.size, '\0');
  if (file.ReadAt(chunk.body, reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()) !=
      bytes.size()) {
    return {};
  }
  return bytes;
}

// The list type of a "LIST" chunk.
std::string ListType(const TOpenedFile& file, const Chunk& chunk) {
  std::uint8_t type[4];
  if (chunk.size < 4 || file.ReadAt(chunk.body, type, 4) != 4) return {};
  return std::string(reinterpret_cast<const char*>(type), 4);
}

struct Found {
  std::string idit;
  std::string taken;    // Nikon's 0x13
  std::string written;  // Nikon's 0x14
  std::string created;  // ICRD
};

// Nikon's records: a tag and a length (two bytes each, little-endian), then
// the value, one after the other.
void ReadNikonRecords(std::string_view records, Found& found) {
  std::size_t at = 0;
  while (at + 4 <= records.size()) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(records.data() + at);
    const std::uint16_t tag = Little16(bytes);
    const std::uint16_t size = Little16(bytes + 2);
    at += 4;
    if (at + size > records.size()) return;
    const std::string_view value = records.substr(at, size);
    if (tag == 0x13 && found.taken.empty()) found.taken = value;
    if (tag == 0x14 && found.written.empty()) found.written = value;
    at += size;
  }
}

void ReadList(const TOpenedFile& file, const Chunk& list, std::string_view type, Found& found) {
  ChunkWalk walk(file, list.body + 4, list.body + list.size);
  while (const std::optional<Chunk> chunk = walk.Next()) {
    const std::string_view id = IdOf(*chunk);
    if (type == "hdrl" && id == "IDIT" && found.idit.empty())
      found.idit = Body(file, *chunk, kLongestText);
    else if (type == "ncdt" && id == "nctg")
      ReadNikonRecords(Body(file, *chunk, kLongestRecords), found);
    else if (type == "INFO" && id == "ICRD" && found.created.empty())
      found.created = Body(file, *chunk, kLongestText);
  }
}

}  // namespace

std::vector<std::string> AviDateTexts(const TOpenedFile& file) {
  std::uint8_t head[12];
  if (file.ReadAt(0, head, sizeof head) != sizeof head ||
      std::string_view(reinterpret_cast<const char*>(head), 4) != "RIFF" ||
      std::string_view(reinterpret_cast<const char*>(head + 8), 4) != "AVI ") {
    return {};
  }
  // The RIFF's own size is not trusted: large files (and some cameras)
  // write it wrong, and a list after the pictures would be missed.
  Found found;
  ChunkWalk walk(file, 12, file.Size());
  while (const std::optional<Chunk> chunk = walk.Next()) {
    const std::string_view id = IdOf(*chunk);
    if (id == "LIST") {
      const std::string type = ListType(file, *chunk);
      if (type == "hdrl" || type == "ncdt" || type == "INFO") ReadList(file, *chunk, type, found);
    } else if (id == "IDIT" && found.idit.empty()) {
      found.idit = Body(file, *chunk, kLongestText);
    }
  }
  std::vector<std::string> texts;
  for (std::string* text : {&found.idit, &found.taken, &found.written, &found.created})
    if (!text->empty()) texts.push_back(std::move(*text));
  return texts;
}

}  // namespace platform
