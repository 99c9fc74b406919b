#include "platform/control/cell_text.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "platform/cp932.h"

namespace platform::control_detail {
namespace {

constexpr int kTrailFirst = 0x40;
constexpr int kTrailCount = 0xFC - 0x40 + 1;

// The one code point of a UTF-8 string, or none when it holds more or less.
std::optional<char32_t> SingleCodePoint(const std::string& utf8) {
  if (utf8.empty()) return std::nullopt;
  auto b = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  std::size_t n = b(0) < 0x80 ? 1 : (b(0) & 0xE0) == 0xC0 ? 2 : (b(0) & 0xF0) == 0xE0 ? 3 : 4;
  if (utf8.size() != n) return std::nullopt;
  char32_t c = n == 1 ? b(0) : n == 2 ? b(0) & 0x1F : n == 3 ? b(0) & 0x0F : b(0) & 0x07;
  for (std::size_t i = 1; i < n; ++i) c = (c << 6) | (b(i) & 0x3F);
  return c;
}

char32_t Convert(std::string_view bytes) {
  auto utf8 = Cp932ToUtf8(bytes);
  if (!utf8) return kReplacementChar;
  return SingleCodePoint(*utf8).value_or(kReplacementChar);
}

int LeadSlot(unsigned char lead) {
  return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F;
}

// Every CP932 character, converted once with the program's converter.
struct Cp932Table {
  std::array<char32_t, 256> single{};
  std::array<char32_t, 60 * kTrailCount> pairs{};

  Cp932Table() {
    for (int b = 0; b < 256; ++b) {
      if (IsCp932LeadByte(static_cast<unsigned char>(b))) continue;
      char byte = static_cast<char>(b);
      single[b] = Convert(std::string_view(&byte, 1));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
      for (int t = 0; t < kTrailCount; ++t) {
        char pair[2] = {static_cast<char>(lead), static_cast<char>(kTrailFirst + t)};
        pairs[LeadSlot(static_cast<unsigned char>(lead)) * kTrailCount + t] =
            Convert(std::string_view(pair, 2));
      }
    }
  }
};

const Cp932Table& Table() {
  static const auto table = std::make_unique<Cp932Table>();
  return *table;
}

char32_t Visible(char32_t c) {
  if (c < 0x20) return 0x2400 + c;
  if (c == 0x7F) return 0x2421;
  return c;
}

}  // namespace

CellChar DecodeCellChar(std::string_view text, std::size_t i) {
  const CellChar c = DecodeCp932Char(text, i);
  return {Visible(c.code), c.bytes};
}

CellChar DecodeCp932Char(std::string_view text, std::size_t i) {
  auto b = static_cast<unsigned char>(text[i]);
  if (!IsCp932LeadByte(b)) return {Table().single[b], 1};
  if (i + 1 >= text.size()) return {kReplacementChar, 1};
  auto t = static_cast<unsigned char>(text[i + 1]);
  if (t < kTrailFirst || t > 0xFC) return {kReplacementChar, 2};
  return {Table().pairs[LeadSlot(b) * kTrailCount + (t - kTrailFirst)], 2};
}

}  // namespace platform::control_detail
