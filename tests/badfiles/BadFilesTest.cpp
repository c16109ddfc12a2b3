// Damaged files and hostile paths through the exported repair, one child
// process per case: each case's expected result, caller message and log lines
// come from tests/data/badfiles/expected.tsv. Beyond the expected outcome,
// every case must end without a crash, a hang or a leak, keep the input's
// bytes (an in-place success may only append to them), and leave either no
// output or a complete one, with no temporary file behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "front/kanafix.h"

#if defined(__SANITIZE_ADDRESS__)
#define BADFILES_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BADFILES_LEAK_CHECK 1
#endif
#endif
#ifdef BADFILES_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace fs = std::filesystem;

namespace {

// Child exit codes besides 0.
constexpr int kSetupImpossible = 77;  // the machine cannot stage this case
constexpr int kLeaked = 66;
constexpr int kSetupFailed = 65;
// A case that runs longer than this hangs.
constexpr unsigned kTimeoutSeconds = 60;

struct Case {
  std::string name;
  std::string input;   // fixture file, or @directory, @fifo, @under-file, @missing
  std::string output;  // new, inplace, @under-file, @readonly-dir, @fifo, @device, @file-size-limit
  bool inPlace = false;
  bool readOnlyInput = false;  // inplace with the input in a read-only directory
  bool sizeLimit = false;      // inplace with a file size limit
  int result = 0;
  std::string message;
  std::string log;  // none, line or dump
  std::string module, method, type, factor;
  int line = 0;
};

// Names the case in gtest's messages instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name << " (expected.tsv line " << c.line << ")"; }

std::string DataDir() { return std::string(KOYO_TEST_DATA) + "/badfiles"; }

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> out;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, sep)) out.push_back(field);
  if (!line.empty() && line.back() == sep) out.emplace_back();
  return out;
}

std::vector<std::string>& TableErrors() {
  static std::vector<std::string> errors;
  return errors;
}

// Reads the table; a row whose output is "both" becomes a run into a new file
// and a run in place, with the same expected outcome.
std::vector<Case> LoadTable() {
  std::vector<Case> cases;
  std::ifstream in(DataDir() + "/expected.tsv");
  if (!in) {
    TableErrors().push_back("cannot read expected.tsv");
    return cases;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = Split(line, '\t');
    if (f.size() != 10) {
      TableErrors().push_back("line " + std::to_string(number) + ": " + std::to_string(f.size()) +
                              " fields instead of 10");
      continue;
    }
    Case c;
    c.name = f[0];
    c.input = f[1];
    c.output = f[2];
    c.result = std::atoi(f[3].c_str());
    c.message = f[4];
    c.log = f[5];
    c.module = f[6];
    c.method = f[7];
    c.type = f[8];
    c.factor = f[9];
    c.line = number;
    if (c.log != "none" && c.log != "line" && c.log != "dump") {
      TableErrors().push_back("line " + std::to_string(number) + ": log must be none, line or dump");
      continue;
    }
    if (c.output == "both") {
      Case out = c, place = c;
      out.output = "new";
      out.name += "_into_new_file";
      place.output = "inplace";
      place.inPlace = true;
      place.name += "_in_place";
      cases.push_back(out);
      cases.push_back(place);
      continue;
    }
    c.inPlace = c.output == "inplace" || c.output == "inplace@readonly-dir" || c.output == "inplace@file-size-limit";
    c.readOnlyInput = c.output == "inplace@readonly-dir";
    c.sizeLimit = c.output == "inplace@file-size-limit" || c.output == "@file-size-limit";
    cases.push_back(c);
  }
  return cases;
}

