// Whole repairs of the example files in examples/ against the installed IPA
// fonts, checked with independent readers (qpdf, pdffonts, pdftotext) and by
// taking the appended update apart.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "front/Repair.h"
#include "tests/document/PdfFixture.h"
#include "tests/front/RepairSupport.h"

namespace kanafix {
namespace {

using test::ExpectOneUpdate;
using test::FontRow;
using test::ReadBytes;
using test::Update;

const FontRow kMono{"CID TrueType", "90ms-RKSJ-H"};
const FontRow kProp{"CID TrueType", "90msp-RKSJ-H"};
const FontRow kUcs2{"CID TrueType", "UniJIS-UCS2-H"};
const FontRow kHelvetica{"Type 1", "WinAnsi"};
const FontRow kSimpleTrueType{"TrueType", "WinAnsi"};

struct Example {
  const char* file;
  // What pdffonts lists after the repair, by object number (0: a direct font).
  std::multimap<int, FontRow> fonts;
  // The fonts the update must hold under their old numbers.
  std::set<int> replaced;
};

void PrintTo(const Example& ex, std::ostream* os) { *os << ex.file; }

const std::vector<Example>& Examples() {
  static const std::vector<Example> examples = {
      {"truetype-ipa.pdf", {{1, kMono}, {2, kProp}, {3, kMono}, {4, kProp}}, {1, 2, 3, 4}},
      {"truetype-heisei.pdf", {{1, kMono}, {2, kMono}}, {1, 2}},
      {"type0-nowidths.pdf", {{3, kMono}, {6, kProp}, {9, kMono}, {12, kProp}}, {3, 6, 9, 12}},
      {"shared-fonts.pdf", {{1, kProp}, {2, kHelvetica}, {3, kMono}, {0, kSimpleTrueType}}, {1, 3}},
      {"nested-tree.pdf", {{1, kMono}, {2, kMono}, {3, kProp}}, {1, 2, 3}},
      {"style-suffix.pdf", {{1, kProp}, {2, kMono}, {3, kProp}, {4, kMono}, {5, kMono}}, {1, 2, 3, 4, 5}},
      {"reportlab-heisei.pdf", {{2, kHelvetica}, {3, kUcs2}, {4, kUcs2}}, {3, 4}},
  };
  return examples;
}

// The largest object number of the original file plus one: objects the
// repair adds get numbers from here on.
int OldSize(const std::string& file) {
  size_t at = file.rfind("/Size ");
  return at == std::string::npos ? -1 : std::atoi(file.c_str() + at + 6);
}

int InfoNumber(const std::string& file) {
  size_t at = file.rfind("/Info ");
  return at == std::string::npos ? -1 : std::atoi(file.c_str() + at + 6);
}

class RepairExamples : public ::testing::TestWithParam<Example> {
protected:
  std::string Repair(const std::string& input, const char* output) {
    std::string message;
    int result = RepairFile(input.c_str(), output, "1.2.0", RepairOptions(), &message);
    EXPECT_EQ(result, 0) << message;
    return message;
  }
  koyo::test::ScratchDir dir_;
};

TEST_P(RepairExamples, AppendsOneReadableUpdateWithTheNewFonts) {
  const Example& ex = GetParam();
  const std::string original = ReadBytes(test::ExamplePath(ex.file));
  ASSERT_FALSE(original.empty());
  const std::string input = dir_.Write("in.pdf", original);
  const std::string output = dir_.Path("out.pdf");
  Repair(input, output.c_str());
  EXPECT_EQ(ReadBytes(input), original) << "the input was changed";

  const std::string repaired = ReadBytes(output);
  Update u = ExpectOneUpdate(original, repaired);
  const int oldSize = OldSize(original);
  const int info = InfoNumber(original);
  ASSERT_GT(info, 0);

  // The update holds the replaced fonts under their own numbers, the Info
  // dictionary, and for every replaced font one new descendant, descriptor
  // and CIDSystemInfo; nothing else of the old file.
  std::set<int> old;
  for (const auto& [ref, text] : u.objects) {
    EXPECT_EQ(ref.second, 0) << "object " << ref.first;
    if (ref.first < oldSize) old.insert(ref.first);
  }
  std::set<int> expectedOld = ex.replaced;
  expectedOld.insert(info);
  EXPECT_EQ(old, expectedOld);
  for (int num : ex.replaced) {
    const std::string& text = u.Text(num);
    EXPECT_NE(text.find("/Subtype /Type0"), std::string::npos) << num << ": " << text;
    EXPECT_NE(text.find("/DescendantFonts ["), std::string::npos) << num << ": " << text;
  }
  const size_t n = ex.replaced.size();
  EXPECT_EQ(u.With("/Subtype /CIDFontType2").size(), n);
  EXPECT_EQ(u.With("/Type /FontDescriptor").size(), n);
  EXPECT_EQ(u.With("/Ordering (Japan1)").size(), n);
  EXPECT_EQ(u.objects.size(), ex.replaced.size() + 1 + 3 * n);
  for (const auto& [ref, text] : u.objects) {
    if (ref.first >= oldSize) {
      EXPECT_LT(ref.first, oldSize + static_cast<int>(3 * n)) << "gap in the new numbers";
    }
  }
  EXPECT_EQ(u.TrailerInt("Size"), oldSize + static_cast<long long>(3 * n));

  KANAFIX_REQUIRE_TOOL("qpdf");
  EXPECT_EQ(test::QpdfProblems(output), "");
  KANAFIX_REQUIRE_TOOL("pdffonts");
  EXPECT_EQ(test::PdfFonts(output), ex.fonts);
}

TEST_P(RepairExamples, ASecondRepairAppendsASecondUpdate) {
  const Example& ex = GetParam();
  const std::string path = dir_.Write("doc.pdf", ReadBytes(test::ExamplePath(ex.file)));
  Repair(path, nullptr);
  const std::string once = ReadBytes(path);
  Repair(path, "");
  const std::string twice = ReadBytes(path);
  Update second = ExpectOneUpdate(once, twice);
  // The new fonts carry the same names, so they are replaced again.
  for (int num : ex.replaced) EXPECT_TRUE(second.Has(num)) << num;
  KANAFIX_REQUIRE_TOOL("qpdf");
  EXPECT_EQ(test::QpdfProblems(path), "");
  KANAFIX_REQUIRE_TOOL("pdffonts");
  EXPECT_EQ(test::PdfFonts(path), ex.fonts);
}

INSTANTIATE_TEST_SUITE_P(Examples, RepairExamples, ::testing::ValuesIn(Examples()),
                         [](const ::testing::TestParamInfo<Example>& info) {
                           std::string name;
                           for (const char* p = info.param.file; *p && *p != '.'; ++p) {
                             name += (*p == '-') ? '_' : *p;
                           }
                           return name;
                         });

// The text the example generator writes; pdftotext gives the full-width
// tilde U+FF5E as U+301C, and the half-width hyphen of 90ms-RKSJ-H as U+2011
// (TextLines turns that back into "-").
const char* const kNotice[] = {
    "お知らせ",
    "2024年4月1日（月）から受付時間が変わります。",
    "新しい受付時間：9:00〜17:30（土日祝は休み）",
    "料金表は受付の窓口に掲示しています。",
    "問い合わせ先：ｿｳﾑｶ 03-1234-5678",
};

struct TextCase {
  const char* file;
  std::vector<std::string> lines;
};

std::vector<TextCase> TextCases() {
  std::vector<std::string> heisei(std::begin(kNotice), std::end(kNotice));
  return {
      {"truetype-ipa.pdf",
       {kNotice[0], std::string("IPAMincho：") + kNotice[1], std::string("IPAPMincho：") + kNotice[2],
        std::string("IPAGothic：") + kNotice[3], std::string("IPAPGothic：") + kNotice[4]}},
      {"truetype-heisei.pdf", heisei},
      {"style-suffix.pdf",
       {"見出しと本文の書体", "本文は明朝体、見出しはゴシック体で組みます。", "プロポーショナル明朝：ABC abc 0123",
        "等幅ゴシック：ABC abc 0123", "角ゴシック体 W5：ｶﾀｶﾅ 2024"}},
      {"nested-tree.pdf",
       {"社内報 第1号", "新年度のごあいさつ", "ﾍﾟｰｼﾞ 1 / 5", "社内報 第2号", "新しい仲間を紹介します", "ﾍﾟｰｼﾞ 2 / 5",
        "社内報 第3号", "4月の行事予定", "ﾍﾟｰｼﾞ 3 / 5", "社内報 第4号", "健康診断のお知らせ", "ﾍﾟｰｼﾞ 4 / 5",
        "社内報 第5号", "編集後記", "ﾍﾟｰｼﾞ 5 / 5"}},
  };
}

std::vector<std::string> TextLines(const std::string& path) {
  std::vector<std::string> lines = test::PdfTextLines(path);
  for (std::string& line : lines) {
    for (size_t at; (at = line.find("\u2011")) != std::string::npos;) line.replace(at, 3, "-");
  }
  return lines;
}

// Shift-JIS text in simple TrueType fonts reads as mojibake before the repair
// and as the written Japanese text after it.
TEST(RepairText, ShiftJisTextInSimpleTrueTypeFontsReadsRightAfterTheRepair) {
  KANAFIX_REQUIRE_TOOL("pdftotext");
  for (const TextCase& c : TextCases()) {
    SCOPED_TRACE(c.file);
    koyo::test::ScratchDir dir;
    const std::string path = dir.Write("doc.pdf", ReadBytes(test::ExamplePath(c.file)));
    EXPECT_NE(TextLines(path), c.lines) << "already readable before the repair";
    std::string message;
    ASSERT_EQ(RepairFile(path.c_str(), nullptr, "1.2.0", RepairOptions(), &message), 0) << message;
    EXPECT_EQ(TextLines(path), c.lines);
  }
}

// reportlab's UTF-16 text keeps its CMap and so reads the same after the repair.
TEST(RepairText, ReportlabUcs2TextReadsTheSameAfterTheRepair) {
  KANAFIX_REQUIRE_TOOL("pdftotext");
  koyo::test::ScratchDir dir;
  const std::string path = dir.Write("doc.pdf", ReadBytes(test::ExamplePath("reportlab-heisei.pdf")));
  const std::vector<std::string> before = test::PdfTextLines(path);
  std::vector<std::string> expected(std::begin(kNotice), std::end(kNotice));
  expected.push_back("Page 1 of 1");
  EXPECT_EQ(before, expected);
  std::string message;
  ASSERT_EQ(RepairFile(path.c_str(), nullptr, "1.2.0", RepairOptions(), &message), 0) << message;
  EXPECT_EQ(test::PdfTextLines(path), before);
}

}  // namespace
}  // namespace kanafix
