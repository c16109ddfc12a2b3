#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "front/CPDFLib.h"
#include "koyo/platform/ProcessDirs.h"

namespace koyo {
namespace {

std::unique_ptr<CPDFLib> Make(const char* cmapDir, const char* metricsDir, const char* afmDir) {
  return std::unique_ptr<CPDFLib>(CPDFLib::Create(nullptr, cmapDir, metricsDir, afmDir, nullptr));
}

class ResourceDirs : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "libresXXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    for (const char* sub : {"cmap", "metrics", "afm"}) std::filesystem::create_directory(root_ + "/" + sub);
  }
  void TearDown() override {
    platform::SetProcessCMapDirectory("");
    platform::SetProcessAFMDirectory("");
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  void Write(const std::string& path, const std::string& text) {
    std::ofstream(root_ + "/" + path, std::ios::binary) << text;
  }
  std::string root_;
};

TEST_F(ResourceDirs, BuiltinResourcesWithoutDirectories) {
  auto lib = Make(nullptr, nullptr, nullptr);
  ASSERT_NE(lib, nullptr);
  CMapFile* sjis = lib->GetCMap("90ms-RKSJ-H");
  ASSERT_NE(sjis, nullptr);
  EXPECT_EQ(lib->GetCMap("90ms-RKSJ-H"), sjis);
  unsigned char codes[] = {0x41, 0x82, 0xA0};
  unsigned char cids[6];
  ASSERT_EQ(sjis->CodeToCID(cids, sizeof(cids), codes, sizeof(codes)), 4u);
  EXPECT_EQ(cids[1], 0x08);
  EXPECT_EQ(cids[3], 0x4B);
  EXPECT_EQ(lib->GetCMap("No-Such-CMap"), nullptr);
  EXPECT_EQ(lib->GetCMap(nullptr), nullptr);

  EncodingTable* win = lib->GetEncodingTable("WinAnsiEncoding");
  ASSERT_NE(win, nullptr);
  std::string name;
  EXPECT_TRUE(win->GetName(39, name));
  EXPECT_EQ(name, "quotesingle");
  EXPECT_EQ(lib->GetEncodingTable("Identity-H"), nullptr);

  AFMFile* courier = lib->GetAFM("Courier");
  ASSERT_NE(courier, nullptr);
  EXPECT_EQ(courier->GlyphByName("space")->wx, 600);
  EXPECT_EQ(lib->GetAFM("Courier"), courier);
  EXPECT_EQ(lib->GetAFM("NoSuchFont"), nullptr);
}

TEST_F(ResourceDirs, DirectoriesComeBeforeBuiltins) {
  Write("cmap/90ms-RKSJ-H", "%!PS-Adobe-3.0 Resource-CMap\n1 begincidrange\n<41> <41> 9\nendcidrange\n");
  Write("metrics/any-name", "StartFontMetrics 4.1\nFontName Scanned\nFontBBox 0 0 9 9\n");
  Write("afm/Courier.afm",
        "StartFontMetrics 4.1\nFontName Courier\nFontBBox 0 0 9 9\nStartCharMetrics 1\nC 32 ; WX 1 ; N space ;\n");
  auto lib = Make((root_ + "/cmap").c_str(), (root_ + "/metrics").c_str(), (root_ + "/afm").c_str());
  ASSERT_NE(lib, nullptr);
  CMapFile* local = lib->GetCMap("90ms-RKSJ-H");
  ASSERT_NE(local, nullptr);
  unsigned char code = 0x41, cid[2];
  ASSERT_EQ(local->CodeToCID(cid, 2, &code, 1), 2u);
  EXPECT_EQ(cid[1], 9);
  EXPECT_NE(lib->GetAFM("Scanned"), nullptr);
  AFMFile* courier = lib->GetAFM("Courier");
  ASSERT_NE(courier, nullptr);
  ASSERT_NE(courier->GlyphByName("space"), nullptr);
  EXPECT_EQ(courier->GlyphByName("space")->wx, 1);
  EXPECT_EQ(lib->GetAFM("Helvetica")->GlyphByName("space")->wx, 278);
}

TEST_F(ResourceDirs, LookupsWaitForTheLock) {
  auto lib = Make(nullptr, nullptr, nullptr);
  ASSERT_NE(lib, nullptr);
  std::atomic<int> done{0};
  std::thread lookup;
  {
    platform::ScopedLock held(&lib->GetLock());
    EXPECT_NE(lib->GetCMap("EUC-H"), nullptr);  // re-entrant under the held lock
    lookup = std::thread([&] {
      lib->GetCMap("UniJIS-UCS2-H");
      lib->GetEncodingTable("StandardEncoding");
      lib->GetAFM("Symbol");
      done = 1;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(done.load(), 0);
  }
  lookup.join();
  EXPECT_EQ(done.load(), 1);
}

}  // namespace
}  // namespace koyo
