#include "bench/common/scratch_folder.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/user_locale.h"

namespace bench {

int RunInScratchFolder(int argc, char** argv, const std::string& stem,
                       const std::function<void(const std::filesystem::path&)>& fill,
                       std::filesystem::path& folder) {
  std::string base = "/tmp";
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--dir" && i + 1 < argc) {
      base = argv[++i];
      continue;
    }
    rest.push_back(argv[i]);
  }
  int rest_argc = static_cast<int>(rest.size());
  platform::ScopedUserLocale locale("ja_JP");
  std::string name = base + "/pirukko-" + stem + "-XXXXXX";
  if (!mkdtemp(name.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  folder = name;
  fill(folder);
  benchmark::Initialize(&rest_argc, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(folder);
  return 0;
}

}  // namespace bench
