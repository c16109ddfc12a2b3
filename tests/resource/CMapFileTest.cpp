#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "koyo/platform/ProcessDirs.h"
#include "koyo/resource/CMapFile.h"

namespace koyo {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes ToCID(CMapFile& cmap, const Bytes& codes) {
  Bytes out(codes.size() * 2 + 2);
  out.resize(cmap.CodeToCID(out.data(), out.size(), codes.data(), codes.size()));
  return out;
}

Bytes ToCode(CMapFile& cmap, const Bytes& cids) {
  Bytes out(cids.size() + 2);
  out.resize(cmap.CIDToCode(out.data(), out.size(), cids.data(), cids.size()));
  return out;
}

// Restores the process-wide CMap directory a test changes.
class CMapDirGuard {
public:
  explicit CMapDirGuard(const std::string& dir) : saved_(platform::ProcessCMapDirectory()) {
    platform::SetProcessCMapDirectory(dir);
  }
  ~CMapDirGuard() { platform::SetProcessCMapDirectory(saved_); }

private:
  std::string saved_;
};

class TempDir {
public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "cmaptestXXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ + "/" + name, std::ios::binary) << text;
  }

private:
  std::string path_;
};

struct BuiltinCase {
  const char* cmap;
  Bytes codes;
  Bytes cids;
};

class BuiltinConversion : public ::testing::TestWithParam<BuiltinCase> {};

TEST_P(BuiltinConversion, CodesGiveCIDs) {
  const BuiltinCase& c = GetParam();
  CMapFile cmap;
  ASSERT_TRUE(cmap.LoadBuiltin(c.cmap));
  EXPECT_EQ(ToCID(cmap, c.codes), c.cids);
  // The second pass is served from the caches and must agree.
  EXPECT_EQ(ToCID(cmap, c.codes), c.cids);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, BuiltinConversion,
    ::testing::Values(
        // 41 in 20-7D (231 + 0x21), 82A0 in 829F-82F1 from 842.
        BuiltinCase{"90ms-RKSJ-H", {0x41, 0x82, 0xA0}, {0x01, 0x08, 0x03, 0x4B}},
        // 80 is in the codespace but no range covers it: conversion stops.
        BuiltinCase{"90ms-RKSJ-H", {0x41, 0x80, 0x41}, {0x01, 0x08}},
        BuiltinCase{"90ms-RKSJ-H", {0x1F, 0x7E}, {0x00, 0xE7, 0x02, 0x77}},
        BuiltinCase{"90msp-RKSJ-H", {0x1F, 0x41}, {0x00, 0x01, 0x00, 0x22}},
        // 8141 from the vertical CMap itself, 8140 through its used CMap.
        BuiltinCase{"90ms-RKSJ-V", {0x81, 0x41, 0x81, 0x40}, {0x1E, 0xCF, 0x02, 0x79}},
        BuiltinCase{"90msp-RKSJ-V", {0x81, 0x42, 0x41}, {0x1E, 0xD0, 0x00, 0x22}},
        BuiltinCase{"UniJIS-UCS2-H", {0x00, 0x5C, 0x00, 0x5D, 0x00, 0x7E}, {0x00, 0x61, 0x00, 0x3E, 0x00, 0x5F}},
        BuiltinCase{"UniJIS-UCS2-H", {0x00, 0x1F, 0x30, 0x42}, {0x00, 0x01, 0x03, 0x4B}},
        BuiltinCase{"UniJIS-UCS2-V", {0x00, 0xB0, 0x00, 0x41}, {0x20, 0x4D, 0x00, 0x22}},
        BuiltinCase{"EUC-H", {0x20, 0x41, 0x8E, 0xA0, 0xA4, 0xA2}, {0x00, 0xE7, 0x01, 0x08, 0x01, 0x46, 0x03, 0x4B}},
        BuiltinCase{"EUC-V", {0xA1, 0xA2, 0x41}, {0x1E, 0xCF, 0x01, 0x08}},
        BuiltinCase{"Identity-H", {0x12, 0x34, 0xFF, 0xFF}, {0x12, 0x34, 0xFF, 0xFF}},
        BuiltinCase{"Identity-V", {0x00, 0x01, 0x20, 0x4D, 0x07}, {0x00, 0x01, 0x20, 0x4D}}));

