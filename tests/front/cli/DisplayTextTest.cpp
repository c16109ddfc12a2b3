#include "front/cli/DisplayText.h"

#include <gtest/gtest.h>

#include "JsonValue.h"

namespace kanafix::cli {
namespace {

TEST(DisplayText, FontNamesDecodeFromShiftJisOrFallBackToByteEscapes) {
  struct Case {
    std::string bytes;
    std::string shown;
  };
  const Case cases[] = {
      {"IPAMincho", "IPAMincho"},
      {"IPA Mincho,Italic", "IPA Mincho,Italic"},
      {"IPA P\x96\xbe\x92\xa9", "IPA P\xe6\x98\x8e\xe6\x9c\x9d"},                          // IPA P明朝
      {"IPA\x83S\x83V\x83\x62\x83N,Bold", "IPA\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf,Bold"},  // IPAゴシック
      {"\xbf\xb3", "\xef\xbd\xbf\xef\xbd\xb3"},                                            // half-width ｿｳ
      {"", ""},
      // A lead byte at the end, a trail byte out of range, a code the table
      // lacks, a control character: shown byte by byte, with '#' escaped too.
      {"Font\x96", "Font#96"},
      {"\x96\x20#", "#96 #23"},
      {"\x85\x40", "#85@"},
      {"A\x01" "B", "A#01B"},
      {std::string("A\0B", 3), "A#00B"},
      {"\xff\xfe", "#FF#FE"},
  };
  for (const Case& c : cases) EXPECT_EQ(FontNameText(c.bytes), c.shown) << c.shown;
}

TEST(DisplayText, PathsPassAsUtf8OrFallBackToByteEscapes) {
  struct Case {
    std::string bytes;
    std::string shown;
  };
  const Case cases[] = {
      {"dir/a b#1.pdf", "dir/a b#1.pdf"},
      {"\xe6\x96\x87\xe6\x9b\xb8.pdf", "\xe6\x96\x87\xe6\x9b\xb8.pdf"},  // 文書.pdf
      {"\xf0\x9f\x93\x84.pdf", "\xf0\x9f\x93\x84.pdf"},
      {"\x95\xb6\x8f\x91.pdf", "#95#B6#8F#91.pdf"},  // Shift-JIS, not UTF-8
      {"a\xc0\xaf.pdf", "a#C0#AF.pdf"},            // overlong '/'
      {"a\xed\xa0\x80.pdf", "a#ED#A0#80.pdf"},     // a surrogate
      {"a#\xe6\x96.pdf", "a#23#E6#96.pdf"},        // cut short
      {"a\x1b[31m.pdf", "a#1B[31m.pdf"},           // a terminal escape sequence
  };
  for (const Case& c : cases) EXPECT_EQ(PathText(c.bytes), c.shown) << c.shown;
}

TEST(DisplayText, JsonStringsParseBackToTheSameText) {
  const std::string texts[] = {
      "plain",
      "quote \" backslash \\ slash /",
      "tab\tnewline\nreturn\rbell\x07" "del\x7f",
      "\xe6\x98\x8e\xe6\x9c\x9d",  // 明朝
      "\xf0\x9f\x93\x84",          // beyond the BMP: a surrogate pair
      std::string("nul\0inside", 10),
  };
  for (const std::string& text : texts) {
    const std::string literal = JsonString(text);
    for (char c : literal) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "not plain ASCII: " << literal;
    test::JsonValue value;
    std::string error;
    ASSERT_TRUE(test::ParseJson(literal, &value, &error)) << literal << ": " << error;
    EXPECT_EQ(value.text, text) << literal;
  }
  EXPECT_EQ(JsonString("\xf0\x9f\x93\x84"), "\"\\ud83d\\udcc4\"");
  // Bytes that are not UTF-8 never reach the output as they are.
  test::JsonValue value;
  std::string error;
  ASSERT_TRUE(test::ParseJson(JsonString("a\xff" "b"), &value, &error));
  EXPECT_EQ(value.text, "a\xef\xbf\xbd" "b");
}

}  // namespace
}  // namespace kanafix::cli
