// Reads resource files (CMaps, AFM metrics) line by line from a byte buffer:
// a line ends at CR, LF or CR LF, which is dropped, holds at most 254 bytes
// (a longer one continues as the next line), and empty lines are skipped.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace koyo {

class LineReader {
public:
  static constexpr size_t kMaxLine = 254;

  LineReader(const char* data, size_t size) : data_(data), size_(size) {}

  // The next non-empty line, or false at the end of the input.
  bool Next(std::string_view& line);

private:
  const char* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Reads a whole regular file into out. False when it does not exist, is not a
// regular file or cannot be read.
bool ReadWholeFile(const std::string& path, std::string& out);

}  // namespace koyo