TEST(CMapBuiltin, HeaderValues) {
  struct Row {
    const char* name;
    const char* ordering;
    int supplement;
    int wmode;
    const char* used;
  };
  const Row rows[] = {{"Identity-H", "Identity", 0, 0, ""},     {"Identity-V", "Identity", 0, 1, "Identity-H"},
                      {"90ms-RKSJ-H", "Japan1", 2, 0, ""},      {"90ms-RKSJ-V", "Japan1", 2, 1, "90ms-RKSJ-H"},
                      {"90msp-RKSJ-H", "Japan1", 2, 0, ""},     {"90msp-RKSJ-V", "Japan1", 2, 1, "90msp-RKSJ-H"},
                      {"EUC-H", "Japan1", 1, 0, ""},            {"EUC-V", "Japan1", 0, 1, "EUC-H"},
                      {"UniJIS-UCS2-H", "Japan1", 2, 0, ""},    {"UniJIS-UCS2-V", "Japan1", 2, 1, "UniJIS-UCS2-H"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    CMapFile cmap;
    ASSERT_TRUE(cmap.LoadBuiltin(r.name));
    EXPECT_EQ(cmap.Name(), r.name);
    EXPECT_EQ(cmap.Registry(), "Adobe");
    EXPECT_EQ(cmap.Ordering(), r.ordering);
    EXPECT_EQ(cmap.Supplement(), r.supplement);
    EXPECT_EQ(cmap.WritingMode(), r.wmode);
    EXPECT_EQ(cmap.UsedCMapName(), r.used);
    EXPECT_EQ(cmap.UsedCMap() != nullptr, *r.used != '\0');
    if (cmap.Ordering() == "Japan1") {
      for (const CMapRange& range : cmap.CIDRanges()) ASSERT_LE(range.lastCID, 8719);
    }
  }
  CMapFile unknown;
  EXPECT_FALSE(unknown.LoadBuiltin("90pv-RKSJ-H"));
  EXPECT_FALSE(unknown.LoadBuiltin("90ms-RKSJ-h"));
}

TEST(CMapBuiltin, CodespacesOfHorizontalCMaps) {
  CMapFile sjis;
  ASSERT_TRUE(sjis.LoadBuiltin("90ms-RKSJ-H"));
  ASSERT_EQ(sjis.CodespaceRanges().size(), 4u);
  EXPECT_EQ(sjis.CodespaceRanges()[1].low, 0x8140);
  EXPECT_EQ(sjis.CodespaceRanges()[1].high, 0x9FFC);
  EXPECT_EQ(sjis.CodespaceRanges()[1].length, 2);
  EXPECT_EQ(sjis.CodespaceRanges()[2].length, 1);
  ASSERT_EQ(sjis.NotdefRanges().size(), 1u);
  EXPECT_EQ(sjis.NotdefRanges()[0].firstCID, 231);
  CMapFile uni;
  ASSERT_TRUE(uni.LoadBuiltin("UniJIS-UCS2-H"));
  ASSERT_EQ(uni.CodespaceRanges().size(), 2u);
  EXPECT_EQ(uni.CodespaceRanges()[0].high, 0xD7FF);
  EXPECT_EQ(uni.CodespaceRanges()[1].low, 0xE000);
}

TEST(CMapConversion, CIDsBackToCodes) {
  CMapFile cmap;
  ASSERT_TRUE(cmap.LoadBuiltin("90ms-RKSJ-V"));
  // 264 -> 41 (one byte, through the used CMap), 7887 -> 8141, 843 -> 82A0.
  EXPECT_EQ(ToCode(cmap, {0x01, 0x08, 0x1E, 0xCF, 0x03, 0x4B}), (Bytes{0x41, 0x81, 0x41, 0x82, 0xA0}));
  // An unmapped CID (9000) is skipped; an odd trailing byte is ignored.
  EXPECT_EQ(ToCode(cmap, {0x23, 0x28, 0x01, 0x08, 0x03}), (Bytes{0x41}));
}

TEST(CMapConversion, OutputLimitIsKept) {
  CMapFile cmap;
  ASSERT_TRUE(cmap.LoadBuiltin("90ms-RKSJ-H"));
  Bytes codes{0x41, 0x42, 0x43};
  unsigned char out[5] = {0, 0, 0, 0, 0xAA};
  EXPECT_EQ(cmap.CodeToCID(out, 3, codes.data(), codes.size()), 2u);
  EXPECT_EQ(out[4], 0xAA);
  unsigned char code[3] = {0, 0, 0xAA};
  Bytes cids{0x03, 0x4B};  // needs two bytes
  EXPECT_EQ(cmap.CIDToCode(code, 1, cids.data(), cids.size()), 0u);
  EXPECT_EQ(code[2], 0xAA);
}

const char kToUnicodeBody[] =
    "/CIDInit /ProcSet findresource begin\n"
    "begincmap\n"
    "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
    "/CMapName /Adobe-Identity-UCS def\n"
    "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
    "2 beginbfchar\n<20> <0041>\n<0003> <3042>\nendbfchar\n"
    "1 beginbfrange\n<0010> <0012> <0061>\nendbfrange\n"
    "endcmap\n";

TEST(CMapParse, HeaderRequiredOnlyWithoutSkipFlag) {
  std::string body = kToUnicodeBody;
  CMapFile encoding;
  EXPECT_FALSE(encoding.LoadData(body.data(), body.size(), false));
  CMapFile toUnicode;
  ASSERT_TRUE(toUnicode.LoadData(body.data(), body.size(), true));
  EXPECT_EQ(toUnicode.Name(), "Adobe-Identity-UCS");
  EXPECT_EQ(toUnicode.Registry(), "Adobe");
  EXPECT_EQ(toUnicode.Ordering(), "UCS");
  std::string withHeader = std::string(CMapFile::kHeader) + "\r\n" + body;
  CMapFile both;
  EXPECT_TRUE(both.LoadData(withHeader.data(), withHeader.size(), false));
  EXPECT_EQ(both.BFChars().size(), 2u);
  std::string wrongHeader = "%!PS-Adobe-3.0 Resource-CMap \n" + body;
  EXPECT_FALSE(both.LoadData(wrongHeader.data(), wrongHeader.size(), false));
  EXPECT_FALSE(both.LoadData("", 0, false));
}

TEST(CMapParse, BFEntriesAndUnicodeConversions) {
  std::string body = kToUnicodeBody;
  CMapFile cmap;
  ASSERT_TRUE(cmap.LoadData(body.data(), body.size(), true));
  ASSERT_EQ(cmap.BFChars().size(), 2u);
  // A one-byte source counts as that byte followed by 00.
  EXPECT_EQ(cmap.BFChars()[0].low, 0x2000);
  EXPECT_EQ(cmap.BFChars()[0].firstDest, 0x0041);
  ASSERT_EQ(cmap.BFRanges().size(), 1u);
  EXPECT_EQ(cmap.BFRanges()[0].lastDest, 0x0063);

  Bytes codes{0x20, 0x00, 0x00, 0x11, 0x00, 0x03, 0x00, 0x04, 0x00, 0x10};
  Bytes out(codes.size());
  out.resize(cmap.CodeToUnicode(out.data(), out.size(), codes.data(), codes.size()));
  // 0004 is unmapped: the conversion stops there.
  EXPECT_EQ(out, (Bytes{0x00, 0x41, 0x00, 0x62, 0x30, 0x42}));

  // The reverse skips unmapped values and ignores an odd trailing byte.
  Bytes text{0x00, 0x63, 0x12, 0x34, 0x30, 0x42, 0x00};
  Bytes back(text.size());
  back.resize(cmap.UnicodeToCode(back.data(), back.size(), text.data(), text.size()));
  EXPECT_EQ(back, (Bytes{0x00, 0x12, 0x00, 0x03}));
}

TEST(CMapParse, EntriesTitleAndHeaderValues) {
  std::string text = std::string(CMapFile::kHeader) +
                     "\n%%Title: (Test-H Acme Roman 3)\n"
                     "% a comment with begincidrange in it\n"
                     "/CMapName /Named#2DH def\n"
                     "/CMapVersion 11.006 def\n"
                     "/WMode 1 def\n"
                     "/CMapType 1\n"
                     "3 begincidrange\n"
                     "<20> <7e> 1\n"
                     "<8140> <41> 500\n"          // codes of different lengths: unusable
                     "<8141> <8150>\n"            // incomplete: dropped
                     "600\n"
                     "<8160> <8170> 700 endcidrange\n"
                     "<90> <90> 5\n"              // outside a block: ignored
                     "%%EOF\n"
                     "1 begincidrange\n<91> <91> 6\nendcidrange\n";
  CMapFile cmap;
  ASSERT_TRUE(cmap.LoadData(text.data(), text.size(), false));
  EXPECT_EQ(cmap.Name(), "Named-H");
  EXPECT_EQ(cmap.Registry(), "Acme");
  EXPECT_EQ(cmap.Ordering(), "Roman");
  EXPECT_EQ(cmap.Supplement(), 3);
  EXPECT_EQ(cmap.Version(), 11);
  EXPECT_EQ(cmap.WritingMode(), 1);
  ASSERT_EQ(cmap.CIDRanges().size(), 3u);
  EXPECT_EQ(cmap.CIDRanges()[1].length, 0);
  EXPECT_EQ(cmap.CIDRanges()[2].firstCID, 700);
  EXPECT_EQ(cmap.CIDRanges()[2].lastCID, 716);
  EXPECT_EQ(ToCID(cmap, {0x81, 0x65}), (Bytes{0x02, 0xC1}));
  EXPECT_TRUE(ToCID(cmap, {0x81, 0x40}).empty());
  EXPECT_TRUE(ToCID(cmap, {0x90}).empty());
  EXPECT_TRUE(ToCID(cmap, {0x91}).empty());
}

TEST(CMapParse, CIDSystemInfoReplacesTitleOnlyWhenComplete) {
  std::string head = std::string(CMapFile::kHeader) + "\n%%Title: (T-H Adobe Japan1 1)\n";
  std::string complete = head + "/Registry (Ad\\(o\\)be) def /Ordering (Korea1) def /Supplement 2 def\n";
  CMapFile a;
  ASSERT_TRUE(a.LoadData(complete.data(), complete.size(), false));
  EXPECT_EQ(a.Registry(), "Ad(o)be");
  EXPECT_EQ(a.Ordering(), "Korea1");
  EXPECT_EQ(a.Supplement(), 2);
  std::string partial = head + "/Registry (X) def /Ordering (Y) def\n";
  CMapFile b;
  ASSERT_TRUE(b.LoadData(partial.data(), partial.size(), false));
  EXPECT_EQ(b.Registry(), "Adobe");
  EXPECT_EQ(b.Ordering(), "Japan1");
  EXPECT_EQ(b.Supplement(), 1);
}

TEST(CMapParse, BFRangeWithArrayDestinationIsDropped) {
  std::string text =
      "1 beginbfrange\n<0001> <0002> [<0041> <0042>]\n<0005> <0006> <0061>\nendbfrange\n";
  CMapFile cmap;
  ASSERT_TRUE(cmap.LoadData(text.data(), text.size(), true));
  ASSERT_EQ(cmap.BFRanges().size(), 1u);
  EXPECT_EQ(cmap.BFRanges()[0].low, 0x0005);
}

TEST(CMapUse, UsedCMapFromDirectoryAndCycles) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  const std::string h = std::string(CMapFile::kHeader) + "\n";
  dir.Write("Base-H", h + "1 begincidrange\n<41> <42> 10\nendcidrange\n");
  dir.Write("Top-V", h + "/Base-H usecmap\n1 begincidrange\n<42> <42> 99\nendcidrange\n");
  dir.Write("Self-H", h + "/CMapName /Self-H def\n/Self-H usecmap\n");
  dir.Write("Loop-A", h + "/Loop-B usecmap\n");
  dir.Write("Loop-B", h + "/Loop-C usecmap\n");
  dir.Write("Loop-C", h + "/Loop-A usecmap\n");
  dir.Write("Missing-V", h + "/No-Such-CMap usecmap\n");
  // A file in the directory takes precedence over the built-in of the same name.
  dir.Write("90ms-RKSJ-H", h + "1 begincidrange\n<41> <41> 7\nendcidrange\n");
  CMapDirGuard guard(dir.path() + "/");

  CMapFile top;
  ASSERT_TRUE(top.LoadByName("Top-V"));
  ASSERT_NE(top.UsedCMap(), nullptr);
  EXPECT_EQ(ToCID(top, {0x41, 0x42}), (Bytes{0x00, 0x0A, 0x00, 0x63}));

  CMapFile self, loop, missing;
  EXPECT_FALSE(self.LoadByName("Self-H"));
  EXPECT_FALSE(loop.LoadByName("Loop-A"));
  EXPECT_FALSE(missing.LoadByName("Missing-V"));
  std::string loopText = h + "/CMapName /Loop-B def\n/Loop-C usecmap\n";
  EXPECT_FALSE(loop.LoadData(loopText.data(), loopText.size(), false));

  CMapFile overridden;
  ASSERT_TRUE(overridden.LoadByName("90ms-RKSJ-H"));
  EXPECT_EQ(ToCID(overridden, {0x41}), (Bytes{0x00, 0x07}));
  // The built-in vertical CMap loads its used CMap by name, so it uses the file too.
  CMapFile vertical;
  ASSERT_TRUE(vertical.LoadByName("90ms-RKSJ-V"));
  EXPECT_EQ(ToCID(vertical, {0x81, 0x41, 0x41}), (Bytes{0x1E, 0xCF, 0x00, 0x07}));

  // Names that are paths never reach the file system; unknown names fail.
  CMapFile other;
  EXPECT_FALSE(other.LoadByName("../" + dir.path().substr(dir.path().rfind('/') + 1) + "/Base-H"));
  EXPECT_FALSE(other.LoadByName("Nothing-H"));
}

