#include "front/cli/Batch.h"

#include <optional>

#include "front/cli/DisplayText.h"
#include "front/cli/JsonReport.h"
#include "front/cli/ReportWire.h"
#include "front/cli/Summary.h"
#include "front/cli/TextReport.h"
#include "front/cli/WorkerPool.h"

namespace kanafix::cli {

int RunBatch(const std::vector<PlannedFile>& files, const BatchSettings& settings, const RepairFunction& repair,
             FILE* out, FILE* err, ProgressDisplay& progress) {
  std::vector<std::optional<FileReport>> reports(files.size());
  size_t printed = 0;
  int64_t finished = 0;
  RunTotals totals;          // added to in input order, as reports are printed
  int64_t fontsSoFar = 0;    // in the order files finish, for the progress line
  const int64_t total = static_cast<int64_t>(files.size());

  auto print = [&](const FileReport& report) {
    totals.Add(report);
    if (settings.json) {
      std::fputs(FormatJsonReport(report).c_str(), out);
    } else if (report.ok) {
      std::fputs(FormatTextReport(report).c_str(), out);
    }
    std::fflush(out);
    if (!report.ok) {
      std::fprintf(err, "kanafix: %s: %s\n", PathText(report.input).c_str(), PathText(report.message).c_str());
      std::fflush(err);
    }
  };

  WorkerTasks tasks;
  tasks.count = files.size();
  tasks.jobs = settings.jobs;
  tasks.run = [&](size_t i) { return EncodeReport(repair(files[i])); };
  tasks.done = [&](size_t i, WorkerResult result) {
    FileReport report;
    if (!result.completed || !DecodeReport(result.data, &report)) {
      report = FileReport();
      report.message = result.completed ? "the worker sent an incomplete report" : result.failure;
    }
    // Whatever the worker said, the report belongs to this file.
    report.input = files[i].input;
    report.output = files[i].output;
    report.renamedFrom = files[i].renamedFrom;
    report.dryRun = settings.dryRun;
    if (report.ok) fontsSoFar += static_cast<int64_t>(report.replaced.size());
    ++finished;
    reports[i] = std::move(report);

    progress.Clear();
    while (printed < reports.size() && reports[printed]) {
      print(*reports[printed]);
      reports[printed].reset();
      ++printed;
    }
    progress.Update(finished, total, fontsSoFar);
  };
  tasks.tick = [&]() { progress.Tick(); };

  std::fflush(out);
  std::fflush(err);
  progress.Update(0, total, 0);
  RunWorkers(tasks);
  progress.Clear();

  if (settings.summary) {
    std::fputs(FormatSummary(totals, settings.dryRun).c_str(), err);
    std::fflush(err);
  }
  return totals.ExitStatus();
}

}  // namespace kanafix::cli
