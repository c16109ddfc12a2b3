// kanafix: the command-line tool. Reads the command line, plans the outputs,
// initialises the process once and repairs each file in a worker process.
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "front/CPDFLib.h"
#include "front/Log.h"
#include "front/Repair.h"
#include "front/cli/Batch.h"
#include "front/cli/CommandLine.h"
#include "front/cli/DisplayText.h"
#include "front/cli/OutputPlan.h"
#include "front/cli/ReportCollector.h"
#include "front/cli/Usage.h"
#include "front/kanafix.h"

namespace {

using namespace kanafix::cli;

constexpr int kUsageError = 2;

int UsageError(const std::string& error) {
  std::fputs(UsageErrorText(error).c_str(), stderr);
  return kUsageError;
}

size_t TerminalWidth(int fd) {
  struct winsize size;
  if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

FileReport RepairOne(const PlannedFile& file, bool dryRun) {
  FileReport report;
  report.input = file.input;
  report.output = file.output;
  report.dryRun = dryRun;
  ReportCollector collector(report);
  kanafix::RepairOptions options;
  options.tempDir = kanafix::ProcessTempDir();
  options.dryRun = dryRun;
  options.observer = &collector;
  std::string message;
  const char* output = file.inPlace ? nullptr : file.output.c_str();
  report.ok = kanafix::RepairFile(file.input.c_str(), output, KANAFIX_INTERFACE_VERSION, options, &message) == 0;
  if (!report.ok) {
    report.message = message;
    // A failed run writes nothing: fonts met before the failure were not replaced.
    report.replaced.clear();
    report.skipped.clear();
  }
  return report;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  CommandLine line;
  std::string error;
  if (!ParseCommandLine(args, &line, &error)) return UsageError(error);
  if (line.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (line.version) {
    std::fputs(VersionText(KANAFIX_INTERFACE_VERSION, koyo::CPDFLib::kVersion).c_str(), stdout);
    return 0;
  }

  if (!line.outputDir.empty() && !line.dryRun) {
    struct stat st;
    if (::stat(line.outputDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      return UsageError("output folder '" + PathText(line.outputDir) + "' is not a directory");
    }
  }
  std::vector<PlannedFile> files;
  if (!PlanOutputs(line, &files, &error)) return UsageError(PathText(error));
  if (!line.dryRun && !CheckPlanFiles(&files, &error)) return UsageError(PathText(error));

  if (!kanafix::InitializeProcess(line.logPath.c_str(), line.tempDirGiven ? line.tempDir.c_str() : nullptr)) {
    std::fputs("kanafix: no Japanese locale (ja_JP.SJIS, ja_JP.UTF-8 or C.UTF-8) can be set\n", stderr);
    return 1;
  }
  if (!line.logPath.empty() && !kanafix::LogIsWritable()) {
    std::fprintf(stderr, "kanafix: cannot open the log file '%s'\n", PathText(line.logPath).c_str());
    return 1;
  }

  // Clashing names were resolved when the outputs were planned; say so first.
  if (!line.dryRun) {
    for (const PlannedFile& file : files) {
      if (file.renamedFrom.empty()) continue;
      std::fprintf(stderr, "kanafix: %s: '%s' is taken by an earlier input, writing %s\n",
                   PathText(file.input).c_str(), PathText(file.renamedFrom).c_str(), PathText(file.output).c_str());
    }
  }

  BatchSettings settings;
  settings.jobs = line.jobs;
  settings.json = line.json;
  settings.dryRun = line.dryRun;
  settings.summary = files.size() > 1;
  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  ProgressDisplay progress(stderr, terminal, terminal ? TerminalWidth(STDERR_FILENO) : 80);
  const bool dryRun = line.dryRun;
  return RunBatch(
      files, settings, [dryRun](const PlannedFile& file) { return RepairOne(file, dryRun); }, stdout, stderr,
      progress);
}