TEST(CMapUse, BareNameInCurrentDirectoryWithoutCMapDirectory) {
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  dir.Write("Local-H", std::string(CMapFile::kHeader) + "\n1 begincidrange\n<30> <30> 17\nendcidrange\n");
  CMapDirGuard guard("");
  std::string saved = std::filesystem::current_path().string();
  std::filesystem::current_path(dir.path());
  CMapFile local, builtin;
  bool loaded = local.LoadByName("Local-H");
  bool fallback = builtin.LoadByName("EUC-H");
  std::filesystem::current_path(saved);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(ToCID(local, {0x30}), (Bytes{0x00, 0x11}));
  EXPECT_TRUE(fallback);
}

TEST(CMapFileLoad, MissingFileAndDirectory) {
  CMapFile cmap;
  EXPECT_FALSE(cmap.LoadFile("/nonexistent/cmap", false));
  EXPECT_FALSE(cmap.LoadFile("/tmp", true));
}

// Every prefix of a real CMap text, and the text with bytes flipped, must load
// or fail without reading out of bounds; conversions over the result must stay
// within the output buffer.
TEST(CMapRobustness, TruncatedAndDamagedInput) {
  std::string text = std::string(CMapFile::kHeader) + "\n" + kToUnicodeBody +
                     "2 begincidrange\n<8140> <817e> 633\n<20> <7e> 1\nendcidrange\n"
                     "1 beginnotdefrange\n<00> <1f> 1\nendnotdefrange\n";
  Bytes probe{0x81, 0x40, 0x20, 0x41, 0x00, 0x10, 0xFF};
  for (size_t n = 0; n <= text.size(); ++n) {
    std::vector<char> copy(text.begin(), text.begin() + static_cast<long>(n));
    for (int mode = 0; mode < 2; ++mode) {
      CMapFile cmap;
      if (!cmap.LoadData(copy.data(), copy.size(), mode == 1)) continue;
      Bytes out(2 * probe.size());
      ASSERT_LE(cmap.CodeToCID(out.data(), out.size(), probe.data(), probe.size()), out.size());
      ASSERT_LE(cmap.CIDToCode(out.data(), out.size(), probe.data(), probe.size()), out.size());
      ASSERT_LE(cmap.CodeToUnicode(out.data(), out.size(), probe.data(), probe.size()), out.size());
      ASSERT_LE(cmap.UnicodeToCode(out.data(), out.size(), probe.data(), probe.size()), out.size());
    }
    if (n < text.size()) {
      std::string damaged = text;
      damaged[n] = static_cast<char>(damaged[n] ^ 0x5A);
      CMapFile cmap;
      cmap.LoadData(damaged.data(), damaged.size(), true);
    }
  }
  // A line far longer than a line buffer and a huge announced count.
  std::string longLine = std::string(5000, '<') + "\n99999999 begincidrange\n<41> <41> 3\nendcidrange\n";
  CMapFile cmap;
  ASSERT_TRUE(cmap.LoadData(longLine.data(), longLine.size(), true));
  EXPECT_EQ(ToCID(cmap, {0x41}), (Bytes{0x00, 0x03}));
}

}  // namespace
}  // namespace koyo

