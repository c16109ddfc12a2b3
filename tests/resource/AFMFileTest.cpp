#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "koyo/platform/ProcessDirs.h"
#include "koyo/resource/AFMFile.h"
#include "koyo/resource/ResourceCache.h"

namespace koyo {
namespace {

const char kSmallAFM[] =
    "StartFontMetrics 4.1\n"
    "Comment a test font\n"
    "  FontName Test-Regular\n"
    "FullName Test Regular\n"
    "FontBBox -166 -225 1000 931\n"
    "ItalicAngle -12.5\n"
    "IsFixedPitch true\n"
    "CharacterSet ExtendedRoman\n"
    "Characters 3\n"
    "StdVW 88\n"
    "stemV 70\n"
    "StartCharMetrics 3\n"
    "C 32 ; WX 278 ; N space ; B 0 0 0 0 ;\n"
    "% a comment inside the metrics\n"
    "C -1 ; W0X 500 ; N Aring ; B 1 2 3 4 ; L A Aring ;\n"
    "CH <41> ; W 600 10 ; VV 300 880 ; N A ;\n"
    "EndCharMetrics\n"
    "Ascender 718\n"
    "EndFontMetrics\n"
    "Descender -207\n";

bool Parse(AFMFile& afm, const std::string& text) { return afm.LoadData(text.data(), text.size()); }

TEST(AFMParse, GlobalValuesAndGlyphs) {
  AFMFile afm;
  ASSERT_TRUE(Parse(afm, kSmallAFM));
  EXPECT_EQ(afm.fontName, "Test-Regular");
  EXPECT_EQ(afm.fullName, "Test Regular");
  EXPECT_EQ(afm.fontBBox[0], -166);
  EXPECT_EQ(afm.fontBBox[3], 931);
  EXPECT_EQ(afm.italicAngle, -12);
  EXPECT_TRUE(afm.isFixedPitch);
  EXPECT_EQ(afm.characterSet, "ExtendedRoman");
  EXPECT_EQ(afm.characters, 3);
  EXPECT_EQ(afm.stdVW, 88);
  EXPECT_EQ(afm.stemV, 70);
  EXPECT_EQ(afm.ascender, 718);   // back in the global section after the metrics
  EXPECT_EQ(afm.descender, 0);    // after EndFontMetrics: not read
  ASSERT_EQ(afm.GlyphsByName().size(), 3u);
  const AFMGlyphMetric* space = afm.GlyphByName("space");
  ASSERT_NE(space, nullptr);
  EXPECT_EQ(space->code, 32);
  EXPECT_EQ(space->wx, 278);
  const AFMGlyphMetric* aring = afm.GlyphByName("Aring");
  ASSERT_NE(aring, nullptr);
  EXPECT_EQ(aring->code, -1);
  EXPECT_EQ(aring->wx, 500);
  EXPECT_EQ(aring->bbox[3], 4);
  const AFMGlyphMetric* a = afm.GlyphByName("A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->code, 0x41);
  EXPECT_EQ(a->wx, 600);
  EXPECT_EQ(a->wy, 10);
  EXPECT_EQ(a->vv[1], 880);
  EXPECT_EQ(afm.GlyphByName("B"), nullptr);
}

TEST(AFMParse, RefusedFiles) {
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"comment first", "Comment x\nStartFontMetrics 4.1\nFontName A\nFontBBox 0 0 1 1\n"},
      {"no font name", "StartFontMetrics 4.1\nFontBBox 0 0 1 1\n"},
      {"zero font box", "StartFontMetrics 4.1\nFontName A\nFontBBox 0 0 0 0\n"},
      {"glyph without name",
       "StartFontMetrics 4.1\nFontName A\nFontBBox 0 0 1 1\nStartCharMetrics 1\nC 32 ; WX 250 ;\n"},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    AFMFile afm;
    EXPECT_FALSE(Parse(afm, c.text)) << c.what;
  }
  AFMFile ok;
  EXPECT_TRUE(Parse(ok, "StartFontMetrics 2.0\r\nFontName A\r\nFontBBox 0 0 1 1\r\n"));
}

TEST(AFMParse, CIDKeyedGlyphs) {
  AFMFile afm;
  ASSERT_TRUE(Parse(afm,
                    "StartFontMetrics 4.1\nFontName X-W3\nFontBBox -1 -2 3 4\nIsCIDFont true\n"
                    "StartCharMetrics 2\nC -1 ; W0X 1000 ; N 0 ;\nC -1 ; W0X 250 ; N 1 ;\nEndCharMetrics\n"));
  EXPECT_TRUE(afm.isCIDFont);
  EXPECT_TRUE(afm.GlyphsByName().empty());
  ASSERT_NE(afm.GlyphByCID(1), nullptr);
  EXPECT_EQ(afm.GlyphByCID(1)->wx, 250);
  EXPECT_EQ(afm.GlyphByCID(2), nullptr);
}

TEST(AFMRobustness, TruncatedAndDamagedInput) {
  std::string text = kSmallAFM;
  for (size_t n = 0; n <= text.size(); ++n) {
    AFMFile afm;
    afm.LoadData(text.data(), n);
    if (n < text.size()) {
      std::string damaged = text;
      damaged[n] = static_cast<char>(damaged[n] ^ 0x3C);
      afm.LoadData(damaged.data(), damaged.size());
    }
  }
  std::string huge = "StartFontMetrics 1\nFontName A\nFontBBox 99999999999 -99999999999 1 1\n" +
                     std::string(3000, 'x') + "\n";
  AFMFile afm;
  ASSERT_TRUE(Parse(afm, huge));
  EXPECT_EQ(afm.fontBBox[0], 32767);
  EXPECT_EQ(afm.fontBBox[1], -32768);
}

TEST(AFMBuiltin, StandardFonts) {
  struct Case {
    const char* name;
    int spaceWidth;
    const char* encoding;
    size_t glyphs;
  };
  const Case cases[] = {
      {"Courier", 600, "AdobeStandardEncoding", 315},       {"Courier-BoldOblique", 600, "AdobeStandardEncoding", 315},
      {"Helvetica", 278, "AdobeStandardEncoding", 315},     {"Helvetica-Bold", 278, "AdobeStandardEncoding", 315},
      {"Times-Roman", 250, "AdobeStandardEncoding", 315},   {"Times-BoldItalic", 250, "AdobeStandardEncoding", 315},
      {"Symbol", 250, "FontSpecific", 190},                 {"ZapfDingbats", 278, "FontSpecific", 202},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AFMFile afm;
    ASSERT_TRUE(afm.LoadBuiltin(c.name));
    EXPECT_EQ(afm.fontName, c.name);
    EXPECT_EQ(afm.encodingScheme, c.encoding);
    EXPECT_EQ(afm.GlyphsByName().size(), c.glyphs);
    ASSERT_NE(afm.GlyphByName("space"), nullptr);
    EXPECT_EQ(afm.GlyphByName("space")->wx, c.spaceWidth);
    EXPECT_EQ(afm.GlyphByName("space")->code, 32);
  }

  AFMFile courier;
  ASSERT_TRUE(courier.LoadBuiltin("Courier"));
  EXPECT_EQ(courier.ascender, 629);
  EXPECT_EQ(courier.descender, -157);
  EXPECT_EQ(courier.underlinePosition, -100);
  EXPECT_EQ(courier.underlineThickness, 50);
  EXPECT_TRUE(courier.isFixedPitch);
  EXPECT_EQ(courier.stdHW, 51);
  EXPECT_EQ(courier.stdVW, 51);
  EXPECT_EQ(courier.version, "003.000");
  ASSERT_NE(courier.GlyphByName("quoteright"), nullptr);
  EXPECT_EQ(courier.GlyphByName("quoteright")->code, 39);
  EXPECT_EQ(courier.GlyphByName("quoteright")->bbox[0], 213);

  AFMFile helvetica;
  ASSERT_TRUE(helvetica.LoadBuiltin("Helvetica"));
  const int box[4] = {-166, -225, 1000, 931};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(helvetica.fontBBox[k], box[k]);
  EXPECT_EQ(helvetica.capHeight, 718);
  EXPECT_EQ(helvetica.xHeight, 523);
  EXPECT_EQ(helvetica.ascender, 718);
  EXPECT_EQ(helvetica.descender, -207);
  EXPECT_EQ(helvetica.stdHW, 76);
  EXPECT_EQ(helvetica.stdVW, 88);
  EXPECT_EQ(helvetica.version, "002.000");
  EXPECT_FALSE(helvetica.isFixedPitch);

  AFMFile oblique;
  ASSERT_TRUE(oblique.LoadBuiltin("Helvetica-Oblique"));
  EXPECT_EQ(oblique.italicAngle, -12);
  AFMFile dingbats;
  ASSERT_TRUE(dingbats.LoadBuiltin("ZapfDingbats"));
  EXPECT_EQ(dingbats.fullName, "ITC Zapf Dingbats");
  AFMFile symbol;
  ASSERT_TRUE(symbol.LoadBuiltin("Symbol"));
  EXPECT_EQ(symbol.version, "001.008");

  AFMFile none;
  EXPECT_FALSE(none.LoadBuiltin("Arial"));
}

TEST(AFMBuiltin, HeiseiFonts) {
  AFMFile min;
  ASSERT_TRUE(min.LoadBuiltin("HeiseiMin-W3"));
  EXPECT_EQ(min.weight, "W3");
  const int box[4] = {-123, -257, 1001, 910};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(min.fontBBox[k], box[k]);
  EXPECT_EQ(min.version, "3.010");
  EXPECT_EQ(min.characterSet, "Adobe-Japan1-2");
  EXPECT_EQ(min.characters, 8720);
  EXPECT_TRUE(min.isBaseFont);
  EXPECT_TRUE(min.isCIDFont);
  EXPECT_EQ(min.capHeight, 910);
  EXPECT_EQ(min.ascender, 910);
  EXPECT_EQ(min.descender, -257);
  EXPECT_EQ(min.underlinePosition, -100);
  EXPECT_EQ(min.underlineThickness, 50);
  EXPECT_EQ(min.italicAngle, 0);
  EXPECT_TRUE(min.GlyphsByName().empty());
  ASSERT_EQ(min.GlyphsByCID().size(), 8720u);
  EXPECT_EQ(min.GlyphByCID(0)->wx, 1000);
  EXPECT_EQ(min.GlyphByCID(1)->wx, 250);     // space
  EXPECT_EQ(min.GlyphByCID(34)->wx, 722);    // A
  EXPECT_EQ(min.GlyphByCID(231)->wx, 500);   // half-width forms
  EXPECT_EQ(min.GlyphByCID(843)->wx, 1000);  // a kana at the default width
  EXPECT_EQ(min.GlyphByCID(8719)->wx, 1000);
  EXPECT_EQ(min.GlyphByCID(8720), nullptr);

  AFMFile go;
  ASSERT_TRUE(go.LoadBuiltin("HeiseiKakuGo-W5"));
  EXPECT_EQ(go.weight, "W5");
  EXPECT_EQ(go.version, "3.010");
  EXPECT_EQ(go.characterSet, "Adobe-Japan1-2");
  ASSERT_EQ(go.GlyphsByCID().size(), 8720u);
  EXPECT_EQ(go.GlyphByCID(1)->wx, 277);
  EXPECT_EQ(go.GlyphByCID(632)->wx, 500);
  EXPECT_EQ(go.GlyphByCID(633)->wx, 1000);
}

class AFMDirs : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "afmtestXXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directory(root_ + "/metrics");
    std::filesystem::create_directory(root_ + "/afm");
    savedAFM_ = platform::ProcessAFMDirectory();
  }
  void TearDown() override {
    platform::SetProcessAFMDirectory(savedAFM_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  void Write(const std::string& path, const std::string& text) {
    std::ofstream(root_ + "/" + path, std::ios::binary) << text;
  }
  static std::string Font(const std::string& name, int spaceWidth) {
    return "StartFontMetrics 4.1\nFontName " + name + "\nFontBBox 0 0 500 500\nStartCharMetrics 1\nC 32 ; WX " +
           std::to_string(spaceWidth) + " ; N space ;\nEndCharMetrics\nEndFontMetrics\n";
  }
  std::string root_;
  std::string savedAFM_;
};

TEST_F(AFMDirs, MetricsDirectoryIsScannedByFontName) {
  Write("metrics/one.txt", Font("Scanned-One", 111));
  Write("metrics/two", Font("Courier", 222));  // takes the place of the built-in
  std::filesystem::create_directory(root_ + "/metrics/sub");
  ResourceCache cache(root_ + "/metrics");
  AFMFile* one = cache.GetAFM("Scanned-One");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->GlyphByName("space")->wx, 111);
  ASSERT_NE(cache.GetAFM("Courier"), nullptr);
  EXPECT_EQ(cache.GetAFM("Courier")->GlyphByName("space")->wx, 222);
  EXPECT_EQ(cache.GetAFM("Scanned-One"), one);
  EXPECT_EQ(cache.GetAFM("Helvetica")->GlyphByName("space")->wx, 278);
  EXPECT_EQ(cache.GetAFM("NoSuchFont"), nullptr);
}

