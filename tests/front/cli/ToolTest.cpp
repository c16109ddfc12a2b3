// The built tool on copies of the example files, with only the IPA fonts
// visible to it.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "JsonValue.h"

namespace kanafix::cli {
namespace {

namespace fs = std::filesystem;
using test::JsonValue;

const char* const kExamples[] = {"truetype-ipa.pdf",   "truetype-heisei.pdf", "type0-nowidths.pdf",
                                 "shared-fonts.pdf",   "nested-tree.pdf",     "style-suffix.pdf",
                                 "reportlab-heisei.pdf"};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct Result {
  int status = -1;
  std::string out, err;
};

class Tool : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kanafix-tool-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    // Only the IPA fonts, with a font cache of the test's own.
    std::ofstream(dir_ / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                                          "<dir>/usr/share/fonts/opentype/ipafont-mincho</dir>\n"
                                          "<dir>/usr/share/fonts/opentype/ipafont-gothic</dir>\n"
                                          "<cachedir>"
                                       << (dir_ / "fontcache").string() << "</cachedir>\n</fontconfig>\n";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Copies the named examples into folder (under the test folder) and returns
  // their paths relative to the test folder.
  std::vector<std::string> Copy(const std::string& folder, std::vector<std::string> names = {}) {
    if (names.empty()) names.assign(std::begin(kExamples), std::end(kExamples));
    fs::create_directories(dir_ / folder);
    std::vector<std::string> paths;
    for (const std::string& name : names) {
      fs::copy_file(fs::path(KOYO_SOURCE_DIR) / "examples" / name, dir_ / folder / name,
                    fs::copy_options::overwrite_existing);
      paths.push_back(folder + "/" + name);
    }
    return paths;
  }

  // Runs the tool in the test folder with stdout and stderr in files.
  Result Run(const std::vector<std::string>& args) {
    std::string command = "cd " + Quote(dir_.string()) + " && FONTCONFIG_FILE=" + Quote((dir_ / "fonts.conf").string()) +
                          " " + Quote(std::string(KOYO_BINARY_DIR) + "/kanafix");
    for (const std::string& a : args) command += " " + Quote(a);
    command += " >" + Quote((dir_ / "stdout").string()) + " 2>" + Quote((dir_ / "stderr").string());
    Result r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(dir_ / "stdout");
    r.err = ReadFile(dir_ / "stderr");
    return r;
  }

  std::vector<JsonValue> JsonLines(const std::string& text) {
    std::vector<JsonValue> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
      JsonValue v;
      std::string error;
      EXPECT_TRUE(test::ParseJson(line, &v, &error)) << error << ": " << line;
      values.push_back(std::move(v));
    }
    return values;
  }

