// Bytes this program holds through operator new, now and at its peak. A
// benchmark that links allocation_meter.cpp counts every C++ allocation, so
// the memory one step needs can be measured even where freed pages that are
// still resident would hide it from the process's resident size.
#pragma once

#include <cstddef>

namespace bench {

std::size_t AllocatedBytes();
std::size_t PeakAllocatedBytes();
// Starts a new peak at what is held now.
void ResetPeakAllocated();

}  // namespace bench
