// Runs every file of the seed and regression folders of each target through its entry point:
// what a fuzzer once found stays found. Works with any compiler; under the sanitizers it also
// checks what the entries do.
//   fuzz_replay FUZZ_FOLDER [TARGET]
#include "FuzzEntries.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: fuzz_replay FUZZ_FOLDER [TARGET]\n");
    return 2;
  }
  namespace fs = std::filesystem;
  int nFiles = 0;
  for (const fuzz::Target *p = fuzz::Targets(); p->name != nullptr; ++p) {
    if (argc > 2 && std::string(argv[2]) != p->name)
      continue;
    for (const char *pszKind : {"seeds", "regressions"}) {
      const fs::path folder = fs::path(argv[1]) / p->name / pszKind;
      if (!fs::is_directory(folder))
        continue;
      for (const fs::directory_entry &file : fs::directory_iterator(folder)) {
        if (!file.is_regular_file() || file.path().filename().string()[0] == '.')
          continue;
        std::ifstream in(file.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::printf("%s: %s\n", p->name, file.path().filename().c_str());
        std::fflush(stdout);
        p->entry(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        ++nFiles;
      }
    }
  }
  std::printf("%d passed, 0 failed\n", nFiles);
  return nFiles > 0 ? 0 : 1;
}