  fs::path dir_;
};

// What the repair of each example must do: object number -> new encoding.
const std::map<std::string, std::map<int, std::string>> kReplaced = {
    {"truetype-ipa.pdf", {{1, "90ms-RKSJ-H"}, {2, "90msp-RKSJ-H"}, {3, "90ms-RKSJ-H"}, {4, "90msp-RKSJ-H"}}},
    {"truetype-heisei.pdf", {{1, "90ms-RKSJ-H"}, {2, "90ms-RKSJ-H"}}},
    {"type0-nowidths.pdf", {{3, "90ms-RKSJ-H"}, {6, "90msp-RKSJ-H"}, {9, "90ms-RKSJ-H"}, {12, "90msp-RKSJ-H"}}},
    {"shared-fonts.pdf", {{1, "90msp-RKSJ-H"}, {3, "90ms-RKSJ-H"}}},
    {"nested-tree.pdf", {{1, "90ms-RKSJ-H"}, {2, "90ms-RKSJ-H"}, {3, "90msp-RKSJ-H"}}},
    {"style-suffix.pdf", {{1, "90msp-RKSJ-H"}, {2, "90ms-RKSJ-H"}, {3, "90msp-RKSJ-H"}, {4, "90ms-RKSJ-H"}, {5, "90ms-RKSJ-H"}}},
    {"reportlab-heisei.pdf", {{3, "UniJIS-UCS2-H"}, {4, "UniJIS-UCS2-H"}}},
};

TEST_F(Tool, JsonReportOfEveryExample) {
  const auto inputs = Copy("in");
  fs::create_directory(dir_ / "out");
  std::vector<std::string> args = {"--json", "-o", "out"};
  args.insert(args.end(), inputs.begin(), inputs.end());
  const Result r = Run(args);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), std::size(kExamples));
  for (size_t i = 0; i < lines.size(); ++i) {
    const JsonValue& v = lines[i];
    const std::string name = kExamples[i];
    EXPECT_EQ(v["file"].text, "in/" + name);
    EXPECT_EQ(v["output"].text, "out/" + name);
    EXPECT_EQ(v["status"].text, "ok") << name;
    std::map<int, std::string> replaced;
    for (const JsonValue& f : v["replaced"].items) {
      EXPECT_TRUE(replaced.emplace(static_cast<int>(f["object"].number), f["encoding"].text).second)
          << name << ": object reported twice";
      EXPECT_GE(f["page"].number, 1);
    }
    EXPECT_EQ(replaced, kReplaced.at(name)) << name;
    // The output is the input with an update appended.
    const std::string in = ReadFile(dir_ / "in" / name), out = ReadFile(dir_ / "out" / name);
    EXPECT_GT(out.size(), in.size()) << name;
    EXPECT_EQ(out.compare(0, in.size(), in), 0) << name;
  }
  // style-suffix: BaseFonts as written, the Shift-JIS one decoded.
  std::map<int, std::pair<std::string, std::string>> style;
  for (const JsonValue& f : lines[5]["replaced"].items) {
    style[static_cast<int>(f["object"].number)] = {f["subtype"].text, f["baseFont"].text};
  }
  EXPECT_EQ(style[1], std::make_pair(std::string("TrueType"), std::string("IPAPGothic,Bold")));
  EXPECT_EQ(style[2].second, "IPA Mincho,Italic");
  EXPECT_EQ(style[3].second, "IPA P\xe6\x98\x8e\xe6\x9c\x9d");
  EXPECT_EQ(style[4].second, "IPA\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf,Bold");
  // type0-nowidths: old subtype Type0.
  EXPECT_EQ(lines[2]["replaced"][0]["subtype"].text, "Type0");
  // shared-fonts: Helvetica left alone (listed once, on the first page it is
  // met), the direct dictionary too.
  std::multiset<std::string> skipped;
  for (const JsonValue& f : lines[3]["skipped"].items) {
    skipped.insert(f["baseFont"].text + "/" + f["reason"].text);
    if (f["reason"].text == "direct") {
      EXPECT_EQ(f["object"].kind, JsonValue::kNull);
      EXPECT_EQ(f["resource"].text, "D1");
      EXPECT_EQ(f["page"].number, 3);
    }
  }
  EXPECT_EQ(skipped, (std::multiset<std::string>{"Helvetica/not-installed", "IPAGothic/direct"}));
  EXPECT_EQ(lines[3]["pages"].number, 3);
  // Summary on stderr.
  EXPECT_NE(r.err.find("7 files: 7 repaired, 0 with nothing to do, 0 failed; 22 fonts replaced"), std::string::npos)
      << r.err;
}

