#include <gtest/gtest.h>

#include "JsonValue.h"
#include "front/cli/JsonReport.h"
#include "front/cli/ReportCollector.h"
#include "front/cli/ReportWire.h"
#include "front/cli/Summary.h"
#include "front/cli/TextReport.h"

namespace kanafix::cli {
namespace {

FontVisit Visit(int32_t page, const char* name, int32_t object, const char* subtype, const std::string& base) {
  FontVisit v;
  v.page = page;
  v.resourceName = name;
  v.objectNumber = object;
  v.generation = object < 0 ? -1 : 0;
  v.subtype = subtype;
  v.baseFont = base;
  return v;
}

// A report like that of a three-page file with a shared font, a Japanese
// BaseFont, a direct dictionary and a standard font.
FileReport Sample() {
  FileReport r;
  r.input = "in/shared.pdf";
  r.output = "out/shared-2.pdf";
  r.renamedFrom = "shared.pdf";
  r.ok = true;
  r.pages = 3;
  r.replaced.push_back({Visit(1, "F1", 1, "TrueType", "IPAPMincho"), "90msp-RKSJ-H"});
  r.replaced.push_back({Visit(3, "F10", 12, "TrueType", "IPA P\x96\xbe\x92\xa9"), "90msp-RKSJ-H"});
  r.skipped.push_back({Visit(1, "F0", 2, "Type1", "Helvetica"), SkipReason::kNotInstalled});
  r.skipped.push_back({Visit(3, "D1", -1, "TrueType", "IPAGothic"), SkipReason::kDirect});
  return r;
}

TEST(ReportWire, RoundTripKeepsEveryField) {
  FileReport r = Sample();
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  r.message = everyByte + ";12;";
  r.replaced[0].font.baseFont = everyByte;
  r.skipped[1].font.generation = -1;
  r.dryRun = true;
  r.skipped.push_back({Visit(2, "F9", 2147483647, "Type0", ""), SkipReason::kEncodingStream});

  FileReport back;
  ASSERT_TRUE(DecodeReport(EncodeReport(r), &back));
  EXPECT_EQ(EncodeReport(back), EncodeReport(r));
  EXPECT_EQ(back.message, r.message);
  EXPECT_EQ(back.replaced[0].font.baseFont, everyByte);
  EXPECT_EQ(back.skipped[2].font.objectNumber, 2147483647);
  EXPECT_EQ(back.skipped[2].reason, SkipReason::kEncodingStream);
  EXPECT_TRUE(back.dryRun);
}

TEST(ReportWire, TruncatedOrCorruptDataIsRefused) {
  const std::string data = EncodeReport(Sample());
  // A worker that died while writing leaves a prefix.
  for (size_t n = 0; n < data.size(); ++n) {
    FileReport back;
    EXPECT_FALSE(DecodeReport(data.substr(0, n), &back)) << n;
  }
  FileReport back;
  EXPECT_FALSE(DecodeReport(data + "x", &back));
  EXPECT_FALSE(DecodeReport("99999999999999999999;", &back));
  EXPECT_FALSE(DecodeReport("-1;", &back));
  // A skip reason outside the known ones.
  FileReport one;
  one.skipped.push_back({Visit(1, "F", 1, "T", "B"), SkipReason::kDirect});
  std::string bad = EncodeReport(one);
  ASSERT_EQ(bad.substr(bad.size() - 2), "0;");
  bad.replace(bad.size() - 2, 1, "9");
  EXPECT_FALSE(DecodeReport(bad, &back));
}

TEST(TextReport, HeaderAndAlignedFontLines) {
  EXPECT_EQ(FormatTextReport(Sample()),
            "in/shared.pdf -> out/shared-2.pdf (renamed from shared.pdf): 3 pages, 2 fonts replaced, 2 left alone\n"
            "  page 1  F1   1 0 R   TrueType  IPAPMincho  -> 90msp-RKSJ-H\n"
            "  page 3  F10  12 0 R  TrueType  IPA P\xe6\x98\x8e\xe6\x9c\x9d   -> 90msp-RKSJ-H\n"
            "  page 1  F0   2 0 R   Type1     Helvetica   left alone: not installed\n"
            "  page 3  D1   direct  TrueType  IPAGothic   left alone: direct font dictionary\n");

  FileReport r;
  r.input = r.output = "a.pdf";
  r.ok = true;
  r.pages = 1;
  EXPECT_EQ(FormatTextReport(r), "a.pdf (in place): 1 page, nothing to replace\n");
  r.dryRun = true;
  r.replaced.push_back({Visit(1, "F1", 1, "TrueType", "IPAGothic"), "90ms-RKSJ-H"});
  EXPECT_EQ(FormatTextReport(r),
            "a.pdf (dry run): 1 page, 1 font to replace\n"
            "  page 1  F1  1 0 R  TrueType  IPAGothic  -> 90ms-RKSJ-H\n");
}

TEST(JsonReport, OneParsableLineWithEveryField) {
  FileReport r = Sample();
  r.replaced[0].font.baseFont = "Bad\xff\"Name";
  const std::string line = FormatJsonReport(r);
  ASSERT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), line.size() - 1);

