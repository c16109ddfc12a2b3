#include "front/cli/Summary.h"

#include "front/cli/DisplayText.h"

namespace kanafix::cli {

void RunTotals::Add(const FileReport& report) {
  if (!report.ok) {
    failures.emplace_back(report.input, report.message);
    return;
  }
  if (report.replaced.empty()) {
    ++nothingToDo;
  } else {
    ++repaired;
  }
  fontsReplaced += static_cast<int64_t>(report.replaced.size());
}

std::string FormatSummary(const RunTotals& totals, bool dryRun) {
  const int64_t files = totals.Files();
  std::string out = std::to_string(files) + (files == 1 ? " file: " : " files: ");
  out += std::to_string(totals.repaired) + (dryRun ? " to repair, " : " repaired, ");
  out += std::to_string(totals.nothingToDo) + " with nothing to do, ";
  out += std::to_string(totals.failures.size()) + " failed; ";
  out += std::to_string(totals.fontsReplaced) + (totals.fontsReplaced == 1 ? " font" : " fonts");
  out += dryRun ? " to replace\n" : " replaced\n";
  for (const auto& [input, message] : totals.failures) {
    out += "failed: " + PathText(input) + ": " + PathText(message) + "\n";
  }
  return out;
}

}  // namespace kanafix::cli