namespace koyo {
namespace {

// Overlapping ranges: the first one in list order wins, whatever the code order.
TEST(CMapSearch, FirstRangeInListOrderWins) {
  std::string text =
      "5 begincidrange\n"
      "<8140> <8150> 1000\n"
      "<30> <39> 100\n"
      "<81> <81> 2\n"
      "<35> <35> 7\n"
      "<20> <7f> 300\n"
      "endcidrange\n"
      "2 beginbfrange\n<0001> <0010> <0100>\n<0005> <0005> <0041>\nendbfrange\n"
      "1 beginbfchar\n<0005> <0102>\nendbfchar\n";
  CMapFile cmap;
  ASSERT_TRUE(cmap.LoadData(text.data(), text.size(), true));
  EXPECT_EQ(ToCID(cmap, {0x35, 0x3A, 0x81, 0x41}), (Bytes{0x00, 0x69, 0x01, 0x46, 0x03, 0xE9}));
  EXPECT_EQ(ToCID(cmap, {0x81}), (Bytes{0x00, 0x02}));
  // CID 105 lies in 30-39 (from 100) and nowhere else; CID 7 only in 35-35.
  EXPECT_EQ(ToCode(cmap, {0x00, 0x69, 0x00, 0x07}), (Bytes{0x35, 0x35}));
  // bfchars are searched before bfranges.
  Bytes codes{0x00, 0x05, 0x00, 0x06};
  Bytes out(4);
  out.resize(cmap.CodeToUnicode(out.data(), out.size(), codes.data(), codes.size()));
  EXPECT_EQ(out, (Bytes{0x01, 0x02, 0x01, 0x05}));
  Bytes text2{0x01, 0x02, 0x00, 0x41};
  Bytes back(4);
  back.resize(cmap.UnicodeToCode(back.data(), back.size(), text2.data(), text2.size()));
  EXPECT_EQ(back, (Bytes{0x00, 0x05, 0x00, 0x05}));
}

}  // namespace
}  // namespace koyo
