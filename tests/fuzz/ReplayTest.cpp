// Replays the committed inputs of one fuzz target through it, built with the
// ordinary compiler as a unit test (<target>_replay.SeedCorpus and
// <target>_replay.Reproducers): the seed corpus and the reproducers of faults
// the fuzzer found (regressions/<target>/). The target aborts on a broken
// rule; the sanitized build also catches memory and undefined-behavior faults
// on these inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& dir) {
  std::vector<fs::path> files;
  if (fs::is_directory(dir)) {
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

void Replay(const std::vector<fs::path>& files) {
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << "cannot read " << file;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An exact-size copy, as the fuzzer hands it over.
    std::vector<uint8_t> data(bytes.begin(), bytes.end());
    EXPECT_EQ(LLVMFuzzerTestOneInput(data.data(), data.size()), 0);
  }
}

const fs::path kFuzzDir = fs::path(KOYO_SOURCE_DIR) / "tests" / "fuzz";

TEST(KOYO_FUZZ_SUITE, SeedCorpus) {
  auto files = InputsOf(kFuzzDir / "corpus" / KOYO_FUZZ_TARGET);
  ASSERT_FALSE(files.empty()) << "no seed inputs for " << KOYO_FUZZ_TARGET;
  Replay(files);
}

TEST(KOYO_FUZZ_SUITE, Reproducers) {
  // A target may have no reproducers yet.
  Replay(InputsOf(kFuzzDir / "regressions" / KOYO_FUZZ_TARGET));
}

}  // namespace
