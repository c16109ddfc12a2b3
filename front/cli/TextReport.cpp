#include "front/cli/TextReport.h"

#include <algorithm>
#include <array>
#include <vector>

#include "front/cli/DisplayText.h"

namespace kanafix::cli {

namespace {

constexpr size_t kColumns = 6;
using Row = std::array<std::string, kColumns>;

std::string Count(int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

Row FontColumns(const FontVisit& font) {
  Row row;
  row[0] = "page " + std::to_string(font.page);
  row[1] = FontNameText(font.resourceName);
  row[2] = font.objectNumber < 0 ? "direct"
                                 : std::to_string(font.objectNumber) + " " + std::to_string(font.generation) + " R";
  row[3] = font.subtype.empty() ? "-" : FontNameText(font.subtype);
  row[4] = font.baseFont.empty() ? "-" : FontNameText(font.baseFont);
  return row;
}

// Display width of UTF-8 text: one column per character, two for the wide
// ranges Japanese text uses (kanji, kana, full-width forms).
size_t Width(const std::string& text) {
  size_t width = 0;
  for (size_t i = 0; i < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    uint32_t cp = b;
    if (length == 3 && i + 2 < text.size()) {
      cp = (b & 0x0Fu) << 12 | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6 |
           (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
    }
    const bool wide = length == 4 || (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                      (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                      (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                      (cp >= 0xFFE0 && cp <= 0xFFE6);
    width += wide ? 2 : 1;
    i += length;
  }
  return width;
}

}  // namespace

std::string FormatTextReport(const FileReport& report) {
  std::string out = PathText(report.input);
  if (report.dryRun) {
    out += " (dry run)";
  } else if (report.output == report.input) {
    out += " (in place)";
  } else {
    out += " -> " + PathText(report.output);
    if (!report.renamedFrom.empty()) out += " (renamed from " + PathText(report.renamedFrom) + ")";
  }
  out += ": ";
  out += report.pages < 0 ? std::string("? pages") : Count(report.pages, "page", "pages");
  out += ", ";
  if (report.replaced.empty()) {
    out += "nothing to replace";
  } else {
    out += Count(static_cast<int64_t>(report.replaced.size()), "font", "fonts");
    out += report.dryRun ? " to replace" : " replaced";
  }
  if (!report.skipped.empty()) out += ", " + std::to_string(report.skipped.size()) + " left alone";
  out += "\n";

  std::vector<Row> rows;
  for (const ReplacedFont& f : report.replaced) {
    Row row = FontColumns(f.font);
    row[5] = "-> " + FontNameText(f.encoding);
    rows.push_back(std::move(row));
  }
  for (const SkippedFont& f : report.skipped) {
    Row row = FontColumns(f.font);
    row[5] = std::string("left alone: ") + SkipReasonText(f.reason);
    rows.push_back(std::move(row));
  }
  std::array<size_t, kColumns> widths{};
  for (const Row& row : rows) {
    for (size_t c = 0; c < kColumns; ++c) widths[c] = std::max(widths[c], Width(row[c]));
  }
  for (const Row& row : rows) {
    std::string line = " ";
    for (size_t c = 0; c < kColumns; ++c) {
      line += " " + row[c];
      if (c + 1 < kColumns) line.append(widths[c] - Width(row[c]) + 1, ' ');
    }
    out += line + "\n";
  }
  return out;
}

}  // namespace kanafix::cli
