// Compares every built-in CMap with Adobe's CMap file of the same name, when
// the poppler-data package provides those files.
#include <gtest/gtest.h>

#include <string>

#include "koyo/platform/Files.h"
#include "koyo/platform/ProcessDirs.h"
#include "koyo/resource/CMapFile.h"

namespace koyo {
namespace {

constexpr const char* kAdobeDir = "/usr/share/poppler/cMap/Adobe-Japan1/";
constexpr unsigned kLastCID = 8719;

class CMapReference : public ::testing::TestWithParam<const char*> {};

// The CID of one code through cmap, or -1 when no range covers it.
long Convert(CMapFile& cmap, const unsigned char* code, size_t length) {
  unsigned char out[2];
  if (cmap.CodeToCID(out, sizeof(out), code, length) != 2) return -1;
  return out[0] << 8 | out[1];
}

TEST_P(CMapReference, SameCIDsAsAdobeFile) {
  const std::string name = GetParam();
  if (!platform::FileExists((kAdobeDir + name).c_str())) GTEST_SKIP() << "poppler-data is not installed";
  std::string savedDir = platform::ProcessCMapDirectory();
  platform::SetProcessCMapDirectory(kAdobeDir);  // used CMaps come from the same files
  CMapFile adobe;
  bool loaded = adobe.LoadFile(kAdobeDir + name, false);
  platform::SetProcessCMapDirectory(savedDir);
  ASSERT_TRUE(loaded);
  ASSERT_NE(adobe.UsedCMap() != nullptr, name.back() == 'H');

  CMapFile builtin;
  ASSERT_TRUE(builtin.LoadBuiltin(name));
  const CMapFile* spaceOwner = &builtin;
  while (spaceOwner->CodespaceRanges().empty() && spaceOwner->UsedCMap()) spaceOwner = spaceOwner->UsedCMap();
  ASSERT_FALSE(spaceOwner->CodespaceRanges().empty());

  size_t compared = 0, mapped = 0;
  for (const CMapRange& space : spaceOwner->CodespaceRanges()) {
    ASSERT_TRUE(space.length == 1 || space.length == 2);
    for (unsigned value = space.low; value <= space.high; ++value) {
      unsigned char code[2] = {static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
      const unsigned char* start = space.length == 1 ? code + 1 : code;
      long expected = Convert(adobe, start, space.length);
      long actual = Convert(builtin, start, space.length);
      ++compared;
      if (expected >= 0 && expected <= static_cast<long>(kLastCID)) {
        ASSERT_EQ(actual, expected) << name << " code " << std::hex << value;
        ++mapped;
      } else if (expected < 0) {
        ASSERT_EQ(actual, -1) << name << " code " << std::hex << value;
      } else {
        // Adobe's file gives a CID of a later supplement; the built-in CMap
        // knows none, or (vertical CMaps) the horizontal one of its used CMap.
        ASSERT_LE(actual, static_cast<long>(kLastCID)) << name << " code " << std::hex << value;
      }
    }
  }
  EXPECT_GT(mapped, compared / 10);
}

INSTANTIATE_TEST_SUITE_P(Japan1, CMapReference,
                         ::testing::Values("90ms-RKSJ-H", "90ms-RKSJ-V", "90msp-RKSJ-H", "90msp-RKSJ-V",
                                           "EUC-H", "EUC-V", "UniJIS-UCS2-H", "UniJIS-UCS2-V"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string n = info.param;
                           for (char& c : n) {
                             if (c == '-') c = '_';
                           }
                           return n;
                         });

}  // namespace
}  // namespace koyo