const std::vector<Case>& Table() {
  static const std::vector<Case> cases = LoadTable();
  return cases;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

bool QpdfAvailable() {
  static const bool available = std::system("qpdf --version >/dev/null 2>&1") == 0;
  return available;
}

// qpdf's exit status for --check: 0 clean, 2 errors, 3 warnings only.
int QpdfCheck(const fs::path& path) {
  std::string command = "qpdf --check '" + path.string() + "' >/dev/null 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Makes the directory read-only for this process only: a private mount
// namespace and a read-only bind mount of the directory onto itself.
bool MakeReadOnly(const std::string& dir) {
  if (::unshare(CLONE_NEWNS) != 0) return false;
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  if (::mount(dir.c_str(), dir.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
  return ::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

struct Outcome {
  bool exited = false;
  int exitCode = -1;
  int signal = 0;
  int result = -1;
  std::string message;
};

class BadFiles : public testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kanafix-badfiles-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::create_directory(dir_ / "tmp");
  }
  void TearDown() override {
    std::error_code ignored;
    if (!dir_.empty()) fs::remove_all(dir_, ignored);
  }

  // Runs KanafixInitialize and DoKanafix in a child of a process that never
  // called either, so every case starts with a closed log and no stored state.
  Outcome Run(const Case& c, const std::string& input, const char* output, long sizeLimit) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(fds[0]);
      ::alarm(kTimeoutSeconds);
      if (c.output == "@readonly-dir" || c.readOnlyInput) {
        if (!MakeReadOnly((dir_ / "ro").string())) ::_exit(kSetupImpossible);
      }
      if (sizeLimit > 0) {
        // Writing past the limit must fail with EFBIG instead of killing.
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {static_cast<rlim_t>(sizeLimit), static_cast<rlim_t>(sizeLimit)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(kSetupFailed);
      }
      const std::string log = (dir_ / "log").string();
      const std::string tmp = (dir_ / "tmp").string();
      if (KanafixInitialize(log.c_str(), tmp.c_str()) != 1) ::_exit(kSetupFailed);
      char text[KANAFIX_ERROR_TEXT_SIZE] = "";
      int result = DoKanafix(input.c_str(), output, text, KANAFIX_INTERFACE_VERSION);
      std::string report = std::to_string(result) + "\n" + text;
      if (::write(fds[1], report.data(), report.size()) != static_cast<ssize_t>(report.size())) ::_exit(kSetupFailed);
      ::close(fds[1]);
#ifdef BADFILES_LEAK_CHECK
      if (__lsan_do_recoverable_leak_check() != 0) ::_exit(kLeaked);
#endif
      ::_exit(0);
    }
    ::close(fds[1]);
    std::string report;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) != 0;) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      report.append(buf, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    Outcome o;
    o.exited = WIFEXITED(status);
    o.exitCode = o.exited ? WEXITSTATUS(status) : -1;
    o.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    size_t newline = report.find('\n');
    if (newline != std::string::npos) {
      o.result = std::atoi(report.substr(0, newline).c_str());
      o.message = report.substr(newline + 1);
    }
    return o;
  }

  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    std::ifstream in(dir_ / "log");
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  fs::path dir_;
};

TEST(BadFilesTable, IsWellFormed) {
  ASSERT_FALSE(Table().empty());
  for (const std::string& error : TableErrors()) ADD_FAILURE() << "expected.tsv " << error;
  std::set<std::string> names;
  for (const Case& c : Table()) EXPECT_TRUE(names.insert(c.name).second) << "duplicate case " << c.name;
}

TEST_P(BadFiles, EndsAsExpectedAndKeepsTheFiles) {
  const Case& c = GetParam();
  SCOPED_TRACE("expected.tsv line " + std::to_string(c.line));

  // Stage the input.
  const fs::path home = c.readOnlyInput || c.output == "@readonly-dir" ? dir_ / "ro" : dir_;
  fs::create_directories(home);
  std::string original;
  fs::path input = home / "in.pdf";
  if (c.input == "@directory") {
    fs::create_directory(input);
  } else if (c.input == "@fifo") {
    ASSERT_EQ(::mkfifo(input.c_str(), 0600), 0);
  } else if (c.input == "@missing") {
  } else {
    const std::string fixture = c.input == "@under-file" ? "base.pdf" : c.input;
    original = ReadBytes(DataDir() + "/" + fixture);
    ASSERT_TRUE(fs::exists(DataDir() + "/" + fixture)) << fixture;
    fs::copy_file(DataDir() + "/" + fixture, input);
    if (c.input == "@under-file") input /= "x";
  }
  const bool regularInput = fs::is_regular_file(input);

  // Stage the output.
  fs::path output;
  if (!c.inPlace) {
    output = c.output == "@readonly-dir" ? dir_ / "ro" / "out.pdf" : dir_ / "out.pdf";
    if (c.output == "@under-file") output = home / "in.pdf" / "out.pdf";
    if (c.output == "@fifo") {
      ASSERT_EQ(::mkfifo(output.c_str(), 0600), 0);
    }
    if (c.output == "@device" && ::mknod(output.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
      GTEST_SKIP() << "cannot make a device node here";
    }
  }
  const long sizeLimit = c.sizeLimit ? static_cast<long>(original.size()) + 300 : 0;

  const std::string outputText = output.string();
  Outcome o = Run(c, input.string(), c.inPlace ? nullptr : outputText.c_str(), sizeLimit);
  if (o.exited && o.exitCode == kSetupImpossible) GTEST_SKIP() << "cannot mount a read-only directory here";
  ASSERT_NE(o.signal, SIGALRM) << "no answer within " << kTimeoutSeconds << " s";
  ASSERT_EQ(o.signal, 0) << "killed by signal " << o.signal << " (" << strsignal(o.signal) << ")";
  ASSERT_NE(o.exitCode, kLeaked) << "memory leaked";
  ASSERT_EQ(o.exitCode, 0);

  // The answer.
  const std::string target = c.inPlace ? input.string() : output.string();
  const std::string message = Replace(c.message, "{target}", target);
  EXPECT_EQ(o.result, c.result);
  EXPECT_EQ(o.message, c.result == 0 ? std::string() : message);
  std::vector<std::string> expectedLog;
  if (c.log != "none") expectedLog.push_back("%%[ Error: " + message + " ]%%");
  if (c.log == "dump") {
    expectedLog.push_back("Module: " + c.module);
    expectedLog.push_back("Method: " + c.method);
    expectedLog.push_back("Type: " + c.type);
    expectedLog.push_back("Factor: " + Replace(c.factor, "{target}", target));
  }
  EXPECT_EQ(LogLines(), expectedLog);

  // The input keeps its bytes; a successful repair in place only appends.
  const fs::path source = c.input == "@under-file" ? input.parent_path() : input;
  if (!original.empty() || regularInput) {
    const std::string now = ReadBytes(source);
    if (c.inPlace && o.result == 0) {
      EXPECT_GT(now.size(), original.size());
      EXPECT_EQ(now.compare(0, original.size(), original), 0) << "the original bytes changed";
    } else {
      EXPECT_EQ(now, original) << "the input changed";
    }
  } else if (c.input == "@directory") {
    EXPECT_TRUE(fs::is_directory(input));
  } else if (c.input == "@fifo") {
    EXPECT_TRUE(fs::is_fifo(input));
  }

  // The output is complete or absent; nodes that were there are left alone.
  if (!c.inPlace) {
    if (c.output == "@fifo") {
      EXPECT_TRUE(fs::is_fifo(output));
    } else if (c.output == "@device") {
      EXPECT_TRUE(fs::is_character_file(output));
    } else if (o.result == 0) {
      const std::string written = ReadBytes(output);
      EXPECT_GT(written.size(), original.size());
      EXPECT_EQ(written.compare(0, original.size(), original), 0) << "the copy does not start with the input";
    } else {
      EXPECT_FALSE(fs::exists(fs::symlink_status(output))) << "a failed run left " << output;
    }
  }
  if (o.result == 0 && QpdfAvailable()) {
    // The repair adds no damage: the result checks clean, or no worse than
    // the damaged input did.
    const int before = QpdfCheck(DataDir() + "/" + c.input);
    const int after = QpdfCheck(c.inPlace ? source : output);
    EXPECT_TRUE(after == 0 || after == before) << "qpdf --check gives " << after << ", the input " << before;
  }

  // Nothing else is left behind: no temporary file, no stray copy.
  std::set<std::string> allowed = {"in.pdf", "log", "tmp", "ro", "out.pdf"};
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_TRUE(allowed.count(entry.path().filename().string())) << "left behind: " << entry.path();
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "tmp")) << "a temporary file was left behind";
  if (fs::exists(dir_ / "ro")) {
    for (const auto& entry : fs::directory_iterator(dir_ / "ro")) {
      EXPECT_EQ(entry.path().filename(), "in.pdf") << "left behind: " << entry.path();
    }
  }
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (char ch : info.param.name) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Table, BadFiles, testing::ValuesIn(Table()), CaseName);

}  // namespace
