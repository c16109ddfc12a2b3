// One repair of one file, as DoKanafix performs it: the version check, the copy
// to the output path, the driver run, and cleaning up after a failure. The
// command-line tool calls it directly to add an observer and a dry run.
#pragma once
#include <string>

namespace kanafix {

class RepairObserver;

struct RepairOptions {
  // Directory for temporary files; empty: the system's.
  std::string tempDir;
  // Examine and report the fonts, write nothing (no copy, no update).
  bool dryRun = false;
  // Receives what happens to each font; may be null.
  RepairObserver* observer = nullptr;
};

// Repairs inputPath into outputPath (null or empty: in place). version null
// skips the version check. Returns 0 on success and 1 on failure, with the
// message in *message (when given). A failed run leaves the input unchanged
// and no output file behind.
int RepairFile(const char* inputPath, const char* outputPath, const char* version, const RepairOptions& options,
               std::string* message);

// The stored settings of KanafixInitialize, shared by the exports and the tool.
bool InitializeProcess(const char* logPath, const char* tempDir);
const std::string& ProcessTempDir();

}  // namespace kanafix
