// One run of the tool over its planned files: the repairs in worker
// processes, the reports printed in input order as they become ready, the
// progress line and the closing summary.
#pragma once
#include <cstdio>
#include <functional>
#include <vector>

#include "front/cli/FileReport.h"
#include "front/cli/OutputPlan.h"
#include "front/cli/Progress.h"

namespace kanafix::cli {

struct BatchSettings {
  int jobs = 1;
  bool json = false;
  bool dryRun = false;
  // Print the summary (the tool does when it was given more than one file).
  bool summary = true;
};

// Repairs one planned file (in a worker process) and says what happened.
using RepairFunction = std::function<FileReport(const PlannedFile&)>;

// Reports go to out (text for successful files, or one JSON line per file);
// failure messages, the summary and the progress line go to err. Returns the
// exit status: 0 when every file was repaired or had nothing to do, 1 when any
// failed.
int RunBatch(const std::vector<PlannedFile>& files, const BatchSettings& settings, const RepairFunction& repair,
             FILE* out, FILE* err, ProgressDisplay& progress);

}  // namespace kanafix::cli
