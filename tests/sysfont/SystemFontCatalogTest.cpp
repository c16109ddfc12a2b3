// The catalogue over the fixture fonts written by tools/make_fixture_fonts.py; the
// test environment points fontconfig at a configuration listing only them
// (tests/data/sysfont/fonts.conf.in).
#include "koyo/sysfont/SystemFontCatalog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "koyo/sysfont/CodePage.h"

namespace koyo {
namespace {

struct Expected {
  const char* name;
  uint8_t charSet;
  uint8_t lfPitchAndFamily;
  bool proportional;
  uint8_t first;
  uint8_t last;
  uint8_t panose[10];
  FontBox box;  // left, top, right, bottom
  int32_t ascent;
  int32_t descent;
  int32_t italic;
  std::vector<std::pair<int, int32_t>> widths;  // code -> advance
};

// Values follow from the fixture definitions: font units * 1000 / units per em,
// rounded, e.g. 1400 / 2048 em -> 684, -452 / 2048 -> -221, 1441 / 2000 -> 721.
const Expected kFaces[] = {
    {"Kanafix PGothic", kShiftJisCharSet, 0x22, true, 0x20, 0xDF,
     {2, 11, 6, 3, 0, 0, 0, 0, 0, 0}, {-49, 880, 1025, -221}, 880, -221, 0,
     {{0x20, 250}, {0x41, 684}, {0x42, 600}, {0x5A, 0} /* not mapped */, {0x81, 0} /* lead byte */,
      {0xB1, 500} /* U+FF71 */, {0xDF, 500}}},
    // Monospaced by PANOSE proportion alone.
    {"Kanafix Gothic", kShiftJisCharSet, 0x31, false, 0x20, 0xA1,
     {2, 11, 6, 9, 0, 0, 0, 0, 0, 0}, {0, 859, 1000, -141}, 859, -141, 0,
     {{0x20, 500}, {0x41, 500}, {0x42, 0}, {0xA1, 500}}},
    {"Kanafix Sans Italic", kAnsiCharSet, 0x12, true, 0x21, 0xFF,
     {2, 2, 5, 3, 0, 0, 0, 0, 0, 0}, {-50, 900, 950, -200}, 900, -200, -11,
     {{0x21, 300}, {0x41, 650}, {0x80, 556} /* euro */, {0x81, 0}, {0xFF, 480}}},
    // Code pages 1252 and 932: kept as Shift-JIS, so 0xA5 is U+FF65, not U+00A5 (900).
    {"Kanafix Dual", kShiftJisCharSet, 0x31, false, 0x41, 0xDF,
     {2, 2, 6, 9, 0, 0, 0, 0, 0, 0}, {-10, 880, 1010, -120}, 880, -120, 0,
     {{0x41, 600}, {0xA5, 333}, {0xDF, 500}}},
    // Mac Roman; fixed pitch by the post table. 0xA5 is the bullet (350), not U+00A5 (610).
    {"Kanafix Mac", kMacCharSet, 0x31, false, 0x41, 0xB4,
     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 750, 600, -250}, 750, -250, 0,
     {{0x41, 700}, {0xA5, 350}, {0xB4, 610}}},
    // The two faces of a collection, each with its own metrics.
    {"Kanafix Collection Mincho", kShiftJisCharSet, 0x31, false, 0x20, 0xA1,
     {2, 2, 6, 0, 0, 0, 0, 0, 0, 0}, {-20, 880, 1000, -120}, 880, -120, 0,
     {{0x20, 500}, {0x41, 500}, {0xA1, 500}}},
    {"Kanafix Collection PMincho", kShiftJisCharSet, 0x12, true, 0x20, 0xA1,
     {2, 2, 6, 3, 0, 0, 0, 0, 0, 0}, {-20, 880, 1000, -120}, 880, -120, 0,
     {{0x20, 250}, {0x41, 721}, {0xA1, 500}}},
};

TEST(SystemFontCatalog, RecordsCarryTheFaceMetrics) {
  SystemFontCatalog catalog;
  for (const Expected& e : kFaces) {
    SCOPED_TRACE(e.name);
    TrueTypeInfo* info = catalog.GetTrueTypeInfo(e.name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->fullName, e.name);
    EXPECT_EQ(info->lfCharSet, e.charSet);
    EXPECT_EQ(info->lfPitchAndFamily, e.lfPitchAndFamily);
    EXPECT_EQ((info->tmPitchAndFamily & 1) != 0, e.proportional);
    EXPECT_EQ(info->tmFirstChar, e.first);
    EXPECT_EQ(info->tmLastChar, e.last);
    EXPECT_EQ(0, std::memcmp(info->otmPanoseNumber, e.panose, 10));
    EXPECT_EQ(info->otmrcFontBox.left, e.box.left);
    EXPECT_EQ(info->otmrcFontBox.top, e.box.top);
    EXPECT_EQ(info->otmrcFontBox.right, e.box.right);
    EXPECT_EQ(info->otmrcFontBox.bottom, e.box.bottom);
    EXPECT_EQ(info->otmMacAscent, e.ascent);
    EXPECT_EQ(info->otmMacDescent, e.descent);
    EXPECT_EQ(info->otmItalicAngle, e.italic);
    EXPECT_FALSE(info->HasWidths());  // a lookup does not read widths
    for (const auto& [code, width] : e.widths) {
      const ABC* abc = info->GetCharABC(code);
      ASSERT_NE(abc, nullptr) << "code " << code;
      EXPECT_EQ(abc->abcA + abc->abcB + abc->abcC, width) << "code " << code;
    }
    EXPECT_EQ(info->GetCharABC(e.first - 1), nullptr);
    EXPECT_EQ(info->GetCharABC(e.last + 1), nullptr);
  }
}

TEST(SystemFontCatalog, FindsAFaceByEveryName) {
  SystemFontCatalog catalog;
  TrueTypeInfo* pgothic = catalog.GetTrueTypeInfo("KanafixPGothic");
  ASSERT_NE(pgothic, nullptr);
  EXPECT_EQ(pgothic->fullName, "Kanafix PGothic");
  const char* sameFace[] = {
      "Kanafix PGothic",
      "Kanafix PGothic,Bold",
      " Kanafix  PGothic ,Italic",
      // Japanese full name in Shift-JIS, with and without its space.
      "\x83\x4A\x83\x69\x83\x74\x83\x42\x83\x4E\x83\x58\x20\x50\x83\x53\x83\x56\x83\x62\x83\x4E",
      "\x83\x4A\x83\x69\x83\x74\x83\x42\x83\x4E\x83\x58\x50\x83\x53\x83\x56\x83\x62\x83\x4E,Bold",
  };
  for (const char* name : sameFace) EXPECT_EQ(catalog.GetTrueTypeInfo(name), pgothic) << name;

  TrueTypeInfo* pmincho = catalog.GetTrueTypeInfo("Kanafix Collection PMincho");
  ASSERT_NE(pmincho, nullptr);
  EXPECT_EQ(catalog.GetTrueTypeInfo("KanafixCollectionPMincho"), pmincho);
  EXPECT_EQ(catalog.GetTrueTypeInfo("\x83\x4A\x83\x69\x83\x74\x83\x42\x83\x4E\x83\x58\x50\x96\xBE\x92\xA9"),
            pmincho);

  const char* unknown[] = {"kanafix pgothic", "KanafixPGothicRegular", "Kanafix", "", "Courier"};
  for (const char* name : unknown) EXPECT_EQ(catalog.GetTrueTypeInfo(name), nullptr) << name;
  EXPECT_EQ(catalog.GetTrueTypeInfo(nullptr), nullptr);
  EXPECT_EQ(catalog.GetTrueTypeInfo(std::string(300, 'K').c_str()), nullptr);
}

TEST(SystemFontCatalog, FirstKeptFaceClaimsAName) {
  SystemFontCatalog catalog;
  // "KanafixPGothic" is also the full name of a Korean-only face and the PostScript
  // name of a bare CFF program, both earlier in path order; neither is kept.
  TrueTypeInfo* pgothic = catalog.GetTrueTypeInfo("KanafixPGothic");
  ASSERT_NE(pgothic, nullptr);
  EXPECT_EQ(pgothic->lfCharSet, kShiftJisCharSet);
  EXPECT_EQ(pgothic->fullName, "Kanafix PGothic");
  EXPECT_EQ(catalog.GetTrueTypeInfo("KanafixHangul"), nullptr);

  // A bitmap font calls itself "KanafixGothic" too; only the TrueType face counts.
  TrueTypeInfo* gothic = catalog.GetTrueTypeInfo("KanafixGothic");
  ASSERT_NE(gothic, nullptr);
  EXPECT_EQ(gothic->fullName, "Kanafix Gothic");

  // Two kept faces: the sans face's PostScript name is the dual face's full name;
  // the dual face comes first and keeps it, the sans face keeps its own full name.
  TrueTypeInfo* dual = catalog.GetTrueTypeInfo("KanafixDual");
  ASSERT_NE(dual, nullptr);
  EXPECT_EQ(dual->fullName, "Kanafix Dual");
  TrueTypeInfo* sans = catalog.GetTrueTypeInfo("Kanafix Sans Italic");
  ASSERT_NE(sans, nullptr);
  EXPECT_NE(sans, dual);
}

TEST(SystemFontCatalog, ReadsOnlyTheFilesOfNamesLookedUp) {
  SystemFontCatalog catalog;
  ASSERT_NE(catalog.GetTrueTypeInfo("Kanafix Gothic"), nullptr);
  // Every sfnt candidate is listed (the bitmap font is not), but only the one face
  // named was opened.
  EXPECT_EQ(catalog.FaceCount(), 9u);
  EXPECT_EQ(catalog.FacesRead(), 1u);
  // Three faces carry this name; each is read once, however often it is asked for.
  ASSERT_NE(catalog.GetTrueTypeInfo("Kanafix PGothic"), nullptr);
  EXPECT_EQ(catalog.FacesRead(), 4u);
  ASSERT_NE(catalog.GetTrueTypeInfo("KanafixPGothic"), nullptr);
  EXPECT_EQ(catalog.GetTrueTypeInfo("KanafixHangul"), nullptr);
  EXPECT_EQ(catalog.FacesRead(), 4u);
}

TEST(SystemFontCatalog, WidthsAreReadOnceAndOnlyInRange) {
  SystemFontCatalog catalog;
  TrueTypeInfo* info = catalog.GetTrueTypeInfo("Kanafix Gothic");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->GetCharABC(info->tmLastChar + 1), nullptr);
  EXPECT_EQ(info->GetCharABC(-1), nullptr);
  EXPECT_EQ(info->GetCharABC(0x10000), nullptr);
  EXPECT_FALSE(info->HasWidths());
  const ABC* a = info->GetCharABC(0x41);
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(info->HasWidths());
  EXPECT_EQ(info->GetCharABC(0x41), a);  // served from the table, not rebuilt
}

