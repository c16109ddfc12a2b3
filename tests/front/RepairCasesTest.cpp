// Repairs of small documents written by the tests: which fonts are replaced,
// the messages and log lines of every failure the driver reports, what a
// failed run leaves behind, and the Info dictionary of the update.
#include <filesystem>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "front/Log.h"
#include "front/Repair.h"
#include "front/RepairObserver.h"
#include "koyo/platform/Files.h"
#include "tests/document/PdfFixture.h"
#include "tests/front/RepairSupport.h"

namespace kanafix {
namespace {

using koyo::test::PdfBuilder;
using koyo::test::ScratchDir;
using test::ReadBytes;
using test::Update;

const char* const kInfo = "<< /Title (fixture) /CreationDate (D:20240401090000+09'00') >>";

// A document of one page per entry of pageFonts (each the text of the page's
// Font dictionary, or "" for a page whose resources have no Font). Objects 1
// catalog, 2 page tree, 3 Info, 10.. pages; `extra` adds objects by number.
std::string Document(const std::vector<std::string>& pageFonts, const std::map<int, std::string>& extra,
                     const std::string& info = kInfo) {
  PdfBuilder pdf;
  pdf.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  std::string kids;
  for (size_t i = 0; i < pageFonts.size(); ++i) kids += std::to_string(10 + i) + " 0 R ";
  pdf.Object(2, 0, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageFonts.size()) + " >>");
  if (!info.empty()) pdf.Object(3, 0, info);
  int size = pageFonts.empty() ? (info.empty() ? 3 : 4) : 10 + static_cast<int>(pageFonts.size());
  for (size_t i = 0; i < pageFonts.size(); ++i) {
    std::string resources =
        pageFonts[i].empty() ? "/ProcSet [/PDF /Text]" : "/Font " + pageFonts[i] + " /ProcSet [/PDF /Text]";
    pdf.Object(10 + static_cast<int>(i), 0,
               "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << " + resources + " >> >>");
  }
  for (const auto& [num, body] : extra) {
    pdf.Object(num, 0, body);
    size = std::max(size, num + 1);
  }
  pdf.Section(info.empty() ? "/Root 1 0 R" : "/Root 1 0 R /Info 3 0 R", size);
  return pdf.Text();
}

std::string TrueType(const std::string& base) { return "<< /Type /Font /Subtype /TrueType /BaseFont /" + base + " >>"; }

std::string Type0(const std::string& base, const std::string& encoding, int descendant) {
  return "<< /Type /Font /Subtype /Type0 /BaseFont /" + base + " /Encoding " + encoding + " /DescendantFonts [" +
         std::to_string(descendant) + " 0 R] >>";
}

std::string CIDFont(const std::string& base, const std::string& descriptor) {
  return "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + base +
         " /CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >> /DW 1000" +
         (descriptor.empty() ? "" : " /FontDescriptor " + descriptor) + " >>";
}

const char* const kEmbeddingDescriptor =
    "<< /Type /FontDescriptor /FontName /IPAMincho /Flags 4 /FontBBox [0 -141 1000 859] /ItalicAngle 0 "
    "/Ascent 859 /Descent -141 /CapHeight 0 /StemV 80 /FontFile2 41 0 R >>";
const char* const kFontProgram = "<< /Length 4 >>\nstream\ntrue\nendstream";
const char* const kCMapStream = "<< /Type /CMap /CMapName /Custom-H /Length 5 >>\nstream\ncmap.\nendstream";

struct Case {
  const char* name;
  std::string pdf;
  std::map<int, std::string> replaced;  // object number: the Encoding of the new font
  std::set<int> untouched;              // fonts that must not be in the update
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<Case> Cases() {
  return {
      {"ZeroPages", Document({}, {}), {}, {}},
      {"StandardFontsOnly",
       Document({"<< /F1 20 0 R /F2 21 0 R >>"},
                {{20, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"},
                 {21, "<< /Type /Font /Subtype /Type1 /BaseFont /Times-Roman >>"}}),
       {},
       {20, 21}},
      {"StyleSuffixAndSpaces",
       Document({"<< /F1 20 0 R /F2 21 0 R /F3 22 0 R >>"},
                {{20, TrueType("IPA#20Mincho,Bold")}, {21, TrueType("IPA#20P#20Gothic,#20Bold#20Italic")},
                 {22, TrueType("IPAMincho#20,Bold")}}),
       {{20, "/90ms-RKSJ-H"}, {21, "/90msp-RKSJ-H"}, {22, "/90ms-RKSJ-H"}},
       {}},
      {"DirectFontDictionary",
       Document({"<< /D1 " + TrueType("IPAMincho") + " /F1 20 0 R >>"}, {{20, TrueType("IPAGothic")}}),
       {{20, "/90ms-RKSJ-H"}},
       {}},
      {"SharedFontAndTwoNames",
       Document({"<< /F1 20 0 R /F2 20 0 R >>", "<< /A 20 0 R /B 21 0 R >>", "<< /Z 21 0 R >>"},
                {{20, TrueType("IPAPGothic")}, {21, TrueType("HeiseiMin-W3")}}),
       {{20, "/90msp-RKSJ-H"}, {21, "/90ms-RKSJ-H"}},
       {}},
      {"UnknownName",
       Document({"<< /F1 20 0 R >>"}, {{20, TrueType("NoSuchFontAnywhere")}}), {}, {20}},
      {"EmbeddedProgramInDescriptor",
       Document({"<< /F1 20 0 R /F2 21 0 R >>"},
                {{20, "<< /Type /Font /Subtype /TrueType /BaseFont /IPAMincho /FontDescriptor 40 0 R >>"},
                 {21, TrueType("IPAMincho")},
                 {40, kEmbeddingDescriptor},
                 {41, kFontProgram}}),
       {{21, "/90ms-RKSJ-H"}},
       {20}},
      {"EmbeddedProgramInDescendant",
       Document({"<< /F1 20 0 R >>"},
                {{20, Type0("IPAMincho", "/90ms-RKSJ-H", 30)},
                 {30, CIDFont("IPAMincho", "40 0 R")},
                 {40, kEmbeddingDescriptor},
                 {41, kFontProgram}}),
       {},
       {20, 30}},
      {"Type0KeepsItsEncodingName",
       Document({"<< /F1 20 0 R /F2 21 0 R >>"},
                {{20, Type0("IPAPMincho", "/UniJIS-UCS2-H", 30)},
                 {21, Type0("IPAMincho", "/90msp-RKSJ-H", 31)},
                 {30, CIDFont("IPAPMincho", "")},
                 {31, CIDFont("IPAMincho", "")}}),
       {{20, "/UniJIS-UCS2-H"}, {21, "/90msp-RKSJ-H"}},
       {}},
      {"Type0WithEncodingStream",
       Document({"<< /F1 20 0 R >>"}, {{20, Type0("IPAPMincho", "42 0 R", 30)}, {30, CIDFont("IPAPMincho", "")},
                                       {42, kCMapStream}}),
       {},
       {20, 30, 42}},
  };
}

class RepairCases : public ::testing::TestWithParam<Case> {};

TEST_P(RepairCases, ReplacesExactlyTheInstalledIndirectFonts) {
  const Case& c = GetParam();
  ScratchDir dir;
  const std::string input = dir.Write("in.pdf", c.pdf);
  const std::string output = dir.Path("out.pdf");
  std::string message;
  ASSERT_EQ(RepairFile(input.c_str(), output.c_str(), "1.2.0", RepairOptions(), &message), 0) << message;
  EXPECT_EQ(ReadBytes(input), c.pdf);
  Update u = test::ExpectOneUpdate(c.pdf, ReadBytes(output));

  // Info is always brought up to date.
  EXPECT_TRUE(u.Has(3));
  EXPECT_NE(u.Text(3).find("/Producer (libkoyo)"), std::string::npos) << u.Text(3);
  for (const auto& [num, encoding] : c.replaced) {
    const std::string& text = u.Text(num);
    EXPECT_NE(text.find("/Subtype /Type0"), std::string::npos) << num << ": " << text;
    EXPECT_NE(text.find("/Encoding " + encoding + "\r\n"), std::string::npos) << num << ": " << text;
  }
  for (int num : c.untouched) EXPECT_FALSE(u.Has(num)) << num << " was written: " << u.Text(num);
  // Each replaced font brings one descendant, and nothing else is replaced.
  EXPECT_EQ(u.With("/Subtype /CIDFontType2").size(), c.replaced.size());
  EXPECT_EQ(u.With("/Subtype /Type0").size(), c.replaced.size());

  KANAFIX_REQUIRE_TOOL("qpdf");
  EXPECT_EQ(test::QpdfProblems(output), "");
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RepairCases, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(RepairNames, TheBaseFontIsKeptAsWritten) {
  ScratchDir dir;
  const std::string pdf = Document({"<< /F1 20 0 R >>"}, {{20, TrueType("IPA#20Mincho,Bold")}});
  const std::string path = dir.Write("in.pdf", pdf);
  std::string message;
  ASSERT_EQ(RepairFile(path.c_str(), nullptr, "1.2.0", RepairOptions(), &message), 0) << message;
  Update u = test::ExpectOneUpdate(pdf, ReadBytes(path));
  EXPECT_NE(u.Text(20).find("/BaseFont /IPA#20Mincho,Bold\r\n"), std::string::npos) << u.Text(20);
  std::vector<int> descendants = u.With("/Subtype /CIDFontType2");
  ASSERT_EQ(descendants.size(), 1u);
  EXPECT_NE(u.Text(descendants[0]).find("/BaseFont /IPA#20Mincho,Bold\r\n"), std::string::npos);
  EXPECT_NE(u.Text(descendants[0]).find("/W [1 94 500 231 389 500 631 631 500]"), std::string::npos);
}

// ---- failures ---------------------------------------------------------------

// The four lines a failure record leaves in the log.
std::string Dump(const std::string& module, const std::string& method, const std::string& type,
                 const std::string& factor) {
  return "Module: " + module + "\nMethod: " + method + "\nType: " + type + "\nFactor: " + factor + "\n";
}

// Each failure test runs in a process of its own (ctest), so the log can be
// opened here without touching other tests.
class RepairFailures : public ::testing::Test {
protected:
  void SetUp() override {
    log_ = dir_.Path("kanafix.log");
    ASSERT_TRUE(OpenLog(log_.c_str()));
  }
  void TearDown() override { CloseLog(); }

  // Repairs input (in place when output is empty) and returns the result.
  int Repair(const std::string& input, const std::string& output, RepairObserver* observer = nullptr) {
    RepairOptions options;
    options.observer = observer;
    message_.clear();
    return RepairFile(input.c_str(), output.empty() ? nullptr : output.c_str(), "1.2.0", options, &message_);
  }
  std::string Log() const { return ReadBytes(log_); }

  ScratchDir dir_;
  std::string log_;
  std::string message_;
};

TEST_F(RepairFailures, FileNotFoundLogsTheBracketedLineWithoutADump) {
  const std::string missing = dir_.Path("missing.pdf");
  EXPECT_EQ(Repair(missing, ""), 1);
  EXPECT_EQ(message_, "file not found: " + missing);
  EXPECT_EQ(Log(), "%%[ Error: file not found: " + missing + " ]%%\n");
  EXPECT_FALSE(koyo::platform::FileExists(missing.c_str()));
}

TEST_F(RepairFailures, CopyFromAMissingInputIsASystemErrorWithoutLog) {
  const std::string output = dir_.Path("out.pdf");
  EXPECT_EQ(Repair(dir_.Path("missing.pdf"), output), 1);
  EXPECT_EQ(message_, "system error: No such file or directory");
  EXPECT_EQ(Log(), "");
  EXPECT_FALSE(koyo::platform::FileExists(output.c_str()));
}

// Stands for the dump of a record that holds no failure.
const char* const kNoFailure = "no failure";

struct Broken {
  const char* name;
  std::string pdf;
  std::string message;  // %s: the path repaired
  std::string dump;
};

void PrintTo(const Broken& b, std::ostream* os) { *os << b.name; }

std::string Expand(std::string text, const std::string& path) {
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}

std::vector<Broken> BrokenDocuments() {
  const std::string noRecord = "Module: \nMethod: \nType: \nFactor: \n";
  PdfBuilder pages;
  pages.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  // The second kid names an object the file does not have.
  pages.Object(2, 0, "<< /Type /Pages /Kids [3 0 R 9 0 R] /Count 2 >>");
  pages.Object(3, 0, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 10 10] /Resources << /Font << /F1 4 0 R >> >> >>");
  pages.Object(4, 0, TrueType("IPAMincho"));
  pages.Section("/Root 1 0 R", 5);
  PdfBuilder noResources;
  noResources.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  noResources.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  noResources.Object(3, 0, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 10 10] >>");
  noResources.Section("/Root 1 0 R", 4);
  return {
      {"NotAPdf", std::string("GIF89a\n\x01\x00\x01\x00 not a PDF file\n", 27), "cannot open PDF Document: %s",
       "Module: CPDFHeader\nMethod: Serialize\nType: Invalid Format\nFactor: invalidheader: GIF89a\n"},
      {"NoStartXRef", "%PDF-1.3\n1 0 obj\n<< >>\nendobj\n", "cannot open PDF Document: %s",
       ""},  // dump checked for its four lines only
      {"SecondPageMissing", pages.Text(), "cannot get PDF Page: 2",
       Dump("CPDFDoc", "GetPage", "Internal Error", "CPDFPages::GetPage()")},
      // The first page's fonts are replaced before the second page fails.
      {"PageWithoutFont",
       Document({"<< /F1 20 0 R >>", ""}, {{20, TrueType("IPAMincho")}}), "cannot get PDF Resources", kNoFailure},
      {"PageWithoutResources", noResources.Text(), "cannot get PDF Resources", noRecord},
  };
}

class RepairBroken : public RepairFailures, public ::testing::WithParamInterface<Broken> {
protected:
  void ExpectReport(const std::string& path) {
    const Broken& b = GetParam();
    const std::string message = Expand(b.message, path);
    EXPECT_EQ(message_, message);
    const std::string log = Log();
    const std::string line = "%%[ Error: " + message + " ]%%\n";
    ASSERT_EQ(log.compare(0, line.size(), line), 0) << log;
    const std::string dump = log.substr(line.size());
    if (b.dump == kNoFailure) {
      // The record holds no failure (its texts may stay from a cleared one).
      EXPECT_TRUE(std::regex_match(dump, std::regex("Module: .*\nMethod: .*\nType: \nFactor: .*\n"))) << dump;
    } else if (!b.dump.empty()) {
      EXPECT_EQ(dump, b.dump);
    } else {
      EXPECT_TRUE(std::regex_match(dump, std::regex("Module: .+\nMethod: .+\nType: .+\nFactor: .*\n"))) << dump;
    }
  }
};

TEST_P(RepairBroken, InPlaceTheInputStaysAsItWas) {
  const std::string path = dir_.Write("in.pdf", GetParam().pdf);
  EXPECT_EQ(Repair(path, ""), 1);
  ExpectReport(path);
  EXPECT_EQ(ReadBytes(path), GetParam().pdf);
}

TEST_P(RepairBroken, IntoACopyTheCopyIsRemoved) {
  const std::string input = dir_.Write("in.pdf", GetParam().pdf);
  const std::string output = dir_.Path("out.pdf");
  EXPECT_EQ(Repair(input, output), 1);
  ExpectReport(output);
  EXPECT_EQ(ReadBytes(input), GetParam().pdf);
  EXPECT_FALSE(koyo::platform::FileExists(output.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Documents, RepairBroken, ::testing::ValuesIn(BrokenDocuments()),
                         [](const ::testing::TestParamInfo<Broken>& info) { return std::string(info.param.name); });

// Lowers a resource limit for the rest of the test's scope.
class LimitScope {
public:
  LimitScope(int resource, rlim_t soft) : resource_(resource) {
    ::getrlimit(resource_, &saved_);
    struct rlimit lowered = saved_;
    lowered.rlim_cur = soft;
    ok_ = ::setrlimit(resource_, &lowered) == 0;
  }
  ~LimitScope() { ::setrlimit(resource_, &saved_); }
  bool ok() const { return ok_; }

private:
  int resource_;
  struct rlimit saved_;
  bool ok_ = false;
};

// The lowest file descriptor number not in use: with the limit at this
// number, no further file can be opened.
rlim_t LowestFreeDescriptor() {
  int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) ::close(fd);
  return static_cast<rlim_t>(fd);
}

// Stops every further file from being opened once the run skips a font.
class ExhaustDescriptors : public RepairObserver {
public:
  void OnSkipped(const FontVisit&, SkipReason) override { Exhaust(); }
  bool exhausted() const { return exhausted_; }
  // Lifts the limit again.
  void Release() { limit_.reset(); }

private:
  void Exhaust() {
    if (exhausted_) return;
    limit_ = std::make_unique<LimitScope>(RLIMIT_NOFILE, LowestFreeDescriptor());
    exhausted_ = limit_->ok();
  }
  std::unique_ptr<LimitScope> limit_;
  bool exhausted_ = false;
};

const std::string kOneFont = Document({"<< /F1 20 0 R >>"}, {{20, TrueType("IPAPGothic")}});

// Once the document is open, its path is made a directory: the file cannot be
// opened for appending.
class PathBecomesDirectory : public RepairObserver {
public:
  explicit PathBecomesDirectory(std::string path) : path_(std::move(path)) {}
  void OnDocument(int32_t) override {
    done_ = ::rename(path_.c_str(), (path_ + ".moved").c_str()) == 0 && ::mkdir(path_.c_str(), 0700) == 0;
  }
  // Puts the file back; false when the switch did not happen.
  bool Undo() {
    if (!done_) return false;
    ::rmdir(path_.c_str());
    return ::rename((path_ + ".moved").c_str(), path_.c_str()) == 0;
  }

private:
  std::string path_;
  bool done_ = false;
};

TEST_F(RepairFailures, SaveThatCannotOpenTheFileIsReportedAndLeavesTheFile) {
  const std::string input = dir_.Write("in.pdf", kOneFont);
  const std::string output = dir_.Path("out.pdf");
  ::truncate(log_.c_str(), 0);
  PathBecomesDirectory observer(output);
  EXPECT_EQ(Repair(input, output, &observer), 1);
  ASSERT_TRUE(observer.Undo());
  EXPECT_EQ(message_, "cannot save PDF Document: " + output);
  EXPECT_EQ(Log(), "%%[ Error: cannot save PDF Document: " + output + " ]%%\n" +
                       Dump("CPDFDoc", "Save", "Runtime Library Error", "Is a directory"));
  EXPECT_EQ(ReadBytes(input), kOneFont);
  EXPECT_EQ(ReadBytes(output), kOneFont);
  ::unlink(output.c_str());
}

// In place the repair works on a copy beside the file and puts it in the
// file's place only at the end: when that last step fails, the file is as it
// was and the copy is gone.
TEST_F(RepairFailures, InPlaceRepairThatCannotTakeTheFilesPlaceLeavesTheFile) {
  const std::string input = dir_.Write("in.pdf", kOneFont);
  ::truncate(log_.c_str(), 0);
  PathBecomesDirectory observer(input);
  EXPECT_EQ(Repair(input, "", &observer), 1);
  ASSERT_TRUE(observer.Undo());
  EXPECT_EQ(message_, "system error: Is a directory");
  EXPECT_EQ(ReadBytes(input), kOneFont);
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(input).parent_path())) {
    EXPECT_NE(entry.path().filename().string().rfind("lp", 0), 0u) << "left behind: " << entry.path();
  }
}

// Appending the update fails once the file may grow no further.
TEST_F(RepairFailures, FlushThatCannotWriteIsReportedAndLeavesNoTrace) {
  struct sigaction ignore = {}, saved = {};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &saved), 0);
  for (bool inPlace : {true, false}) {
    SCOPED_TRACE(inPlace ? "in place" : "into a copy");
    const std::string input = dir_.Write("in.pdf", kOneFont);
    const std::string output = inPlace ? "" : dir_.Path("out.pdf");
    const std::string target = inPlace ? input : output;
    ::truncate(log_.c_str(), 0);
    {
      LimitScope limit(RLIMIT_FSIZE, kOneFont.size());
      ASSERT_TRUE(limit.ok());
      EXPECT_EQ(Repair(input, output), 1);
    }
    EXPECT_EQ(message_, "cannot flush PDF Document: " + target);
    const std::string log = Log();
    const std::string line = "%%[ Error: cannot flush PDF Document: " + target + " ]%%\n";
    ASSERT_EQ(log.compare(0, line.size(), line), 0) << log;
    EXPECT_TRUE(std::regex_match(log.substr(line.size()), std::regex("Module: CPDF.+\nMethod: .+\nType: .+\nFactor: .*\n")))
        << log;
    // Byte for byte: a partial update must not stay at the end of the input.
    EXPECT_EQ(ReadBytes(input), kOneFont);
    if (!inPlace) {
      EXPECT_FALSE(koyo::platform::FileExists(output.c_str()));
    }
  }
  ::sigaction(SIGXFSZ, &saved, nullptr);
}

// A font whose installed file can no longer be read when its widths are
// measured cannot be created: the repair fails instead of writing widths of 0.
TEST_F(RepairFailures, FontWhoseWidthsCannotBeReadIsNotCreated) {
  // F1 makes the catalogue read the IPAPGothic face and is then skipped (its
  // CMap is embedded); F2 needs that face's widths.
  const std::string pdf = Document({"<< /F1 20 0 R /F2 21 0 R >>"},
                                   {{20, Type0("IPAPGothic", "42 0 R", 30)},
                                    {21, TrueType("IPAPGothic")},
                                    {30, CIDFont("IPAPGothic", "")},
                                    {42, kCMapStream}});
  // The same run without the limit first, and a failure that writes the log:
  // the sanitizers' runtime needs descriptors of its own for the first check
  // of each type, so it has to meet the types involved while it still can.
  const std::string warm = dir_.Write("warm.pdf", pdf);
  ASSERT_EQ(Repair(warm, ""), 0) << message_;
  EXPECT_EQ(Repair(dir_.Write("warm-fail.pdf", "GIF89a\n"), ""), 1);
  ::truncate(log_.c_str(), 0);
  const std::string path = dir_.Write("in.pdf", pdf);
  ExhaustDescriptors observer;
  EXPECT_EQ(Repair(path, "", &observer), 1);
  observer.Release();
  ASSERT_TRUE(observer.exhausted());
  EXPECT_EQ(message_, "cannot create PDF Font: IPAPGothic");
  const std::string log = Log();
  const std::string line = "%%[ Error: cannot create PDF Font: IPAPGothic ]%%\n";
  ASSERT_EQ(log.compare(0, line.size(), line), 0) << log;
  EXPECT_TRUE(std::regex_match(log.substr(line.size()), std::regex("Module: .+\nMethod: .+\nType: .+\nFactor: .*\n")))
      << log;
  EXPECT_EQ(ReadBytes(path), pdf);
}

TEST_F(RepairFailures, ALibraryThatCannotBeCreatedIsReported) {
  const std::string input = dir_.Write("in.pdf", kOneFont);
  const std::string output = dir_.Path("out.pdf");
  RepairOptions options;
  options.tempDir = "/" + std::string(5000, 't');
  EXPECT_EQ(RepairFile(input.c_str(), output.c_str(), "1.2.0", options, &message_), 1);
  EXPECT_EQ(message_, "cannot create PDFDriver");
  EXPECT_EQ(Log(), "cannot initialize libkoyo\n");
  EXPECT_FALSE(koyo::platform::FileExists(output.c_str()));
  EXPECT_EQ(ReadBytes(input), kOneFont);
}

// ---- the Info dictionary --------------------------------------------------------

std::string Now() {
  char text[32];
  std::time_t t = std::time(nullptr);
  std::tm local;
  ::localtime_r(&t, &local);
  std::strftime(text, sizeof text, "D:%Y%m%d%H%M%S", &local);
  return text;
}

// The date under key in an Info dictionary's text, or "".
std::string DateOf(const std::string& info, const std::string& key) {
  std::smatch m;
  return std::regex_search(info, m, std::regex("/" + key + " \\(([^)]*)\\)\r\n")) ? std::string(m[1]) : "";
}

struct InfoCase {
  const char* name;
  std::string info;          // the Info dictionary of the input ("" for none)
  std::string creationDate;  // expected after the repair; "now" for the save time
  std::string modDate;       // the same; "" for absent
};

void PrintTo(const InfoCase& c, std::ostream* os) { *os << c.name; }

class RepairInfo : public ::testing::TestWithParam<InfoCase> {};

TEST_P(RepairInfo, DatesFollowTheSaveRules) {
  const InfoCase& c = GetParam();
  ScratchDir dir;
  const std::string pdf = Document({"<< /F1 20 0 R >>"}, {{20, TrueType("IPAMincho")}}, c.info);
  const std::string path = dir.Write("in.pdf", pdf);
  const std::string before = Now();
  std::string message;
  ASSERT_EQ(RepairFile(path.c_str(), nullptr, "1.2.0", RepairOptions(), &message), 0) << message;
  const std::string after = Now();
  Update u = test::ExpectOneUpdate(pdf, ReadBytes(path));
  const long long infoNumber = [&] {
    std::smatch m;
    return std::regex_search(u.trailer, m, std::regex("/Info (\\d+) 0 R")) ? std::stoll(m[1]) : -1LL;
  }();
  ASSERT_GT(infoNumber, 0) << u.trailer;
  if (!c.info.empty()) {
    EXPECT_EQ(infoNumber, 3);
  }
  const std::string& info = u.Text(static_cast<int>(infoNumber));
  EXPECT_NE(info.find("/Producer (libkoyo)\r\n"), std::string::npos) << info;

  auto check = [&](const std::string& key, const std::string& expected) {
    const std::string value = DateOf(info, key);
    if (expected == "now") {
      // Fourteen digits, every field with its leading zeros, at the save time.
      EXPECT_TRUE(std::regex_match(value, std::regex("D:\\d{14}"))) << key << ": " << value;
      EXPECT_GE(value, before) << key;
      EXPECT_LE(value, after) << key;
    } else {
      EXPECT_EQ(value, expected) << key << " in " << info;
    }
  };
  check("CreationDate", c.creationDate);
  check("ModDate", c.modDate);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, RepairInfo,
    ::testing::Values(
        InfoCase{"CreationDateKept", "<< /CreationDate (D:20010203070509) /ModDate (D:2002) /Producer (x) >>",
                 "D:20010203070509", "now"},
        InfoCase{"CreationDateAdded", "<< /Title (t) /ModDate (D:20020101000000) >>", "now", "D:20020101000000"},
        InfoCase{"NoInfo", "", "now", ""}),
    [](const ::testing::TestParamInfo<InfoCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kanafix
