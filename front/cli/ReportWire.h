// The byte form in which a worker process hands its FileReport to the main
// process through a pipe: every field in a fixed order, numbers as decimal
// text and strings with their length in front, so any byte may appear in them.
#pragma once
#include <string>
#include <string_view>

#include "front/cli/FileReport.h"

namespace kanafix::cli {

std::string EncodeReport(const FileReport& report);
// False when data is not a complete encoded report (a worker that died while
// writing); *report is then unspecified.
bool DecodeReport(std::string_view data, FileReport* report);

}  // namespace kanafix::cli
