// The catalogue over the machine's own fonts: the IPA fonts (Debian package
// fonts-ipafont) must be installed.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "koyo/sysfont/CodePage.h"
#include "koyo/sysfont/SystemFontCatalog.h"

namespace koyo {
namespace {

// The file of the font whose full name is `fullName`, found through fontconfig.
std::string FontFile(const char* fullName) {
  std::string file;
  FcConfig* config = FcInitLoadConfigAndFonts();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FULLNAME, reinterpret_cast<const FcChar8*>(fullName));
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, static_cast<char*>(nullptr));
  FcFontSet* fonts = FcFontList(config, pattern, objects);
  FcChar8* value = nullptr;
  if (fonts && fonts->nfont > 0 && FcPatternGetString(fonts->fonts[0], FC_FILE, 0, &value) == FcResultMatch) {
    file = reinterpret_cast<const char*>(value);
  }
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return file;
}

// Advance of `c` in thousandths of an em, read with FreeType directly.
double AdvanceInThousandths(const std::string& file, FT_ULong c) {
  FT_Library library;
  FT_Face face;
  EXPECT_EQ(FT_Init_FreeType(&library), 0);
  EXPECT_EQ(FT_New_Face(library, file.c_str(), 0, &face), 0);
  FT_Fixed advance = 0;
  EXPECT_EQ(FT_Get_Advance(face, FT_Get_Char_Index(face, c), FT_LOAD_NO_SCALE, &advance), 0);
  const double result = advance * 1000.0 / face->units_per_EM;
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return result;
}

TEST(InstalledIpaFonts, GothicIsShiftJisAndMonospaced) {
  SystemFontCatalog catalog;
  TrueTypeInfo* gothic = catalog.GetTrueTypeInfo("IPAGothic");
  ASSERT_NE(gothic, nullptr) << "is fonts-ipafont installed?";
  EXPECT_EQ(gothic->lfCharSet, kShiftJisCharSet);
  EXPECT_EQ(gothic->lfPitchAndFamily & 1, 1);
  EXPECT_EQ(gothic->tmPitchAndFamily & 1, 0);
  const ABC* a = gothic->GetCharABC('A');
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->abcA + a->abcB + a->abcC, 500);  // half-width in a monospaced Japanese face
  // Found by its Japanese name "IPAゴシック" in Shift-JIS as well.
  EXPECT_EQ(catalog.GetTrueTypeInfo("IPA\x83\x53\x83\x56\x83\x62\x83\x4E"), gothic);
}

TEST(InstalledIpaFonts, PGothicIsProportionalWithScaledWidths) {
  SystemFontCatalog catalog;
  TrueTypeInfo* pgothic = catalog.GetTrueTypeInfo("IPAPGothic");
  ASSERT_NE(pgothic, nullptr) << "is fonts-ipafont installed?";
  EXPECT_EQ(pgothic->lfCharSet, kShiftJisCharSet);
  EXPECT_EQ(pgothic->lfPitchAndFamily & 1, 0);
  EXPECT_EQ(pgothic->tmPitchAndFamily & 1, 1);

  const std::string file = FontFile("IPAPGothic");
  ASSERT_FALSE(file.empty());
  const ABC* a = pgothic->GetCharABC('A');
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->abcA + a->abcB + a->abcC, std::lround(AdvanceInThousandths(file, 'A')));
  // Half-width katakana "ｱ" (code 0xB1) is U+FF71.
  const ABC* ka = pgothic->GetCharABC(0xB1);
  ASSERT_NE(ka, nullptr);
  EXPECT_EQ(ka->abcA + ka->abcB + ka->abcC, std::lround(AdvanceInThousandths(file, 0xFF71)));
}

}  // namespace
}  // namespace koyo