TEST_F(Tool, TextReportOfOneFile) {
  Copy("in", {"shared-fonts.pdf"});
  const Result r = Run({"in/shared-fonts.pdf", "repaired.pdf"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "in/shared-fonts.pdf -> repaired.pdf: 3 pages, 2 fonts replaced, 2 left alone\n"
            "  page 1  F1  1 0 R   TrueType  IPAPMincho  -> 90msp-RKSJ-H\n"
            "  page 3  G1  3 0 R   TrueType  IPAGothic   -> 90ms-RKSJ-H\n"
            "  page 1  H   2 0 R   Type1     Helvetica   left alone: not installed\n"
            "  page 3  D1  direct  TrueType  IPAGothic   left alone: direct font dictionary\n");
  EXPECT_TRUE(fs::exists(dir_ / "repaired.pdf"));
}

// A PDF file of the given objects (numbered from 1) and trailer entries.
std::string PdfOf(const std::vector<std::string>& objects, const std::string& trailer) {
  std::string text = "%PDF-1.3\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(text.size());
    text += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const size_t xref = text.size();
  text += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) {
    std::string number = std::to_string(offset);
    text += std::string(10 - number.size(), '0') + number + " 00000 n \n";
  }
  text += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " " + trailer + " >>\nstartxref\n" +
          std::to_string(xref) + "\n%%EOF\n";
  return text;
}

TEST_F(Tool, PagesTakingTurnsWithIndirectResources) {
  // Pages 1 and 3 use resources 7 (whose Font dictionary 9 is indirect), pages
  // 2 and 4 resources 8; the last page inherits 7 from the root node.
  const std::string page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842]";
  const std::string pdf = PdfOf(
      {
          "<< /Type /Catalog /Pages 2 0 R >>",
          "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R 6 0 R 13 0 R] /Count 5 /Resources 7 0 R >>",
          page + " /Resources 7 0 R >>",
          page + " /Resources 8 0 R >>",
          page + " /Resources 7 0 R >>",
          page + " /Resources 8 0 R >>",
          "<< /Font 9 0 R >>",
          "<< /Font << /F1 10 0 R /H 12 0 R >> >>",
          "<< /F1 10 0 R /F2 11 0 R >>",
          "<< /Type /Font /Subtype /TrueType /BaseFont /IPAMincho >>",
          "<< /Type /Font /Subtype /TrueType /BaseFont /IPAGothic >>",
          "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
          page + " >>",
      },
      "/Root 1 0 R");
  fs::create_directories(dir_ / "in");
  std::ofstream(dir_ / "in" / "turns.pdf", std::ios::binary) << pdf;

  const Result r = Run({"--json", "in/turns.pdf", "turns.pdf"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["pages"].number, 5);
  std::map<int, std::pair<int, std::string>> replaced;
  for (const JsonValue& f : lines[0]["replaced"].items) {
    replaced[static_cast<int>(f["object"].number)] = {static_cast<int>(f["page"].number), f["subtype"].text};
  }
  EXPECT_EQ(replaced, (std::map<int, std::pair<int, std::string>>{{10, {1, "TrueType"}}, {11, {1, "TrueType"}}}));
  ASSERT_EQ(lines[0]["skipped"].items.size(), 1u);
  EXPECT_EQ(lines[0]["skipped"][0]["baseFont"].text, "Helvetica");
  EXPECT_EQ(lines[0]["skipped"][0]["page"].number, 2);

  // The repaired file reads back with both fonts, now composite, where the
  // pages find them.
  const Result again = Run({"--json", "--dry-run", "turns.pdf"});
  ASSERT_EQ(again.status, 0) << again.err;
  const auto check = JsonLines(again.out);
  ASSERT_EQ(check.size(), 1u);
  std::map<int, std::string> subtypes;
  for (const JsonValue& f : check[0]["replaced"].items) subtypes[static_cast<int>(f["object"].number)] = f["subtype"].text;
  EXPECT_EQ(subtypes, (std::map<int, std::string>{{10, "Type0"}, {11, "Type0"}}));
}

