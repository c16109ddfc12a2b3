#include <gtest/gtest.h>

#include <string>

#include "koyo/resource/EncodingTable.h"
#include "koyo/resource/ResourceCache.h"

namespace koyo {
namespace {

TEST(EncodingTable, NamedEncodingsTellingCodes) {
  struct Case {
    const char* encoding;
    int code;
    const char* name;
  };
  const Case cases[] = {
      {"StandardEncoding", 39, "quoteright"}, {"StandardEncoding", 96, "quoteleft"},
      {"StandardEncoding", 251, "germandbls"}, {"StandardEncoding", 32, "space"},
      {"WinAnsiEncoding", 39, "quotesingle"}, {"WinAnsiEncoding", 96, "grave"},
      {"WinAnsiEncoding", 128, "Euro"},       {"WinAnsiEncoding", 160, "space"},
      {"MacRomanEncoding", 128, "Adieresis"}, {"MacExpertEncoding", 33, "exclamsmall"},
      {"PDFDocEncoding", 24, "breve"},        {"PDFDocEncoding", 26, "circumflex"},
  };
  for (const Case& c : cases) {
    EncodingTable table;
    ASSERT_TRUE(table.LoadByName(c.encoding));
    std::string name;
    EXPECT_TRUE(table.GetName(static_cast<uint8_t>(c.code), name)) << c.encoding << " " << c.code;
    EXPECT_EQ(name, c.name) << c.encoding << " " << c.code;
  }
}

TEST(EncodingTable, SizesAndRanges) {
  struct Case {
    const char* encoding;
    size_t count;
    int first;
    int last;
  };
  const Case cases[] = {{"StandardEncoding", 149, 32, 251},
                        {"WinAnsiEncoding", 224, 32, 255},
                        {"MacRomanEncoding", 208, 32, 255},
                        {"MacExpertEncoding", 165, 32, 251},
                        {"PDFDocEncoding", 229, 24, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.encoding);
    EncodingTable table;
    ASSERT_TRUE(table.LoadByName(c.encoding));
    EXPECT_EQ(table.Size(), c.count);
    std::string name;
    EXPECT_TRUE(table.GetName(static_cast<uint8_t>(c.first), name));
    EXPECT_TRUE(table.GetName(static_cast<uint8_t>(c.last), name));
    EXPECT_FALSE(table.GetName(static_cast<uint8_t>(c.first - 1), name));
  }
}

TEST(EncodingTable, SyntheticNames) {
  EncodingTable table;
  ASSERT_TRUE(table.LoadByName("StandardEncoding"));
  std::string name;
  EXPECT_FALSE(table.GetName(128, name));
  EXPECT_EQ(name, "G80");
  uint8_t code = 0;
  EXPECT_TRUE(table.GetCode("G4A", code));
  EXPECT_EQ(code, 74);
  EXPECT_TRUE(table.GetCode("quoteright", code));
  EXPECT_EQ(code, 39);
  EXPECT_FALSE(table.GetCode("G4", code));
  EXPECT_FALSE(table.GetCode("G4AX", code));
  EXPECT_FALSE(table.GetCode("GXY", code));
  EXPECT_FALSE(table.GetCode("nosuchglyph", code));
  // A synthetic name the table knows is reported as known.
  table.Set(5, "G80");
  EXPECT_TRUE(table.GetName(128, name));
  EXPECT_TRUE(table.GetCode("G80", code));
  EXPECT_EQ(code, 5);
}

TEST(EncodingTable, SetReplacesAndDuplicatesPreferLowestCode) {
  EncodingTable win;
  ASSERT_TRUE(win.LoadByName("WinAnsiEncoding"));
  uint8_t code = 0;
  ASSERT_TRUE(win.GetCode("space", code));
  EXPECT_EQ(code, 32);  // space is also at 160
  ASSERT_TRUE(win.GetCode("bullet", code));
  EXPECT_EQ(code, 127);

  EncodingTable diff;
  diff.Set(65, "B");
  diff.Set(65, "C");
  std::string name;
  EXPECT_TRUE(diff.GetName(65, name));
  EXPECT_EQ(name, "C");
  EXPECT_TRUE(diff.GetCode("C", code));
  EXPECT_EQ(code, 65);
  EXPECT_FALSE(diff.GetCode("B", code));
  EXPECT_EQ(diff.Size(), 1u);
}

TEST(EncodingTable, UnknownNamesAndCache) {
  EncodingTable table;
  EXPECT_FALSE(table.LoadByName("Identity-H"));
  EXPECT_FALSE(table.LoadByName("standardencoding"));
  ResourceCache cache;
  EXPECT_EQ(cache.GetEncodingTable("Identity-H"), nullptr);
  EncodingTable* std1 = cache.GetEncodingTable("StandardEncoding");
  ASSERT_NE(std1, nullptr);
  EXPECT_EQ(cache.GetEncodingTable("StandardEncoding"), std1);
  EXPECT_NE(cache.GetEncodingTable("WinAnsiEncoding"), std1);
}

}  // namespace
}  // namespace koyo