TEST_F(AFMDirs, BadFileInMetricsDirectoryFailsTheScanningCall) {
  Write("metrics/a-bad", "this is not a metrics file\n");
  Write("metrics/b-good", Font("Good-Font", 333));
  ResourceCache cache(root_ + "/metrics");
  // The bad file comes first: nothing is cached, so every call scans and fails.
  EXPECT_EQ(cache.GetAFM("Courier"), nullptr);
  EXPECT_EQ(cache.GetAFM("Good-Font"), nullptr);

  std::filesystem::remove(root_ + "/metrics/a-bad");
  Write("metrics/c-bad", "StartFontMetrics\n");
  ResourceCache later(root_ + "/metrics");
  // The good file is kept; this call fails, the next ones find the cache filled.
  EXPECT_EQ(later.GetAFM("Good-Font"), nullptr);
  ASSERT_NE(later.GetAFM("Good-Font"), nullptr);
  EXPECT_NE(later.GetAFM("Courier"), nullptr);
}

TEST_F(AFMDirs, AFMDirectoryByNameBeforeBuiltin) {
  Write("afm/Courier.afm", Font("Courier", 444));
  Write("afm/Broken.afm", "StartFontMetrics\nFontName Broken\n");
  platform::SetProcessAFMDirectory(root_ + "/afm/");
  AFMFile courier;
  ASSERT_TRUE(courier.LoadByName("Courier"));
  EXPECT_EQ(courier.GlyphByName("space")->wx, 444);
  AFMFile times;
  ASSERT_TRUE(times.LoadByName("Times-Roman"));
  EXPECT_EQ(times.GlyphByName("space")->wx, 250);
  AFMFile broken;
  EXPECT_FALSE(broken.LoadByName("Broken"));
  EXPECT_FALSE(broken.LoadFile(root_ + "/afm/missing.afm"));
}

}  // namespace
}  // namespace koyo
