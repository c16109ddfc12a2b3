// Process-wide copies of the library's directories. The most recently created
// library instance sets them; file helpers (temporary buffers, CMap and AFM
// lookups) read them.
#pragma once
#include <string>

namespace koyo::platform {

// The directory for temporary files, with its trailing separator, or empty for the
// system's temporary directory.
void SetProcessTempDirectory(const std::string& dir);
std::string ProcessTempDirectory();
// The prefix of every temporary file name the library makes.
inline constexpr const char* kTempPrefix = "lp";

void SetProcessCMapDirectory(const std::string& dir);
std::string ProcessCMapDirectory();

void SetProcessAFMDirectory(const std::string& dir);
std::string ProcessAFMDirectory();

}  // namespace koyo::platform
