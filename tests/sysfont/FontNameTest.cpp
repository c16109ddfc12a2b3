#include "koyo/sysfont/FontName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace koyo {
namespace {

TEST(NormalizeFontName, CutsAtCommaAndDropsSpaces) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"MS Mincho,Bold", "MSMincho"},
      {"MSMincho", "MSMincho"},
      {" A B  C ", "ABC"},
      {",Bold", ""},
      {"", ""},
      {"Name,Bold,Italic", "Name"},
      // Shift-JIS "ＭＳ 明朝,Bold": the space goes, the double-byte characters stay.
      {"\x82\x6C\x82\x72 \x96\xBE\x92\xA9,Bold", "\x82\x6C\x82\x72\x96\xBE\x92\xA9"},
  };
  for (const Case& c : cases) {
    char out[kFontNameBufferSize];
    EXPECT_EQ(NormalizeFontName(out, c.in), out) << c.in;
    EXPECT_STREQ(out, c.out) << c.in;
  }
}

// The work buffer sits between guard bytes that must survive every call.
struct GuardedBuffer {
  char before[16];
  char buffer[kFontNameBufferSize];
  char after[16];
  GuardedBuffer() {
    std::memset(before, 0x5A, sizeof before);
    std::memset(buffer, 0x5A, sizeof buffer);
    std::memset(after, 0x5A, sizeof after);
  }
  bool GuardsIntact() const {
    for (char c : before)
      if (c != 0x5A) return false;
    for (char c : after)
      if (c != 0x5A) return false;
    return true;
  }
};

TEST(NormalizeFontName, LongestNameFitsAndLongerIsRefused) {
  const std::string longest(kFontNameBufferSize - 1, 'x');
  GuardedBuffer fits;
  ASSERT_NE(NormalizeFontName(fits.buffer, longest.c_str()), nullptr);
  EXPECT_EQ(std::string(fits.buffer), longest);
  EXPECT_TRUE(fits.GuardsIntact());

  // Refused even when the part before the comma would fit: the name as a whole
  // does not fit the buffer.
  for (const std::string& tooLong :
       {std::string(kFontNameBufferSize, 'y'), std::string(5000, 'z'), "Short," + std::string(300, 'b')}) {
    GuardedBuffer refused;
    EXPECT_EQ(NormalizeFontName(refused.buffer, tooLong.c_str()), nullptr);
    EXPECT_STREQ(refused.buffer, "");
    EXPECT_TRUE(refused.GuardsIntact());
  }
}

TEST(NormalizeFontName, NullNameIsRefused) {
  char out[kFontNameBufferSize] = "previous";
  EXPECT_EQ(NormalizeFontName(out, nullptr), nullptr);
  EXPECT_STREQ(out, "");
}

}  // namespace
}  // namespace koyo
