// The outcome of one file of a run: where it was written, whether it worked,
// and what happened to each font met. Built by ReportCollector in the worker
// that repaired the file, carried to the main process by ReportWire, printed by
// TextReport or JsonReport.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "front/RepairObserver.h"

namespace kanafix::cli {

struct ReplacedFont {
  FontVisit font;
  std::string encoding;  // the CMap name of the new Type 0 font, e.g. 90ms-RKSJ-H
};

struct SkippedFont {
  FontVisit font;
  SkipReason reason = SkipReason::kNotInstalled;
};

struct FileReport {
  std::string input;
  std::string output;         // where the repaired file goes (the input itself in place)
  std::string renamedFrom;    // non-empty when a name clash changed the output name: the name first wanted
  bool ok = false;
  bool dryRun = false;
  std::string message;        // the failure message; empty on success
  int32_t pages = -1;         // -1 while unknown
  std::vector<ReplacedFont> replaced;
  std::vector<SkippedFont> skipped;
};

}  // namespace kanafix::cli
