#include <gtest/gtest.h>

#include <vector>

#include "koyo/resource/CIDNormalize.h"
#include "koyo/resource/SJISConvert.h"
#include "koyo/resource/SJISData.h"

namespace koyo {
namespace {

using Bytes = std::vector<unsigned char>;
using Units = std::vector<uint16_t>;

Units FromSJIS(const Bytes& text, size_t limit = 64) {
  Units out(limit + 1, 0xEEEE);
  out.resize(SJISToUnicode(out.data(), limit, text.data(), text.size()));
  return out;
}

Bytes ToSJIS(const Units& text, size_t limit = 64) {
  Bytes out(limit + 1, 0xEE);
  out.resize(UnicodeToSJIS(out.data(), limit, text.data(), text.size()));
  return out;
}

TEST(SJIS, BothDirections) {
  struct Case {
    Bytes sjis;
    uint16_t unicode;
  };
  const Case cases[] = {{{0x81, 0x5F}, 0xFF3C}, {{0x81, 0x40}, 0x3000}, {{0xA1}, 0xFF61},
                        {{0x5C}, 0x005C},       {{0x82, 0xA0}, 0x3042}, {{0x88, 0x9F}, 0x4E9C},
                        {{0x41}, 0x0041},       {{0x87, 0x40}, 0x2460}, {{0xED, 0x40}, 0x7E8A}};
  for (const Case& c : cases) {
    EXPECT_EQ(FromSJIS(c.sjis), Units{c.unicode}) << std::hex << c.unicode;
    EXPECT_EQ(ToSJIS({c.unicode}), c.sjis) << std::hex << c.unicode;
  }
}

TEST(SJIS, SkippedBytesAndCodes) {
  // A lone 80, a control byte 1B, an A0 and a lead byte at the end are skipped.
  EXPECT_EQ(FromSJIS({0x41, 0x80, 0x1B, 0xA0, 0x42, 0x82}), (Units{0x41, 0x42}));
  // A lead byte followed by a byte outside the trail ranges counts alone.
  EXPECT_EQ(FromSJIS({0x82, 0x30}), (Units{0x30}));
  // FA40 is a two-byte code the table does not hold (its character is taken by
  // the lower code EEEF); F0 is no lead byte, so F0 40 is two single bytes.
  EXPECT_EQ(FromSJIS({0xFA, 0x40, 0x43}), (Units{0x43}));
  EXPECT_EQ(ToSJIS({0x2170}), (Bytes{0xEE, 0xEF}));
  EXPECT_EQ(FromSJIS({0xF0, 0x40}), (Units{0x40}));
  // Units without a Shift-JIS code are skipped; FFFF is not a character.
  EXPECT_EQ(ToSJIS({0x00E9, 0x0041, 0xFFFF, 0x3042}), (Bytes{0x41, 0x82, 0xA0}));
}

TEST(SJIS, TerminatorsAndLimits) {
  Units out(4, 0xEEEE);
  Bytes text{0x82, 0xA0, 0x00, 0x41};
  EXPECT_EQ(SJISToUnicode(out.data(), 3, text.data(), text.size()), 1u);
  EXPECT_EQ(out[0], 0x3042);
  EXPECT_EQ(out[1], 0);  // stopped at a 0 byte
  EXPECT_EQ(out[2], 0xEEEE);
  // No room for the terminator: nothing is written past the limit.
  Units exact(2, 0xEEEE);
  EXPECT_EQ(SJISToUnicode(exact.data(), 1, text.data(), text.size()), 1u);
  EXPECT_EQ(exact[1], 0xEEEE);

  Bytes bytes(4, 0xEE);
  Units units{0x3042, 0x3044, 0};
  // Only one two-byte code fits in three bytes; the text did not end, so no 0.
  EXPECT_EQ(UnicodeToSJIS(bytes.data(), 3, units.data(), units.size()), 2u);
  EXPECT_EQ(bytes[2], 0xEE);
  Units shortText{0x41, 0};
  EXPECT_EQ(UnicodeToSJIS(bytes.data(), 3, shortText.data(), shortText.size()), 1u);
  EXPECT_EQ(bytes[1], 0);
}

TEST(SJIS, TablesAreSortedAndClosed) {
  struct Table {
    const resource_data::CodePair* pairs;
    size_t size;
  };
  const Table tables[] = {{resource_data::kUnicodeToSJIS, resource_data::kUnicodeToSJISSize},
                          {resource_data::kSJISToUnicode, resource_data::kSJISToUnicodeSize},
                          {resource_data::kUnicodeToEUC, resource_data::kUnicodeToEUCSize},
                          {resource_data::kEUCToUnicode, resource_data::kEUCToUnicodeSize}};
  for (const Table& t : tables) {
    ASSERT_EQ(t.size, 7518u);
    EXPECT_EQ(t.pairs[t.size - 1].from, 0xFFFF);
    EXPECT_EQ(t.pairs[t.size - 1].to, 0xFFFF);
    for (size_t i = 1; i < t.size; ++i) ASSERT_LT(t.pairs[i - 1].from, t.pairs[i].from) << i;
  }
  // Every Shift-JIS code leads back to its character.
  for (size_t i = 0; i + 1 < resource_data::kSJISToUnicodeSize; ++i) {
    uint16_t back = 0;
    ASSERT_TRUE(LookupUnicodeToSJIS(resource_data::kSJISToUnicode[i].to, back));
    ASSERT_EQ(back, resource_data::kSJISToUnicode[i].from);
  }
}

TEST(EUC, BothDirections) {
  struct Case {
    Bytes euc;
    uint16_t unicode;
  };
  const Case cases[] = {{{0xA4, 0xA2}, 0x3042}, {{0x8E, 0xA1}, 0xFF61}, {{0xB0, 0xA1}, 0x4E9C},
                        {{0xA1, 0xA1}, 0x3000}, {{0x41}, 0x0041}};
  for (const Case& c : cases) {
    Units out(4);
    out.resize(EUCToUnicode(out.data(), 3, c.euc.data(), c.euc.size()));
    EXPECT_EQ(out, Units{c.unicode});
    Bytes back(4);
    Units in{c.unicode};
    back.resize(UnicodeToEUC(back.data(), 3, in.data(), in.size()));
    EXPECT_EQ(back, c.euc);
  }
  // A three-byte JIS X 0212 code is skipped whole; a lone A1 is skipped.
  Bytes text{0x8F, 0xB0, 0xA1, 0x42, 0xA1};
  Units out(8);
  out.resize(EUCToUnicode(out.data(), out.size(), text.data(), text.size()));
  EXPECT_EQ(out, (Units{0x42}));
}

TEST(CIDNormalize, HalfWidthProportionalAndVerticalForms) {
  struct Case {
    uint16_t cid;
    uint16_t halfWidth;
    uint16_t proportional;
  };
  const Case cases[] = {
      {1, 231, 1},       {34, 264, 34},     {94, 324, 94},     {95, 631, 95},     {96, 96, 96},
      {231, 231, 1},     {264, 264, 34},    {324, 324, 94},    {631, 631, 95},    {843, 843, 843},
      {7886, 7886, 7886}, {7887, 634, 634}, {7888, 635, 635},  {7916, 691, 691},  {7958, 0, 0},
      {8006, 8006, 8006}, {8037, 0, 0},     {8101, 8101, 8101}, {8102, 8102, 8102}, {8263, 8263, 8263},
      {8264, 852, 852},  {8269, 0, 0},      {8278, 673, 673},  {8285, 8285, 8285}, {8358, 0, 0},
      {8359, 8359, 8359}};
  for (const Case& c : cases) {
    EXPECT_EQ(ToCIDHalfWidth(c.cid), c.halfWidth) << c.cid;
    EXPECT_EQ(ToCIDProportional(c.cid), c.proportional) << c.cid;
  }
  unsigned char cids[] = {0x00, 0x22, 0x1E, 0xCF, 0x07};
  ToCIDHalfWidth(cids, sizeof(cids));
  EXPECT_EQ(cids[1], 0x08);  // 264
  EXPECT_EQ(cids[0], 0x01);
  EXPECT_EQ(cids[2] << 8 | cids[3], 634);
  EXPECT_EQ(cids[4], 0x07);
}

}  // namespace
}  // namespace koyo
