#include "platform/wildcard.h"

#include <unicode/uchar.h>

#include "platform/cp932.h"
#include "platform/native_name.h"
#include "platform/path_rules.h"

namespace platform {
namespace {

// A name as the code points the wildcard compares, letter case folded. A
// byte that is not UTF-8 stands for itself, so that "?" still takes it.
std::u32string FoldedCodePoints(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto b = static_cast<unsigned char>(utf8[i]);
    char32_t cp = 0;
    std::size_t len = b < 0x80             ? 1
                      : (b & 0xE0) == 0xC0 ? 2
                      : (b & 0xF0) == 0xE0 ? 3
                      : (b & 0xF8) == 0xF0 ? 4
                                           : 0;
    bool ok = len > 0 && i + len <= utf8.size();
    if (ok) {
      cp = len == 1 ? b : b & (0x7F >> len);
      for (std::size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(utf8[i + k]);
        if ((c & 0xC0) != 0x80) {
          ok = false;
          break;
        }
        cp = (cp << 6) | (c & 0x3F);
      }
    }
    if (!ok) {
      out.push_back(0xDC00 + b);  // a lone byte, kept apart from real characters
      ++i;
      continue;
    }
    out.push_back(static_cast<char32_t>(u_foldCase(static_cast<UChar32>(cp), U_FOLD_CASE_DEFAULT)));
    i += len;
  }
  return out;
}

bool Matches(std::u32string_view name, std::u32string_view mask) {
  std::size_t m = 0, n = 0, star = std::u32string_view::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
      ++m;
      ++n;
    } else if (m < mask.size() && mask[m] == U'*') {
      star = m++;
      resume = n;
    } else if (star != std::u32string_view::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == U'*') ++m;
  return m == mask.size();
}

}  // namespace

WildcardMask::WildcardMask(std::u32string mask) : mask_(std::move(mask)) {
  // "x.*" also takes a bare "x"; "x." takes only a bare "x" (and, on this
  // file system, a name that really ends in a dot).
  if (mask_.size() >= 2 && mask_.compare(mask_.size() - 2, 2, U".*") == 0) {
    without_any_extension_ = mask_.substr(0, mask_.size() - 2);
  } else if (mask_.size() >= 2 && mask_.back() == U'.') {
    without_any_extension_ = mask_.substr(0, mask_.size() - 1);
    bare_names_only_ = true;
  }
}

std::optional<WildcardMask> WildcardMask::FromCp932(std::string_view cp932_mask) {
  const std::optional<std::string> mask = Cp932ToUtf8(cp932_mask);
  if (!mask || mask->empty() || MaskHasFolderPart(cp932_mask)) return std::nullopt;
  return WildcardMask(FoldedCodePoints(NormalFormC(*mask)));
}

bool WildcardMask::Matches(std::string_view composed_name) const {
  const std::u32string name = FoldedCodePoints(composed_name);
  if (platform::Matches(name, mask_)) return true;
  if (!without_any_extension_) return false;
  if (bare_names_only_ && name.find(U'.') != std::u32string_view::npos) return false;
  return platform::Matches(name, *without_any_extension_);
}

bool MatchesMask(std::string_view cp932_name, std::string_view cp932_mask) {
  const std::optional<std::string> name = Cp932ToUtf8(cp932_name);
  const std::optional<WildcardMask> mask = WildcardMask::FromCp932(cp932_mask);
  return name && mask && mask->Matches(NormalFormC(*name));
}

bool MaskHasFolderPart(std::string_view cp932_mask) {
  // "/" is never the second byte of a double-byte character.
  return cp932_mask.find(kPathDelimiter) != std::string_view::npos;
}

}  // namespace platform
