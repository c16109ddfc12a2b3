#include "koyo/resource/LineReader.h"

#include <fstream>
#include <iterator>

#include "koyo/platform/Files.h"

namespace koyo {

bool LineReader::Next(std::string_view& line) {
  while (pos_ < size_) {
    size_t start = pos_;
    size_t end = start;
    while (end < size_ && end - start < kMaxLine && data_[end] != '\r' && data_[end] != '\n') ++end;
    pos_ = end;
    if (pos_ < size_ && data_[pos_] == '\r') {
      ++pos_;
      if (pos_ < size_ && data_[pos_] == '\n') ++pos_;
    } else if (pos_ < size_ && data_[pos_] == '\n') {
      ++pos_;
    }
    if (end > start) {
      line = std::string_view(data_ + start, end - start);
      return true;
    }
  }
  return false;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  if (!platform::FileExists(path.c_str())) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace koyo
