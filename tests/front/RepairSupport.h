// Test helper for whole repairs: reading files, running the independent PDF
// readers (qpdf, pdffonts, pdftotext), and taking apart the update a repair
// appends. Uses nothing of the library, so the shared-library tests can use it.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace kanafix::test {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::string ExamplePath(const std::string& name) { return std::string(KOYO_SOURCE_DIR) + "/examples/" + name; }

// Single-quotes a path for the shell.
inline std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

struct ToolRun {
  int status = -1;  // exit status, -1 when the command could not run
  std::string out;  // standard output
};

// Runs a shell command and collects its standard output (and standard error
// when asked; otherwise that is dropped).
inline ToolRun RunTool(const std::string& command, bool withErrors = false) {
  ToolRun run;
  std::FILE* pipe = ::popen((command + (withErrors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
  int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

inline bool HaveTool(const char* name) {
  return RunTool(std::string("command -v ") + name + " >/dev/null").status == 0;
}

#define KANAFIX_REQUIRE_TOOL(name) \
  if (!::kanafix::test::HaveTool(name)) GTEST_SKIP() << name << " is not installed"

// qpdf's verdict on a file: empty when it finds nothing wrong, else its output.
inline std::string QpdfProblems(const std::string& path) {
  ToolRun run = RunTool("qpdf --check " + Quote(path), true);
  if (run.status == 0 && run.out.find("No syntax or stream encoding errors found") != std::string::npos) return "";
  return "qpdf exit " + std::to_string(run.status) + ":\n" + run.out;
}

// One row of pdffonts: the type and encoding columns of the font with a given
// object number ("[none]" rows, direct fonts, are kept under number 0).
struct FontRow {
  std::string type;
  std::string encoding;
  bool operator==(const FontRow&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const FontRow& r) {
  return os << "{" << r.type << " / " << r.encoding << "}";
}

inline std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  size_t e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// The rows of pdffonts, by object number; the column widths are taken from
// its line of dashes.
inline std::multimap<int, FontRow> PdfFonts(const std::string& path) {
  std::multimap<int, FontRow> rows;
  ToolRun run = RunTool("pdffonts " + Quote(path));
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < run.out.size()) {
    size_t nl = run.out.find('\n', at);
    if (nl == std::string::npos) nl = run.out.size();
    lines.push_back(run.out.substr(at, nl - at));
    at = nl + 1;
  }
  std::vector<std::pair<size_t, size_t>> columns;
  for (const std::string& line : lines) {
    if (columns.empty()) {
      if (line.rfind("----", 0) != 0) continue;
      size_t start = 0;
      while (start < line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string::npos) end = line.size();
        columns.emplace_back(start, end - start);
        start = end + 1;
      }
      continue;
    }
    if (columns.size() < 7 || line.size() < columns[2].first) continue;
    FontRow row{Trim(line.substr(columns[1].first, columns[1].second)),
                Trim(line.substr(columns[2].first, columns[2].second))};
    std::string id = Trim(line.substr(columns[6].first));
    rows.emplace(id == "[none]" ? 0 : std::atoi(id.c_str()), row);
  }
  return rows;
}

// The lines of pdftotext's UTF-8 output that hold text.
inline std::vector<std::string> PdfTextLines(const std::string& path) {
  ToolRun run = RunTool("pdftotext -enc UTF-8 " + Quote(path) + " -");
  std::vector<std::string> lines;
  std::string line;
  for (char c : run.out + "\n") {
    if (c == '\n' || c == '\f') {
      if (!Trim(line).empty()) lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  return lines;
}

// An incremental update as appended to a file: its objects (by number and
// generation, with their text), its cross-reference subsections and its trailer.
struct Update {
  std::map<std::pair<int, int>, std::string> objects;
  std::vector<std::pair<int, int>> subsections;  // first number, count
  std::string firstEntry;                         // the first entry line of the section
  std::string trailer;                            // the trailer dictionary's text
  long long startxref = -1;                       // the value after "startxref"
  long long xrefOffset = -1;                      // where "xref" stands, counted from the start of the file

  bool Has(int num, int gen = 0) const { return objects.count({num, gen}) != 0; }
  const std::string& Text(int num, int gen = 0) const {
    static const std::string none;
    auto it = objects.find({num, gen});
    return it == objects.end() ? none : it->second;
  }
  // The integer after /key in the trailer, -1 when absent.
  long long TrailerInt(const std::string& key) const {
    std::smatch m;
    std::regex re("/" + key + " (\\d+)");
    return std::regex_search(trailer, m, re) ? std::stoll(m[1]) : -1;
  }
  // Numbers of the objects whose text contains needle.
  std::vector<int> With(const std::string& needle) const {
    std::vector<int> found;
    for (const auto& [ref, text] : objects) {
      if (text.find(needle) != std::string::npos) found.push_back(ref.first);
    }
    return found;
  }
};

// Takes apart the bytes of file from offset `from` (the old length) on. The
// update is the library's written form: CR LF lines, "n g obj" ... "endobj",
// "xref", subsections, "trailer", the dictionary, "startxref", the offset, "%%EOF".
inline Update ParseUpdate(const std::string& file, size_t from) {
  Update u;
  const std::string tail = file.substr(from);
  size_t xref = tail.find("\r\nxref\r\n");
  std::string body = xref == std::string::npos ? tail : tail.substr(0, xref + 2);
  std::regex head("(^|\r\n)(\\d+) (\\d+) obj\r\n");
  for (auto it = std::sregex_iterator(body.begin(), body.end(), head); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    size_t start = static_cast<size_t>(m.position(0) + m.length(0));
    size_t end = body.find("\r\nendobj\r\n", start);
    if (end == std::string::npos) break;
    u.objects[{std::stoi(m[2]), std::stoi(m[3])}] = body.substr(start, end - start);
  }
  if (xref == std::string::npos) return u;
  u.xrefOffset = static_cast<long long>(from + xref + 2);
  std::string rest = tail.substr(xref + 8);
  size_t trailer = rest.find("trailer\r\n");
  std::string table = rest.substr(0, trailer);
  std::regex sub("(^|\r\n)(\\d+) (\\d+)\r\n");
  for (auto it = std::sregex_iterator(table.begin(), table.end(), sub); it != std::sregex_iterator(); ++it) {
    u.subsections.emplace_back(std::stoi((*it)[2]), std::stoi((*it)[3]));
    if (u.subsections.size() == 1) u.firstEntry = table.substr((*it).position(0) + (*it).length(0), 18);
  }
  if (trailer == std::string::npos) return u;
  std::string after = rest.substr(trailer + 9);
  size_t sx = after.find("\r\nstartxref\r\n");
  u.trailer = after.substr(0, sx);
  if (sx != std::string::npos) u.startxref = std::atoll(after.c_str() + sx + 13);
  return u;
}

// The value after the last "startxref" of a file.
inline long long LastStartXRef(const std::string& file) {
  size_t at = file.rfind("startxref");
  return at == std::string::npos ? -1 : std::atoll(file.c_str() + at + 9);
}

// Checks that `after` is `before` followed by exactly one update in the
// library's form, and returns that update.
inline Update ExpectOneUpdate(const std::string& before, const std::string& after) {
  EXPECT_GT(after.size(), before.size());
  EXPECT_EQ(after.compare(0, before.size(), before), 0) << "the original bytes are not a prefix of the output";
  Update u = ParseUpdate(after, before.size());
  EXPECT_FALSE(u.subsections.empty());
  if (!u.subsections.empty()) {
    EXPECT_EQ(u.subsections.front().first, 0);
  }
  EXPECT_EQ(u.firstEntry, "0000000000 65535 f");
  EXPECT_EQ(u.TrailerInt("Prev"), LastStartXRef(before));
  EXPECT_EQ(u.startxref, u.xrefOffset);
  // Only one xref section was added.
  EXPECT_EQ(after.find("\r\nxref\r\n", before.size()), static_cast<size_t>(u.xrefOffset - 2));
  EXPECT_EQ(after.find("\r\nxref\r\n", static_cast<size_t>(u.xrefOffset)), std::string::npos);
  // Every object of the update is listed in its cross-reference section.
  size_t listed = 0;
  for (const auto& [first, count] : u.subsections) listed += static_cast<size_t>(count);
  EXPECT_EQ(listed, u.objects.size() + 1);
  return u;
}

}  // namespace kanafix::test
