#include "front/cli/CommandLine.h"

#include <charconv>

namespace kanafix::cli {

namespace {

bool ParseJobs(const std::string& text, int* jobs) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || value < 1 || value > kMaxJobs) return false;
  *jobs = value;
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* line, std::string* error) {
  *line = CommandLine();
  std::vector<std::string> files;
  bool optionsEnded = false;

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      if (arg.empty()) {
        *error = "empty file name";
        return false;
      }
      if (arg == "-") {
        *error = "reading from standard input is not supported: name a file";
        return false;
      }
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }

    // Split "--name=value" and "-xVALUE" into the option and its attached value.
    std::string name = arg;
    std::string attached;
    bool hasAttached = false;
    if (arg.compare(0, 2, "--") == 0) {
      size_t eq = arg.find('=');
      if (eq != std::string::npos) {
        name = arg.substr(0, eq);
        attached = arg.substr(eq + 1);
        hasAttached = true;
      }
    } else if (arg.size() > 2) {
      name = arg.substr(0, 2);
      attached = arg.substr(2);
      hasAttached = true;
    }

    // The option's value: attached, or the next argument.
    auto value = [&](std::string* out) {
      if (hasAttached) {
        *out = attached;
      } else if (i + 1 < args.size()) {
        *out = args[++i];
      } else {
        *error = "option '" + name + "' needs a value";
        return false;
      }
      if (out->empty()) {
        *error = "option '" + name + "' needs a value";
        return false;
      }
      return true;
    };
    auto flag = [&](bool* out) {
      if (hasAttached) {
        *error = arg.compare(0, 2, "--") == 0 ? "option '" + name + "' takes no value" : "unknown option '" + arg + "'";
        return false;
      }
      *out = true;
      return true;
    };

    if (name == "-h" || name == "--help") {
      if (!flag(&line->help)) return false;
      return true;
    } else if (name == "--version") {
      if (!flag(&line->version)) return false;
      return true;
    } else if (name == "--json") {
      if (!flag(&line->json)) return false;
    } else if (name == "-n" || name == "--dry-run" || name == "--list-fonts") {
      if (!flag(&line->dryRun)) return false;
    } else if (name == "--in-place") {
      if (!flag(&line->inPlace)) return false;
    } else if (name == "--log") {
      if (!value(&line->logPath)) return false;
    } else if (name == "--temp-dir") {
      if (!value(&line->tempDir)) return false;
      line->tempDirGiven = true;
    } else if (name == "-o" || name == "--output-dir") {
      if (!value(&line->outputDir)) return false;
    } else if (name == "-j" || name == "--jobs") {
      std::string text;
      if (!value(&text)) return false;
      if (!ParseJobs(text, &line->jobs)) {
        *error = "option '" + name + "' needs a whole number from 1 to " + std::to_string(kMaxJobs) + ", not '" +
                 text + "'";
        return false;
      }
    } else {
      *error = "unknown option '" + arg + "'";
      return false;
    }
  }

  if (files.empty()) {
    *error = "no input file";
    return false;
  }
  if (line->inPlace && !line->outputDir.empty()) {
    *error = "-o and --in-place exclude each other";
    return false;
  }
  // With an output folder, in place, or in a dry run (which writes nothing),
  // every file named is an input; otherwise a second name is the output.
  if (line->inPlace || !line->outputDir.empty() || line->dryRun) {
    line->inputs = std::move(files);
  } else if (files.size() <= 2) {
    line->inputs.push_back(files[0]);
    if (files.size() == 2) line->output = files[1];
  } else {
    *error = "more than two files need -o DIR or --in-place";
    return false;
  }
  return true;
}

}  // namespace kanafix::cli
