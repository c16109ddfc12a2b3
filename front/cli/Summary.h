// The totals of a run and the closing summary printed from them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "front/cli/FileReport.h"

namespace kanafix::cli {

struct RunTotals {
  int64_t repaired = 0;       // succeeded with at least one font replaced
  int64_t nothingToDo = 0;    // succeeded without a font to replace
  int64_t fontsReplaced = 0;
  std::vector<std::pair<std::string, std::string>> failures;  // input and message, in input order

  void Add(const FileReport& report);
  int64_t Files() const { return repaired + nothingToDo + static_cast<int64_t>(failures.size()); }
  // 0 when nothing failed, 1 otherwise.
  int ExitStatus() const { return failures.empty() ? 0 : 1; }
};

// "N files: R repaired, U with nothing to do, F failed; K fonts replaced",
// worded for a dry run when dryRun is set, followed by one line per failure.
// Every line ends in '\n'.
std::string FormatSummary(const RunTotals& totals, bool dryRun);

}  // namespace kanafix::cli
