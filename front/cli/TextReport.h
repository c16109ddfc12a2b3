// The human-readable report of one file: a header line naming the file, its
// output and the counts, then one aligned line per font replaced and per font
// left alone.
#pragma once
#include <string>

#include "front/cli/FileReport.h"

namespace kanafix::cli {

// The lines for a successful file (a failed one is reported as an error
// message instead), each ending in '\n'.
std::string FormatTextReport(const FileReport& report);

}  // namespace kanafix::cli
