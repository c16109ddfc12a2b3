#include "koyo/object/TempHugeString.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "koyo/platform/ProcessDirs.h"

namespace fs = std::filesystem;

namespace koyo {
namespace {

// Points the library's temporary directory at a fresh folder for each test.
class TempHugeStringTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "hugeXXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    platform::SetProcessTempDirectory(dir_.string() + "/");
  }
  void TearDown() override {
    platform::SetProcessTempDirectory("");
    fs::remove_all(dir_);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    return names;
  }
  static std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('A' + (i * 7) % 61);
    return s;
  }
  fs::path dir_;
};

TEST_F(TempHugeStringTest, MovesIntoATemporaryFileAboveTheThreshold) {
  std::string data = Pattern(200000);
  TempHugeString<char> s;
  int64_t done = 0;
  bool wasHeap = false;
  while (done < static_cast<int64_t>(data.size())) {
    ASSERT_TRUE(s.Append(data.data() + done, 1000));
    done += 1000;
    if (done == 40000) {
      wasHeap = s.Map() == nullptr;
      EXPECT_EQ(s.Capacity() % 4096, 0);
      EXPECT_TRUE(Files().empty());
    }
  }
  EXPECT_TRUE(wasHeap);
  ASSERT_NE(s.Map(), nullptr);
  EXPECT_EQ(s.Capacity() % 4096, 0);
  EXPECT_EQ(s.Length(), 200000);
  EXPECT_EQ(std::string(s.c_str(), 200000), data);  // content survived the move and the resizes
  std::vector<std::string> files = Files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].substr(0, 2), "lp");
  s.Free();
  EXPECT_TRUE(Files().empty());
  EXPECT_EQ(s.Length(), 0);
}

TEST_F(TempHugeStringTest, LargeAssignMapsExactlyAndDestructionRemovesTheFile) {
  std::string data = Pattern(50001);
  {
    TempHugeString<char> s;
    ASSERT_TRUE(s.Assign(data.data(), static_cast<int64_t>(data.size())));
    ASSERT_NE(s.Map(), nullptr);
    EXPECT_EQ(s.Capacity(), 50002);
    EXPECT_EQ(std::string(s.c_str(), s.Length()), data);
    TempHugeString<char> copy(s);
    EXPECT_EQ(std::string(copy.c_str(), copy.Length()), data);
    EXPECT_EQ(Files().size(), 2u);
  }
  EXPECT_TRUE(Files().empty());
}

TEST_F(TempHugeStringTest, ThresholdZeroStaysOnTheHeap) {
  TempHugeString<char> s(0);
  std::string data = Pattern(100000);
  ASSERT_TRUE(s.Assign(data.data(), static_cast<int64_t>(data.size())));
  ASSERT_TRUE(s.Append("x"));
  EXPECT_EQ(s.Map(), nullptr);
  EXPECT_EQ(s.Capacity() % 4096, 0);
  EXPECT_TRUE(Files().empty());
}

TEST_F(TempHugeStringTest, AFailingTemporaryDirectoryFailsCleanly) {
  platform::SetProcessTempDirectory((dir_ / "missing/").string());
  TempHugeString<char> s;
  std::string data = Pattern(100);
  ASSERT_TRUE(s.Assign(data.data(), 100));
  EXPECT_FALSE(s.Reserve(50000));
  EXPECT_EQ(s.Length(), 0);  // content lost, string still usable
  EXPECT_EQ(s.Capacity(), 0);
  ASSERT_TRUE(s.Append("ok"));
  EXPECT_STREQ(s.c_str(), "ok");
}

}  // namespace
}  // namespace koyo