struct Substitute {
  const char* name;
  FontBox box;
  int32_t ascent;
  int32_t descent;
  uint8_t panose[10];
};

TEST(SystemFontCatalog, HeiseiSubstitutes) {
  const Substitute substitutes[] = {
      {"HeiseiMin-W3", {-123, 910, 1001, -257}, 723, -241, {0x01, 0x05, 0x02, 0x02, 0x04, 0, 0, 0, 0, 0}},
      {"HeiseiKakuGo-W5", {-92, 922, 1010, -250}, 752, -221, {0x08, 0x01, 0x02, 0x0B, 0x06, 0, 0, 0, 0, 0}},
  };
  SystemFontCatalog catalog;
  for (const Substitute& s : substitutes) {
    SCOPED_TRACE(s.name);
    TrueTypeInfo* info = catalog.GetTrueTypeInfo(s.name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->lfCharSet, kShiftJisCharSet);
    EXPECT_EQ(info->fullName, s.name);
    EXPECT_EQ(info->lfPitchAndFamily, 0);
    EXPECT_EQ(info->tmPitchAndFamily, 0);
    EXPECT_EQ(info->tmFirstChar, 0);
    EXPECT_EQ(info->tmLastChar, 0);
    EXPECT_EQ(info->otmrcFontBox.left, s.box.left);
    EXPECT_EQ(info->otmrcFontBox.top, s.box.top);
    EXPECT_EQ(info->otmrcFontBox.right, s.box.right);
    EXPECT_EQ(info->otmrcFontBox.bottom, s.box.bottom);
    EXPECT_EQ(info->otmMacAscent, s.ascent);
    EXPECT_EQ(info->otmMacDescent, s.descent);
    EXPECT_EQ(info->otmItalicAngle, 0);
    EXPECT_EQ(0, std::memcmp(info->otmPanoseNumber, s.panose, 10));
    // Only code 0 has a width, and it is zero: there is no font file behind it.
    const ABC* zero = info->GetCharABC(0);
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->abcA + zero->abcB + zero->abcC, 0);
    EXPECT_EQ(info->GetCharABC(1), nullptr);
    EXPECT_EQ(catalog.GetTrueTypeInfo(s.name), info);  // created once
  }
  const char* notSubstitutes[] = {"heiseimin-w3", "HEISEIKAKUGO-W5", "HeiseiMin-W3,Bold", "Heisei Min-W3",
                                  "HeiseiMin-W5"};
  SystemFontCatalog fresh;
  for (const char* name : notSubstitutes) EXPECT_EQ(fresh.GetTrueTypeInfo(name), nullptr) << name;
}

}  // namespace
}  // namespace koyo
