#include "bench/common/many_names.h"

#include <fstream>
#include <random>

namespace bench {

std::vector<std::string> MakeManyNames(int count) {
  static const char* kExt[] = {".txt", ".TXT", ".jpg", ".JPEG", ".doc", ""};
  static const char* kJapanese[] = {"写真", "資料", "メモ", "かな"};
  std::mt19937 rng(12345);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    std::string n;
    if (i % 8 == 0) n += kJapanese[rng() % 4];
    int len = 4 + static_cast<int>(rng() % 8);
    for (int k = 0; k < len; ++k) {
      unsigned r = rng() % 36;
      n += r < 10 ? static_cast<char>('0' + r)
                  : static_cast<char>((rng() % 2 ? 'a' : 'A') + static_cast<int>(r - 10));
    }
    n += '_';
    n += std::to_string(i);
    n += kExt[rng() % 6];
    names.push_back(n);
  }
  return names;
}

void FillWithManyNames(const std::filesystem::path& folder, int count) {
  for (const auto& n : MakeManyNames(count)) std::ofstream(folder / n);
}

}  // namespace bench
