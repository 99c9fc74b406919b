#include "platform/cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <stdexcept>

#include "platform/lead_byte.h"

namespace platform {
namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`. On an invalid or unconvertible sequence either
  // fails (replacement empty) or writes `replacement` and skips `skip` bytes.
  std::optional<std::string> Convert(std::string_view in, std::string_view replacement,
                                     std::size_t skip) {
    // CP932 and UTF-8 both keep ASCII as it is, and most names are ASCII
    // alone: those need no trip through iconv.
    if (IsAscii(in)) return std::string(in);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    std::size_t done = 0;
    while (src_left > 0) {
      char* dst = out.data() + done;
      std::size_t dst_left = out.size() - done;
      std::size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      done = out.size() - dst_left;
      if (r != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ or EINVAL (a truncated sequence at the end).
      if (replacement.empty()) return std::nullopt;
      out.resize(done);
      out.append(replacement);
      done = out.size();
      out.resize(done + src_left * 2 + 16);
      std::size_t step = std::min(skip, src_left);
      src += step;
      src_left -= step;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(done);
    return out;
  }

 private:
  iconv_t cd_;
};

Converter& ToUtf8() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}
Converter& FromUtf8() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  return ToUtf8().Convert(cp932, {}, 0);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  return FromUtf8().Convert(utf8, {}, 0);
}

std::string Cp932ToUtf8Lossy(std::string_view cp932) {
  return *ToUtf8().Convert(cp932, "\xEF\xBF\xBD", 1);
}

std::string Utf8ToCp932Lossy(std::string_view utf8) {
  if (auto whole = FromUtf8().Convert(utf8, {}, 0)) return *whole;
  // Convert character by character, so that one bad character costs one "?".
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n =
        std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    auto one = FromUtf8().Convert(utf8.substr(i, n), {}, 0);
    out += one ? *one : std::string("?");
    i += n;
  }
  return out;
}

namespace {

// The one code point of a UTF-8 string, or none when it holds more or less.
std::optional<char32_t> SingleCodePoint(const std::string& utf8) {
  if (utf8.empty()) return std::nullopt;
  const auto b = [&utf8](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
  const std::size_t n = Utf8SequenceLength(b(0));
  if (utf8.size() != n) return std::nullopt;
  char32_t c = n == 1 ? b(0) : n == 2 ? b(0) & 0x1F : n == 3 ? b(0) & 0x0F : b(0) & 0x07;
  for (std::size_t i = 1; i < n; ++i) c = (c << 6) | (b(i) & 0x3F);
  return c;
}

constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFC;
constexpr int kLeadBytes = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

int LeadSlot(unsigned char lead) {
  return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
}

// Every CP932 character in Unicode, converted once with the program's
// converter: each byte that is no lead byte, and each lead byte with every
// byte that may follow it. Every CP932 character has a form in the Basic
// Multilingual Plane; what has none is U+FFFD.
class CharTable {
 public:
  CharTable() {
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      single_[b] = IsLeadByte(byte) ? kReplacement16 : Convert(std::string(1, byte));
    }
    for (int lead = 0x80; lead < 0x100; ++lead) {
      if (!IsLeadByte(static_cast<char>(lead))) continue;
      for (int trail = 0; trail < 256; ++trail) {
        const bool may_trail = trail >= kTrailFirst && trail <= kTrailLast;
        pair_[Slot(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail))] =
            may_trail ? Convert(std::string{static_cast<char>(lead), static_cast<char>(trail)})
                      : kReplacement16;
      }
    }
  }
  char16_t Single(unsigned char b) const { return single_[b]; }
  char16_t Pair(unsigned char lead, unsigned char trail) const { return pair_[Slot(lead, trail)]; }

 private:
  static constexpr char16_t kReplacement16 = u'\xFFFD';
  static std::size_t Slot(unsigned char lead, unsigned char trail) {
    return static_cast<std::size_t>(LeadSlot(lead)) * 256 + trail;
  }
  static char16_t Convert(const std::string& bytes) {
    const auto utf8 = Cp932ToUtf8(bytes);
    const std::optional<char32_t> code = utf8 ? SingleCodePoint(*utf8) : std::nullopt;
    if (!code || *code > 0xFFFF) return kReplacement16;
    return static_cast<char16_t>(*code);
  }
  std::array<char16_t, 256> single_{};
  std::array<char16_t, kLeadBytes * 256> pair_{};
};

// UTF-16 to UTF-8; a surrogate without its pair becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

const CharTable& Chars() {
  static const auto table = std::make_unique<const CharTable>();
  return *table;
}

}  // namespace

Cp932Char DecodeCp932Char(std::string_view text, std::size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  if (!IsLeadByte(b)) return {Chars().Single(b), 1};
  if (i + 1 >= text.size()) return {kReplacementChar, 1};
  return {Chars().Pair(b, static_cast<unsigned char>(text[i + 1])), 2};
}

std::u16string Cp932ToUtf16Chars(std::string_view cp932) {
  std::u16string out;
  out.reserve(cp932.size());
  for (std::size_t i = 0; i < cp932.size();) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    const Cp932Char c = DecodeCp932Char(cp932, i);
    out += static_cast<char16_t>(c.code);
    i += static_cast<std::size_t>(c.bytes);
  }
  return out;
}

std::optional<std::string> Utf16ToCp932(std::u16string_view utf16) {
  return Utf8ToCp932(Utf16ToUtf8(utf16));
}

int Cp932CharCount(std::string_view cp932) {
  const int size = static_cast<int>(cp932.size());
  int count = 0;
  for (int i = 0; i < size; ++count) i += CharLengthAt(cp932.data(), size, i);
  return count;
}

}  // namespace platform
