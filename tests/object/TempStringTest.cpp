#include "koyo/object/TempString.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace koyo {
namespace {

using Str = TempString<char>;

TEST(TempString, GrowsToTenThenInStepsOfHundred) {
  Str s;
  std::set<int32_t> seen;
  for (int i = 0; i < 150; ++i) {
    ASSERT_TRUE(s.Append(static_cast<char>('a' + i % 26)));
    seen.insert(s.Capacity());
  }
  EXPECT_EQ(seen, (std::set<int32_t>{10, 100, 200}));
  EXPECT_EQ(s.Length(), 150);
  EXPECT_EQ(s.c_str()[150], '\0');
  EXPECT_EQ(std::string(s.c_str(), 26), "abcdefghijklmnopqrstuvwxyz");
}

TEST(TempString, AssignStartsAFreshBuffer) {
  Str s;
  ASSERT_TRUE(s.Append(299, 'x'));
  ASSERT_EQ(s.Capacity(), 300);
  ASSERT_TRUE(s.Assign("hello"));
  EXPECT_EQ(s.Capacity(), 10);
  EXPECT_STREQ(s.c_str(), "hello");
  // Zero bytes leave no buffer at all.
  ASSERT_TRUE(s.Assign("", 0));
  EXPECT_EQ(s.Capacity(), 0);
  EXPECT_EQ(s.Length(), 0);
  EXPECT_STREQ(s.c_str(), "");
}

TEST(TempString, KeepsNulBytesInsideTheLength) {
  Str s("a\0b", 3);
  EXPECT_EQ(s.Length(), 3);
  ASSERT_TRUE(s.Append("\0c", 2));
  EXPECT_EQ(s.Length(), 5);
  EXPECT_EQ(std::string(s.c_str(), 5), std::string("a\0b\0c", 5));
  Str copy(s);
  EXPECT_EQ(copy.Length(), 5);
  EXPECT_EQ(std::string(copy.c_str(), 5), std::string("a\0b\0c", 5));
}

TEST(TempString, ComparesUnsignedBytesUpToNul) {
  struct Case {
    const char* a;
    int la;
    const char* b;
    int lb;
    int sign;
  } cases[] = {
      {"abc", -1, "abd", -1, -1},
      {"abc", -1, "ab", -1, 1},
      {"ab", -1, "abc", -1, -1},
      {"\xE0", -1, "a", -1, 1},  // high bytes sort after ASCII
      {"a\0x", 3, "a\0y", 3, 0},  // comparison stops at the NUL
      {"", 0, "", -1, 0},
  };
  for (const Case& c : cases) {
    Str s(c.a, c.la);
    int r = s.Compare(c.b, c.lb);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
  }
}

TEST(TempString, InsertAtPositionsAndIgnoresBadArguments) {
  struct Case {
    int32_t pos;
    const char* bytes;
    int32_t len;
    const char* expect;
  } cases[] = {
      {0, "X", 1, "Xabc"},  {1, "XY", 2, "aXYbc"}, {-1, "X", 1, "abcX"}, {99, "X", 1, "abcX"},
      {-2, "X", 1, "abc"},  {1, "X", 0, "abc"},    {1, nullptr, 1, "abc"},
  };
  for (const Case& c : cases) {
    Str s("abc");
    EXPECT_TRUE(s.Insert(c.pos, c.bytes, c.len));
    EXPECT_STREQ(s.c_str(), c.expect) << c.pos;
    EXPECT_EQ(s.Length(), static_cast<int32_t>(std::string(c.expect).size()));
  }
}

TEST(TempString, AppendsAndInsertsItsOwnText) {
  Str s("abcdefghij");
  ASSERT_TRUE(s.Append(s.c_str(), s.Length()));  // the buffer moves while growing
  EXPECT_STREQ(s.c_str(), "abcdefghijabcdefghij");
  ASSERT_TRUE(s.Insert(0, s.c_str() + 18, 2));
  EXPECT_STREQ(s.c_str(), "ijabcdefghijabcdefghij");
  ASSERT_TRUE(s.Assign(s.c_str() + 2, 3));
  EXPECT_STREQ(s.c_str(), "abc");
}

TEST(TempString, FillTruncateAndClear) {
  Str s("abc");
  ASSERT_TRUE(s.Fill(4, 'z'));
  EXPECT_STREQ(s.c_str(), "zzzz");
  ASSERT_TRUE(s.Fill(0, 'q'));
  EXPECT_STREQ(s.c_str(), "zzzz");
  ASSERT_TRUE(s.Truncate(2));
  EXPECT_STREQ(s.c_str(), "zz");
  ASSERT_TRUE(s.Truncate(150));  // sizes the buffer for reading into it
  EXPECT_EQ(s.Length(), 150);
  EXPECT_GE(s.Capacity(), 151);
  EXPECT_EQ(s.c_str()[150], '\0');
  s.Clear();
  EXPECT_EQ(s.Length(), 0);
  EXPECT_EQ(s.Capacity(), 0);
}

}  // namespace
}  // namespace koyo
