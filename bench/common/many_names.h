// The folder of 100,000 names the listing benchmarks work on: mixed names
// as a real folder holds them (letter case, digits, extensions, and one
// name in eight in Japanese), the same names in every run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

inline constexpr int kManyNames = 100000;

// The names, UTF-8.
std::vector<std::string> MakeManyNames(int count = kManyNames);

// Makes an empty file for each name in `folder`.
void FillWithManyNames(const std::filesystem::path& folder, int count = kManyNames);

}  // namespace bench
