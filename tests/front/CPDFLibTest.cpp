#include "front/CPDFLib.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "koyo/platform/ProcessDirs.h"

namespace koyo {
namespace {

std::unique_ptr<CPDFLib> Make(const char* temp, const char* cmap, const char* metrics, const char* afm,
                              const char* version = "2.9.0") {
  return std::unique_ptr<CPDFLib>(CPDFLib::Create(temp, cmap, metrics, afm, version));
}

TEST(CPDFLib, CreateChecksTheVersionExactly) {
  struct Case {
    const char* version;
    bool created;
  };
  const Case cases[] = {
      {"2.9.0", true}, {nullptr, true},   {"2.9.1", false}, {"3.0.0", false}, {"2.9.0 ", false},
      {" 2.9.0", false}, {"2.9", false}, {"", false},      {"1.2.0", false},
  };
  for (const Case& c : cases) {
    auto lib = Make(nullptr, nullptr, nullptr, nullptr, c.version);
    EXPECT_EQ(lib != nullptr, c.created) << (c.version ? c.version : "(null)");
  }
}

TEST(CPDFLib, InitialState) {
  auto lib = Make(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(lib, nullptr);
  EXPECT_STREQ(lib->GetHostCMapName(), "90ms-RKSJ");
  EXPECT_EQ(lib->GetRealizeOptions(), 0);
  EXPECT_EQ(lib->GetTempDir(), "");
  EXPECT_EQ(lib->GetCMapDir(), "");
  EXPECT_EQ(lib->GetMetricsDir(), "");
  EXPECT_EQ(lib->GetAFMDir(), "");
}

TEST(CPDFLib, DirectoriesEndWithOneSeparatorAndEmptyClears) {
  struct Case {
    const char* given;
    const char* stored;
  };
  const Case cases[] = {
      {"/tmp/work", "/tmp/work/"}, {"/tmp/work/", "/tmp/work/"}, {"rel/dir", "rel/dir/"},
      {"/", "/"},                  {"", ""},                     {nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given ? c.given : "(null)");
    // Something else first, so that clearing is seen in the process-wide copies too.
    auto before = Make("/before", "/before", "/before", "/before");
    ASSERT_NE(before, nullptr);
    auto lib = Make(c.given, c.given, c.given, c.given);
    ASSERT_NE(lib, nullptr);
    EXPECT_EQ(lib->GetTempDir(), c.stored);
    EXPECT_EQ(lib->GetCMapDir(), c.stored);
    EXPECT_EQ(lib->GetMetricsDir(), c.stored);
    EXPECT_EQ(lib->GetAFMDir(), c.stored);
    EXPECT_EQ(platform::ProcessTempDirectory(), c.stored);
    EXPECT_EQ(platform::ProcessCMapDirectory(), c.stored);
    EXPECT_EQ(platform::ProcessAFMDirectory(), c.stored);
  }
  // Each directory goes to its own place.
  auto lib = Make("/t", "/c", "/m", "/a");
  ASSERT_NE(lib, nullptr);
  EXPECT_EQ(lib->GetTempDir(), "/t/");
  EXPECT_EQ(lib->GetCMapDir(), "/c/");
  EXPECT_EQ(lib->GetMetricsDir(), "/m/");
  EXPECT_EQ(lib->GetAFMDir(), "/a/");
  EXPECT_EQ(platform::ProcessTempDirectory(), "/t/");
  EXPECT_EQ(platform::ProcessCMapDirectory(), "/c/");
  EXPECT_EQ(platform::ProcessAFMDirectory(), "/a/");
}

TEST(CPDFLib, TemporaryDirectoryMustFitThePathBuffer) {
  // Directory with separator + "lp" + six unique characters + terminator <= 260.
  const size_t longest = CPDFLib::kTempPathBufferSize - 2 - CPDFLib::kTempUniqueLength - 1;
  const std::string fits = "/" + std::string(longest - 2, 'd');  // the separator is added
  auto ok = Make(fits.c_str(), nullptr, nullptr, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetTempDir().size(), longest);
  EXPECT_EQ(platform::ProcessTempDirectory(), fits + "/");

  for (const std::string& tooLong : {fits + "d", std::string(longest, 'e') + "/", std::string(4096, 'f')}) {
    EXPECT_EQ(Make(tooLong.c_str(), "/cmap", nullptr, nullptr), nullptr) << tooLong.size();
    // The process-wide copies keep what the last created instance set.
    EXPECT_EQ(platform::ProcessTempDirectory(), fits + "/");
    EXPECT_EQ(platform::ProcessCMapDirectory(), "");
  }
}

TEST(CPDFLib, TrueTypeInfoComesFromTheCatalogue) {
  auto lib = Make(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(lib, nullptr);
  TrueTypeInfo* heisei = lib->GetTrueTypeInfo("HeiseiKakuGo-W5");
  ASSERT_NE(heisei, nullptr);
  EXPECT_EQ(heisei->lfCharSet, 128);
  EXPECT_EQ(heisei->otmMacAscent, 752);
  EXPECT_EQ(lib->GetTrueTypeInfo("HeiseiKakuGo-W5"), heisei);
  EXPECT_EQ(lib->GetTrueTypeInfo("heiseikakugo-w5"), nullptr);
  EXPECT_EQ(lib->GetTrueTypeInfo(nullptr), nullptr);

  // Another instance has a catalogue of its own.
  auto other = Make(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  TrueTypeInfo* otherHeisei = other->GetTrueTypeInfo("HeiseiKakuGo-W5");
  ASSERT_NE(otherHeisei, nullptr);
  EXPECT_NE(otherHeisei, heisei);
}

TEST(CPDFLib, LookupsHoldTheLock) {
  auto lib = Make(nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(lib, nullptr);
  {
    // Re-entrant: a lookup inside a section that already holds the lock.
    platform::ScopedLock outer(&lib->GetLock());
    EXPECT_NE(lib->GetTrueTypeInfo("HeiseiMin-W3"), nullptr);
  }

  std::atomic<bool> done{false};
  std::thread lookup;
  {
    platform::ScopedLock held(&lib->GetLock());
    lookup = std::thread([&] {
      lib->GetTrueTypeInfo("HeiseiMin-W3");
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(done.load());  // waits for the lock
  }
  lookup.join();
  EXPECT_TRUE(done.load());
}

}  // namespace
}  // namespace koyo
