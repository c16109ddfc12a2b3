// The texts of --help and --version, and the hint after a usage error.
#pragma once
#include <string>

namespace kanafix::cli {

std::string HelpText();
// interfaceVersion: the version the repair accepts; libraryVersion: the PDF
// library's.
std::string VersionText(const char* interfaceVersion, const char* libraryVersion);
// "kanafix: <error>" and a pointer to --help, each line ending in '\n'.
std::string UsageErrorText(const std::string& error);

}  // namespace kanafix::cli
