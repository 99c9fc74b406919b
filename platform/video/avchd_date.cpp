#include "platform/video/avchd_date.h"

#include <map>
#include <string>

#include "platform/video/date_text.h"

namespace platform {
namespace {

constexpr char kSync = 0x47;
// The pack's message: its identifier, then "MDPM".
// (Its bytes hold a zero, hence the explicit length.)
constexpr std::string_view kPackStart{
    "\x17\xee\x8c\x60\xf8\x4d\x11\xd9\x8c\xd6\x08\x00\x20\x0c\x9a\x66"
    "MDPM",
    20};
// What a stream keeps per stream before its packs are searched: real
// cameras repeat the pack at every group of pictures, the first comes
// within the first packets.
constexpr std::size_t kKeptPerStream = 1 << 20;
// A pack is 1 + 5 * count bytes, count below 256.
constexpr std::size_t kLongestPack = 1 + 5 * 255;

int Byte(std::string_view s, std::size_t at) {
  return static_cast<unsigned char>(s[at]);
}

// Two BCD digits; -1 when a nibble is no digit.
int Bcd(int byte) {
  const int high = byte >> 4;
  const int low = byte & 0x0f;
  return high > 9 || low > 9 ? -1 : high * 10 + low;
}

// The stream's bytes with the escapes of H.264 removed (00 00 03 is
// 00 00 in the payload).
std::string Unescape(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  int zeros = 0;
  for (char c : raw) {
    if (zeros >= 2 && c == 0x03) {
      zeros = 0;
      continue;
    }
    zeros = c == 0 ? zeros + 1 : 0;
    out += c;
  }
  return out;
}

std::optional<DateTime> FirstPackDate(std::string_view payload) {
  for (std::size_t at = payload.find(kPackStart); at != std::string_view::npos;
       at = payload.find(kPackStart, at + 1)) {
    const std::string body =
        Unescape(payload.substr(at + kPackStart.size(), kLongestPack + kLongestPack / 2));
    if (auto date = ParseVideoPackDate(body)) return date;
  }
  return std::nullopt;
}

}  // namespace

std::optional<DateTime> ParseVideoPackDate(std::string_view body) {
  if (body.empty()) return std::nullopt;
  const std::size_t count = static_cast<unsigned char>(body[0]);
  int year = -1, month = -1, day = -1, hour = -1, minute = -1, second = -1;
  for (std::size_t i = 0; i < count && 1 + 5 * i + 5 <= body.size(); ++i) {
    const std::size_t at = 1 + 5 * i;
    // The first byte of the date's entry is the time zone, which the local
    // time shown does not need.
    if (Byte(body, at) == 0x18) {
      const int century = Bcd(Byte(body, at + 2));
      const int in_century = Bcd(Byte(body, at + 3));
      year = century < 0 || in_century < 0 ? -1 : century * 100 + in_century;
      month = Bcd(Byte(body, at + 4));
    } else if (Byte(body, at) == 0x19) {
      day = Bcd(Byte(body, at + 1));
      hour = Bcd(Byte(body, at + 2));
      minute = Bcd(Byte(body, at + 3));
      second = Bcd(Byte(body, at + 4));
    }
  }
  const DateTime date{year, month, day, hour, minute, second};
  if (!IsRealDateTime(date)) return std::nullopt;
  if ((year == 1904 || year == 1970) && month == 1 && day == 1) return std::nullopt;
  return date;
}

std::optional<DateTime> AvchdRecordingDate(std::string_view stream) {
  // AVCHD's packets carry a 4-byte time stamp before each 188-byte packet.
  std::size_t size = 0;
  std::size_t lead = 0;
  if (stream.size() >= 188 * 2 && stream[0] == kSync && stream[188] == kSync) {
    size = 188;
  } else if (stream.size() >= 192 * 2 && stream[4] == kSync && stream[196] == kSync) {
    size = 192;
    lead = 4;
  } else {
    return std::nullopt;
  }
  // Each stream's payloads end to end; the pack is searched in each.
  std::map<int, std::string> payloads;
  for (std::size_t at = 0; at + size <= stream.size(); at += size) {
    const std::string_view packet = stream.substr(at + lead, 188);
    if (packet[0] != kSync) break;
    const int pid = (Byte(packet, 1) & 0x1f) << 8 | Byte(packet, 2);
    const int control = Byte(packet, 3) >> 4 & 0x3;
    std::size_t start = 4;
    if (control & 0x2) start += 1 + Byte(packet, 4);
    if (!(control & 0x1) || start >= packet.size()) continue;
    std::string& payload = payloads[pid];
    if (payload.size() < kKeptPerStream) payload.append(packet.substr(start));
  }
  for (const auto& [pid, payload] : payloads)
    if (auto date = FirstPackDate(payload)) return date;
  return std::nullopt;
}

}  // namespace platform
