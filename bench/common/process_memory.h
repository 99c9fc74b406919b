// Resident memory of this process, for benchmarks that state a memory goal:
// the peak can be reset, so that one step's peak is measured on its own.
// Linux only (reads /proc); elsewhere every figure is 0.
#pragma once

#include <cstddef>
#include <fstream>
#include <string>

namespace bench {

namespace detail {
// A "VmXXX:   1234 kB" line of /proc/self/status, in bytes.
inline std::size_t StatusField(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(name + ":", 0) == 0) return std::stoull(line.substr(name.size() + 1)) * 1024;
  return 0;
}
}  // namespace detail

inline std::size_t ResidentBytes() {
  return detail::StatusField("VmRSS");
}
inline std::size_t PeakResidentBytes() {
  return detail::StatusField("VmHWM");
}
// Starts a new peak at the present resident size.
inline void ResetPeakResident() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace bench