TEST_F(Tool, DryRunWritesNothingAndReportsWhatARunWouldDo) {
  const auto inputs = Copy("in");
  std::map<std::string, std::pair<std::string, struct timespec>> before;
  for (const std::string& p : inputs) {
    struct stat st;
    ASSERT_EQ(::stat((dir_ / p).c_str(), &st), 0);
    before[p] = {ReadFile(dir_ / p), st.st_mtim};
  }
  std::vector<std::string> args = {"--json", "--dry-run"};
  args.insert(args.end(), inputs.begin(), inputs.end());
  const Result dry = Run(args);
  ASSERT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(fs::directory_iterator(dir_ / "in") == fs::directory_iterator(), false);
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_ / "in")) ++count;
  EXPECT_EQ(count, inputs.size()) << "a dry run left a file behind";
  for (const std::string& p : inputs) {
    struct stat st;
    ASSERT_EQ(::stat((dir_ / p).c_str(), &st), 0);
    EXPECT_EQ(ReadFile(dir_ / p), before[p].first) << p;
    EXPECT_EQ(st.st_mtim.tv_sec, before[p].second.tv_sec) << p;
    EXPECT_EQ(st.st_mtim.tv_nsec, before[p].second.tv_nsec) << p;
  }
  const auto lines = JsonLines(dry.out);
  ASSERT_EQ(lines.size(), inputs.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i]["dryRun"].boolean);
    std::map<int, std::string> replaced;
    for (const JsonValue& f : lines[i]["replaced"].items) replaced[static_cast<int>(f["object"].number)] = f["encoding"].text;
    EXPECT_EQ(replaced, kReplaced.at(kExamples[i])) << kExamples[i];
  }
  // --list-fonts is the same thing, and its text report says so.
  const Result list = Run({"--list-fonts", inputs[0]});
  ASSERT_EQ(list.status, 0);
  EXPECT_EQ(list.out.substr(0, list.out.find('\n')), "in/truetype-ipa.pdf (dry run): 1 page, 4 fonts to replace");
  EXPECT_EQ(ReadFile(dir_ / inputs[0]), before[inputs[0]].first);
}

TEST_F(Tool, OutputFolderResolvesNameClashesInInputOrder) {
  Copy("a", {"truetype-ipa.pdf"});
  Copy("b", {"truetype-heisei.pdf"});
  fs::rename(dir_ / "b/truetype-heisei.pdf", dir_ / "b/truetype-ipa.pdf");
  Copy("c", {"nested-tree.pdf"});
  fs::rename(dir_ / "c/nested-tree.pdf", dir_ / "c/truetype-ipa.pdf");
  fs::create_directory(dir_ / "out");
  const Result r = Run({"--json", "-j", "2", "-o", "out", "a/truetype-ipa.pdf", "b/truetype-ipa.pdf", "c/truetype-ipa.pdf"});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 3u);
  const char* outputs[] = {"out/truetype-ipa.pdf", "out/truetype-ipa-2.pdf", "out/truetype-ipa-3.pdf"};
  const char* inputs[] = {"a/truetype-ipa.pdf", "b/truetype-ipa.pdf", "c/truetype-ipa.pdf"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i]["output"].text, outputs[i]);
    // Each output holds its own input.
    const std::string in = ReadFile(dir_ / inputs[i]), out = ReadFile(dir_ / outputs[i]);
    EXPECT_EQ(out.compare(0, in.size(), in), 0) << outputs[i];
  }
  EXPECT_EQ(lines[0]["renamedFrom"].kind, JsonValue::kNull);
  EXPECT_EQ(lines[1]["renamedFrom"].text, "truetype-ipa.pdf");
  EXPECT_NE(r.err.find("b/truetype-ipa.pdf: 'truetype-ipa.pdf' is taken by an earlier input, writing out/truetype-ipa-2.pdf"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("c/truetype-ipa.pdf: 'truetype-ipa.pdf' is taken by an earlier input, writing out/truetype-ipa-3.pdf"),
            std::string::npos)
      << r.err;
}