  test::JsonValue v;
  std::string error;
  ASSERT_TRUE(test::ParseJson(line, &v, &error)) << error << "\n" << line;
  EXPECT_EQ(v["file"].text, "in/shared.pdf");
  EXPECT_EQ(v["output"].text, "out/shared-2.pdf");
  EXPECT_EQ(v["renamedFrom"].text, "shared.pdf");
  EXPECT_EQ(v["status"].text, "ok");
  EXPECT_EQ(v["message"].text, "");
  EXPECT_FALSE(v["dryRun"].boolean);
  EXPECT_EQ(v["pages"].number, 3);
  ASSERT_EQ(v["replaced"].items.size(), 2u);
  EXPECT_EQ(v["replaced"][0]["baseFont"].text, "Bad#FF\"Name");
  EXPECT_EQ(v["replaced"][1]["baseFont"].text, "IPA P\xe6\x98\x8e\xe6\x9c\x9d");
  EXPECT_EQ(v["replaced"][1]["object"].number, 12);
  EXPECT_EQ(v["replaced"][1]["generation"].number, 0);
  EXPECT_EQ(v["replaced"][1]["page"].number, 3);
  EXPECT_EQ(v["replaced"][1]["resource"].text, "F10");
  EXPECT_EQ(v["replaced"][1]["subtype"].text, "TrueType");
  EXPECT_EQ(v["replaced"][1]["encoding"].text, "90msp-RKSJ-H");
  ASSERT_EQ(v["skipped"].items.size(), 2u);
  EXPECT_EQ(v["skipped"][0]["reason"].text, "not-installed");
  EXPECT_EQ(v["skipped"][1]["reason"].text, "direct");
  EXPECT_EQ(v["skipped"][1]["reasonText"].text, "direct font dictionary");
  EXPECT_EQ(v["skipped"][1]["object"].kind, test::JsonValue::kNull);
  EXPECT_EQ(v["skipped"][1]["generation"].kind, test::JsonValue::kNull);

  FileReport failed;
  failed.input = failed.output = "x.pdf";
  failed.message = "cannot open PDF Document: x.pdf";
  ASSERT_TRUE(test::ParseJson(FormatJsonReport(failed), &v, &error)) << error;
  EXPECT_EQ(v["status"].text, "failed");
  EXPECT_EQ(v["message"].text, failed.message);
  EXPECT_EQ(v["pages"].kind, test::JsonValue::kNull);
  EXPECT_EQ(v["renamedFrom"].kind, test::JsonValue::kNull);
  EXPECT_TRUE(v["replaced"].items.empty());
}

TEST(Summary, CountsFilesByOutcomeAndNamesFailuresInOrder) {
  RunTotals totals;
  FileReport ok = Sample();
  FileReport nothing;
  nothing.ok = true;
  FileReport bad1, bad2;
  bad1.input = "z.pdf";
  bad1.message = "cannot open PDF Document: z.pdf";
  bad2.input = "a.pdf";
  bad2.message = "file not found: a.pdf";
  for (const FileReport* r : {&ok, &bad1, &nothing, &ok, &bad2}) totals.Add(*r);
  EXPECT_EQ(totals.Files(), 5);
  EXPECT_EQ(totals.ExitStatus(), 1);
  EXPECT_EQ(FormatSummary(totals, false),
            "5 files: 2 repaired, 1 with nothing to do, 2 failed; 4 fonts replaced\n"
            "failed: z.pdf: cannot open PDF Document: z.pdf\n"
            "failed: a.pdf: file not found: a.pdf\n");

  RunTotals clean;
  clean.Add(nothing);
  EXPECT_EQ(clean.ExitStatus(), 0);
  EXPECT_EQ(FormatSummary(clean, true), "1 file: 0 to repair, 1 with nothing to do, 0 failed; 0 fonts to replace\n");
}

}  // namespace
}  // namespace kanafix::cli

namespace kanafix::cli {
namespace {

TEST(ReportCollector, ListsEachFontObjectLeftAloneOnceAndEveryDirectFont) {
  FileReport report;
  ReportCollector collector(report);
  RepairObserver& observer = collector;
  observer.OnDocument(3);
  observer.OnReplaced(Visit(1, "F1", 1, "TrueType", "IPAPMincho"), "90msp-RKSJ-H");
  observer.OnSkipped(Visit(1, "H", 2, "Type1", "Helvetica"), SkipReason::kNotInstalled);
  observer.OnSkipped(Visit(2, "H", 2, "Type1", "Helvetica"), SkipReason::kNotInstalled);
  observer.OnSkipped(Visit(2, "X", 7, "Type1", "Helvetica"), SkipReason::kNotInstalled);
  observer.OnSkipped(Visit(3, "D1", -1, "TrueType", "IPAGothic"), SkipReason::kDirect);
  observer.OnSkipped(Visit(3, "D2", -1, "TrueType", "IPAGothic"), SkipReason::kDirect);
  EXPECT_EQ(report.pages, 3);
  ASSERT_EQ(report.replaced.size(), 1u);
  EXPECT_EQ(report.replaced[0].encoding, "90msp-RKSJ-H");
  ASSERT_EQ(report.skipped.size(), 4u);
  EXPECT_EQ(report.skipped[0].font.page, 1);
  EXPECT_EQ(report.skipped[1].font.objectNumber, 7);
  EXPECT_EQ(report.skipped[2].font.resourceName, "D1");
  EXPECT_EQ(report.skipped[3].font.resourceName, "D2");
}

}  // namespace
}  // namespace kanafix::cli
