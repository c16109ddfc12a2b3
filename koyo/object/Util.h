// Small helpers shared by the object layer: temporary file names.
#pragma once
#include <cstddef>
#include <string>

namespace koyo {

class Util {
public:
  // Creates a new empty file with a unique name starting with prefix in dir
  // (null or empty: the system's temporary directory) and returns its name.
  static bool GetTempFileName(const char* dir, const char* prefix, std::string& name);
  // The same into a caller's buffer of size bytes. A name that does not fit is
  // refused: the file is removed again and the result is false.
  static bool GetTempFileName(const char* dir, const char* prefix, char* name, size_t size);
};

}  // namespace koyo
