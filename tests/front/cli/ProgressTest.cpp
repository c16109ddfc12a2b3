#include "front/cli/Progress.h"

#include <gtest/gtest.h>

namespace kanafix::cli {
namespace {

TEST(Progress, LineFitsTheWidthAndShowsTheCounts) {
  for (size_t width : {0, 1, 10, 20, 30, 34, 40, 80, 200}) {
    const std::string line = RenderProgress(7, 20, 31, 125, width);
    EXPECT_LE(line.size(), width) << width;
  }
  EXPECT_EQ(RenderProgress(7, 20, 31, 125, 80).substr(RenderProgress(7, 20, 31, 125, 80).find(']')),
            "] 7/20 files  31 fonts  2:05");
  // Too narrow for a bar: the counts alone.
  EXPECT_EQ(RenderProgress(7, 20, 1, 5, 30), "7/20 files  1 font  0:05");
}

TEST(Progress, BarFillsInProportion) {
  auto filled = [](int64_t done, int64_t total) {
    const std::string line = RenderProgress(done, total, 0, 0, 80);
    const std::string bar = line.substr(1, line.find(']') - 1);
    return std::make_pair(std::count(bar.begin(), bar.end(), '#'), bar.size());
  };
  EXPECT_EQ(filled(0, 20).first, 0);
  EXPECT_EQ(filled(20, 20).first, static_cast<long>(filled(20, 20).second));
  EXPECT_EQ(filled(10, 20).first, static_cast<long>(filled(10, 20).second / 2));
  EXPECT_EQ(filled(0, 0).first, 0);
}

TEST(Progress, DisplayDrawsInPlaceAndClearsOnlyWhenEnabled) {
  FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  {
    ProgressDisplay off(stream, false, 80);
    off.Update(1, 2, 3);
    off.Clear();
  }
  EXPECT_EQ(std::ftell(stream), 0);

  ProgressDisplay on(stream, true, 80);
  on.Update(1, 2, 3);
  on.Tick();  // nothing new to draw within the same second
  on.Clear();
  on.Clear();  // already cleared
  std::rewind(stream);
  char buffer[512] = {};
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, stream);
  std::fclose(stream);
  const std::string text(buffer, n);
  EXPECT_EQ(text.substr(0, 1), "\r");
  EXPECT_NE(text.find("1/2 files  3 fonts"), std::string::npos) << text;
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 4), "\r\x1b[K");
  // One drawing and one clearing.
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2);
}

}  // namespace
}  // namespace kanafix::cli
