// The machine-readable report of one file: one JSON object on one line (JSON
// Lines), plain ASCII, with the fields
//   file, output, renamedFrom (string or null), status ("ok" or "failed"),
//   message, dryRun, pages (null while unknown),
//   replaced: [{page, resource, object, generation, subtype, baseFont, encoding}],
//   skipped:  [{page, resource, object, generation, subtype, baseFont, reason, reasonText}]
// where object and generation are null for a direct font dictionary. Names and
// paths are shown as DisplayText describes.
#pragma once
#include <string>

#include "front/cli/FileReport.h"

namespace kanafix::cli {

// The object followed by '\n'.
std::string FormatJsonReport(const FileReport& report);

}  // namespace kanafix::cli
