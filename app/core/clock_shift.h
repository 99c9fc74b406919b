// A camera clock set wrong: how far every date the files give is moved
// before it goes into a name, a date order or a date folder, written and
// read as "[+|-][D:]HH:MM:SS" the same way on the command line, in the log
// and in the saved settings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

// The largest shift, either way: 99,999 days and a day less a second, more
// than any clock that was never set can be off.
inline constexpr long long kClockShiftMaxSeconds = 100000LL * 24 * 60 * 60 - 1;

// The shift in seconds of "[+|-]HH:MM", "[+|-]HH:MM:SS" or "[+|-]D:HH:MM:SS"
// (no sign is "+"): minutes and seconds are two digits up to 59, hours one
// or two digits up to 23 after a day count, else as many as the largest
// shift allows. No value for anything else or for a shift beyond the
// largest.
std::optional<long long> ParseClockShift(std::string_view text);

// "+09:00:00", "-00:30:00", "+1:02:03:04": the days only when there are any,
// so that ParseClockShift reads it back.
std::string ClockShiftText(long long seconds);

// The days, hours, minutes and seconds of a shift, each as large as it
// can be with the next smaller one below its own unit, and its sign.
struct ClockShiftParts {
  bool negative = false;
  long long days = 0;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
};
ClockShiftParts SplitClockShift(long long seconds);
long long JoinClockShift(const ClockShiftParts& parts);

}  // namespace app
