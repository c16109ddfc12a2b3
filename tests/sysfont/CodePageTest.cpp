#include "koyo/sysfont/CodePage.h"

#include <gtest/gtest.h>

namespace koyo {
namespace {

TEST(SingleByteCodePage, TablesOfTheKeptCharacterSets) {
  struct Case {
    uint8_t charSet;
    int code;
    char32_t unicode;
  };
  const Case cases[] = {
      {kShiftJisCharSet, 0x41, U'A'},
      {kShiftJisCharSet, 0xA1, 0xFF61},         // first half-width katakana
      {kShiftJisCharSet, 0xB1, 0xFF71},
      {kShiftJisCharSet, 0xDF, 0xFF9F},         // last half-width katakana
      {kShiftJisCharSet, 0x81, kNoCharacter},   // lead byte
      {kShiftJisCharSet, 0xE0, kNoCharacter},   // lead byte
      {kAnsiCharSet, 0x80, 0x20AC},             // euro sign
      {kAnsiCharSet, 0x81, kNoCharacter},       // unassigned in 1252
      {kAnsiCharSet, 0xA5, 0x00A5},
      {kMacCharSet, 0xA5, 0x2022},              // bullet in Mac Roman
      {kMacCharSet, 0xB4, 0x00A5},
  };
  for (const Case& c : cases) {
    const SingleByteTable* table = SingleByteCodePage(c.charSet);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ((*table)[c.code], c.unicode) << int(c.charSet) << " code " << c.code;
  }
  EXPECT_EQ(SingleByteCodePage(2), nullptr);  // symbol: not a kept character set
}

TEST(Utf8ToShiftJis, ConvertsOrRefuses) {
  EXPECT_EQ(Utf8ToShiftJis("Gothic \xE6\x98\x8E\xE6\x9C\x9D"), std::string("Gothic \x96\xBE\x92\xA9"));
  EXPECT_EQ(Utf8ToShiftJis("\xE2\x82\xAC"), std::nullopt);  // the euro sign has no Shift-JIS code
  EXPECT_EQ(Utf8ToShiftJis("\xFF\xFE"), std::nullopt);      // not UTF-8
}

}  // namespace
}  // namespace koyo