TEST_F(Tool, DamagedFileFailsAloneInABatch) {
  for (const char* mode : {"-o", "--in-place"}) {
    SCOPED_TRACE(mode);
    fs::remove_all(dir_ / "in");
    fs::remove_all(dir_ / "out");
    auto inputs = Copy("in", {"truetype-ipa.pdf", "nested-tree.pdf", "reportlab-heisei.pdf"});
    // A file cut off in the middle, listed second.
    const std::string whole = ReadFile(dir_ / inputs[0]);
    std::ofstream(dir_ / "in/damaged.pdf", std::ios::binary) << whole.substr(0, whole.size() / 3);
    inputs.insert(inputs.begin() + 1, "in/damaged.pdf");
    const std::string damaged = ReadFile(dir_ / "in/damaged.pdf");
    std::map<std::string, std::string> original;
    for (const std::string& p : inputs) original[p] = ReadFile(dir_ / p);

    std::vector<std::string> args;
    if (std::string(mode) == "-o") {
      fs::create_directory(dir_ / "out");
      args = {"-o", "out"};
    } else {
      args = {"--in-place"};
    }
    args.insert(args.end(), {"-j", "2"});
    args.insert(args.end(), inputs.begin(), inputs.end());
    const Result r = Run(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("4 files: 3 repaired, 0 with nothing to do, 1 failed; 9 fonts replaced\n"
                         "failed: in/damaged.pdf: "),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("kanafix: in/damaged.pdf: "), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("damaged"), std::string::npos) << r.out;
    for (const std::string& p : inputs) {
      const std::string name = fs::path(p).filename();
      const fs::path written = std::string(mode) == "-o" ? dir_ / "out" / name : dir_ / p;
      if (name == "damaged.pdf") {
        // Nothing written for it, and the input as it was.
        EXPECT_EQ(ReadFile(dir_ / p), damaged);
        if (std::string(mode) == "-o") {
          EXPECT_FALSE(fs::exists(written));
        }
      } else {
        const std::string out = ReadFile(written);
        EXPECT_GT(out.size(), original[p].size()) << p;
        EXPECT_EQ(out.compare(0, original[p].size(), original[p]), 0) << p;
      }
    }
  }
}

TEST_F(Tool, TwoWorkersWriteTheSameFilesAndReportAsOne) {
  std::vector<std::string> inputs = Copy("in");
  const auto more = Copy("in2");
  inputs.insert(inputs.end(), more.begin(), more.end());
  Result results[2];
  for (int jobs : {1, 2}) {
    const std::string out = "out" + std::to_string(jobs);
    fs::create_directory(dir_ / out);
    std::vector<std::string> args = {"-j", std::to_string(jobs), "-o", out};
    args.insert(args.end(), inputs.begin(), inputs.end());
    results[jobs - 1] = Run(args);
    ASSERT_EQ(results[jobs - 1].status, 0) << results[jobs - 1].err;
  }
  // The same report but for the folder's name.
  auto folder = [](std::string text, const std::string& from) {
    for (size_t pos; (pos = text.find(from)) != std::string::npos;) text.replace(pos, from.size(), "OUT/");
    return text;
  };
  EXPECT_EQ(folder(results[0].out, "out1/"), folder(results[1].out, "out2/"));
  EXPECT_EQ(folder(results[0].err, "out1/"), folder(results[1].err, "out2/"));
  EXPECT_NE(results[0].out.find("out1/truetype-ipa-2.pdf"), std::string::npos);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir_ / "out1")) names.push_back(entry.path().filename());
  ASSERT_EQ(names.size(), inputs.size());
  // The update stamps the time of the save as ModDate (D:YYYYMMDDHHmmSS...),
  // which may tick between the two runs; every other byte must be equal.
  auto withoutTime = [](std::string pdf) {
    const std::string key = "/ModDate (D:";
    for (size_t pos = pdf.find(key); pos != std::string::npos; pos = pdf.find(key, pos + 1)) {
      for (size_t i = pos + key.size(); i < pdf.size() && pdf[i] >= '0' && pdf[i] <= '9'; ++i) pdf[i] = '0';
    }
    return pdf;
  };
  for (const std::string& name : names) {
    const std::string one = ReadFile(dir_ / "out1" / name), two = ReadFile(dir_ / "out2" / name);
    EXPECT_EQ(one.size(), two.size()) << name;
    EXPECT_TRUE(withoutTime(one) == withoutTime(two)) << name;
    EXPECT_NE(one.find("/ModDate (D:"), std::string::npos) << name;
  }
  // Not a terminal: no progress line, no control characters.
  EXPECT_EQ(results[1].err.find_first_of("\r\x1b"), std::string::npos);
}

