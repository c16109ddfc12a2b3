// The options and file names of one invocation of the kanafix tool, and the
// parser that reads them from the argument list.
#pragma once
#include <string>
#include <vector>

namespace kanafix::cli {

struct CommandLine {
  bool help = false;
  bool version = false;
  bool json = false;
  bool dryRun = false;
  bool inPlace = false;
  std::string logPath;
  std::string tempDir;
  bool tempDirGiven = false;
  std::string outputDir;  // -o DIR; empty when not given
  int jobs = 1;
  std::vector<std::string> inputs;
  // The second file of the two-file form INPUT OUTPUT; empty otherwise.
  std::string output;
};

// The largest -j accepted.
inline constexpr int kMaxJobs = 256;

// Reads args (the arguments after the program name). On a usage error returns
// false with a one-line description in *error. --help and --version end the
// parse at once and succeed.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line, std::string* error);

}  // namespace kanafix::cli
