// Test helpers for saving: file contents, an independent reader of the written
// cross-reference sections and trailers, the external PDF checker, and a
// child process for runs under a file-size limit.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

#include "tests/document/PdfFixture.h"

namespace koyo::test {

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The value after the last "startxref" of a file's text; -1 when missing.
inline int64_t LastStartXRef(const std::string& text) {
  size_t at = text.rfind("startxref");
  if (at == std::string::npos) return -1;
  return std::strtoll(text.c_str() + at + 9, nullptr, 10);
}

struct WrittenEntry {
  int64_t offset = -1;
  int generation = -1;
  char type = '?';
};

// One cross-reference section as written, read strictly: every entry line is
// exactly 20 bytes ending in CR LF. The subsections in order, the entries by
// number, and the trailer text up to "startxref".
struct WrittenSection {
  bool ok = false;
  std::string error;
  std::vector<std::pair<int, int>> subsections;
  std::map<int, WrittenEntry> entries;
  std::string trailer;
};

inline WrittenSection ReadSection(const std::string& text, int64_t offset) {
  WrittenSection s;
  auto line = [&](size_t& at) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) return std::string("\x01");
    std::string l = text.substr(at, end - at);
    at = end + 2;
    return l;
  };
  if (offset < 0 || static_cast<size_t>(offset) >= text.size()) {
    s.error = "offset outside the file";
    return s;
  }
  size_t at = static_cast<size_t>(offset);
  if (line(at) != "xref") {
    s.error = "no xref line at the offset";
    return s;
  }
  for (;;) {
    size_t start = at;
    std::string header = line(at);
    if (header == "trailer") {
      size_t end = text.find("startxref", at);
      s.trailer = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
      break;
    }
    int first = 0;
    int count = 0;
    char extra = 0;
    if (std::sscanf(header.c_str(), "%d %d%c", &first, &count, &extra) != 2) {
      s.error = "bad subsection line: " + header;
      return s;
    }
    s.subsections.emplace_back(first, count);
    for (int i = 0; i < count; ++i) {
      if (at + 20 > text.size() || text.compare(at + 18, 2, "\r\n") != 0 || text[at + 10] != ' ' ||
          text[at + 16] != ' ') {
        s.error = "bad entry line";
        return s;
      }
      WrittenEntry e;
      e.offset = std::strtoll(text.substr(at, 10).c_str(), nullptr, 10);
      e.generation = std::atoi(text.substr(at + 11, 5).c_str());
      e.type = text[at + 17];
      s.entries[first + i] = e;
      at += 20;
    }
  }
  s.ok = true;
  return s;
}

// The Prev value of a trailer's text; -1 when it has none.
inline int64_t PrevOf(const std::string& trailer) {
  std::smatch m;
  static const std::regex prev("/Prev (\\d+)");
  return std::regex_search(trailer, m, prev) ? std::stoll(m[1]) : -1;
}

// True when the object "num gen obj" starts at offset in text.
inline bool ObjectAt(const std::string& text, int64_t offset, int num, int gen) {
  std::string head = std::to_string(num) + " " + std::to_string(gen) + " obj";
  return offset >= 0 && text.compare(static_cast<size_t>(offset), head.size(), head) == 0;
}

inline bool HaveQpdf() { return std::system("command -v qpdf >/dev/null 2>&1") == 0; }

// Runs qpdf --check on path; the exit status (0: no errors or warnings) and
// its output go to status and output.
inline void QpdfCheck(const std::string& path, int& status, std::string& output) {
  std::string log = path + ".qpdf.txt";
  std::string command = "qpdf --check '" + path + "' >'" + log + "' 2>&1";
  int rc = std::system(command.c_str());
  status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  output = ReadAll(log);
  std::remove(log.c_str());
}

// Checks path with qpdf when it is installed; skips the rest of the test otherwise.
#define KOYO_EXPECT_QPDF_ACCEPTS(path)                                   \
  do {                                                                   \
    if (!::koyo::test::HaveQpdf()) GTEST_SKIP() << "qpdf not installed"; \
    int qpdfStatus = -1;                                                 \
    std::string qpdfOutput;                                              \
    ::koyo::test::QpdfCheck((path), qpdfStatus, qpdfOutput);             \
    EXPECT_EQ(qpdfStatus, 0) << qpdfOutput;                              \
  } while (0)

// Limits the size of files written by this process to limit bytes: writes
// beyond it fail with EFBIG (SIGXFSZ must be ignored). For child processes.
inline bool LimitFileSize(rlim_t limit) {
  struct rlimit rl;
  rl.rlim_cur = limit;
  rl.rlim_max = limit;
  return ::setrlimit(RLIMIT_FSIZE, &rl) == 0;
}

// Runs body in a child process that ignores SIGXFSZ, so that body may limit
// the size of its files with LimitFileSize; returns the child's exit status
// (body's result), or -1 when it did not exit normally.
template <class Body>
int RunInChild(Body body) {
  std::fflush(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    ::_exit(body());
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A document of five objects: catalog, page tree, page with a content
// stream (object 5) and an information dictionary (object 4) carrying the
// given entries; object 6 is free. Without info entries there is no Info.
inline std::string SampleDocument(const std::string& infoEntries = "/Producer (Other) /CreationDate "
                                                                    "(D:19990101000000) /ModDate "
                                                                    "(D:19990102000000)") {
  PdfBuilder pdf;
  pdf.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, 0, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 5 0 R >>");
  if (!infoEntries.empty()) pdf.Object(4, 0, "<< " + infoEntries + " >>");
  pdf.Object(5, 0, "<< /Length 15 >>\nstream\n0 0 m 10 10 l S\nendstream");
  pdf.Free(6, 1, 0);
  pdf.Section(infoEntries.empty() ? "/Root 1 0 R" : "/Root 1 0 R /Info 4 0 R", 7, 6);
  return pdf.Text();
}

}  // namespace koyo::test