TEST_F(Tool, ProgressLineOnATerminalIsClearedBeforeTheSummary) {
  std::vector<std::string> inputs = Copy("in");
  fs::create_directory(dir_ / "out");
  std::vector<std::string> args = {"kanafix", "-j", "2", "-o", "out"};
  args.insert(args.end(), inputs.begin(), inputs.end());

  struct winsize size = {};
  size.ws_row = 24;
  size.ws_col = 100;
  int terminal = -1;
  const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, &size);
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::chdir(dir_.c_str()) != 0) ::_exit(126);
    ::setenv("FONTCONFIG_FILE", (dir_ / "fonts.conf").c_str(), 1);
    const std::string tool = std::string(KOYO_BINARY_DIR) + "/kanafix";
    ::execv(tool.c_str(), argv.data());
    ::_exit(127);
  }
  std::string screen;
  char buffer[4096];
  ssize_t n;
  // The terminal reports EIO once the tool and every worker have closed it.
  while ((n = ::read(terminal, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) screen.append(buffer, static_cast<size_t>(n));
  }
  ::close(terminal);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << screen;

  EXPECT_NE(screen.find("\r[...................................."), std::string::npos) << screen;
  const size_t last = screen.rfind("7/7 files  22 fonts");
  ASSERT_NE(last, std::string::npos) << screen;
  const size_t summary = screen.find("7 files: 7 repaired, 0 with nothing to do, 0 failed; 22 fonts replaced");
  ASSERT_NE(summary, std::string::npos) << screen;
  // The last progress line is erased right before the summary.
  EXPECT_LT(last, summary);
  EXPECT_EQ(screen.substr(summary - 4, 4), "\r\x1b[K") << screen;
  // Every line drawn fits the terminal.
  for (size_t pos = screen.find('['); pos != std::string::npos; pos = screen.find("\r[", pos + 1)) {
    const size_t end = screen.find('\x1b', pos);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LT(end - pos, 100u);
  }
}

TEST_F(Tool, UsageErrorsExitTwoAndTouchNothing) {
  const auto inputs = Copy("in", {"truetype-ipa.pdf", "nested-tree.pdf", "shared-fonts.pdf"});
  const std::string before = ReadFile(dir_ / inputs[0]);
  const std::vector<std::vector<std::string>> cases = {
      {},
      {inputs[0], inputs[1], inputs[2]},
      {"-o", "in", "--in-place", inputs[0]},
      {"-j", "0", inputs[0]},
      {"--frobnicate", inputs[0]},
      {"-o", "missing-folder", inputs[0]},
      {"--in-place", inputs[0], "in/../" + inputs[0]},
      {"-o", "in", inputs[0], "./" + inputs[0]},
      {"-o", "in", inputs[0]},  // the output is the input itself: repaired in place
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const Result r = Run(cases[i]);
    if (i + 1 == cases.size()) {
      // -o naming the input's own folder repairs in place.
      EXPECT_EQ(r.status, 0) << r.err;
      continue;
    }
    EXPECT_EQ(r.status, 2) << i << ": " << r.err;
    EXPECT_EQ(r.out, "") << i;
    EXPECT_NE(r.err.find("kanafix: "), std::string::npos) << i;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << i;
    EXPECT_EQ(ReadFile(dir_ / inputs[0]), before) << i;
  }
}

TEST_F(Tool, HelpVersionAndSingleFileFailure) {
  Result r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Usage: kanafix", 0), 0u) << r.out;
  r = Run({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("1.2.0"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("2.9.0"), std::string::npos) << r.out;

  r = Run({"no-such.pdf"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "kanafix: no-such.pdf: file not found: no-such.pdf\n");
}

}  // namespace
}  // namespace kanafix::cli
