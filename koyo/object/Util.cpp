#include "koyo/object/Util.h"

#include <cerrno>
#include <cstring>

#include "koyo/platform/Files.h"

namespace koyo {

bool Util::GetTempFileName(const char* dir, const char* prefix, std::string& name) {
  return platform::MakeTempFile(dir, prefix, name);
}

bool Util::GetTempFileName(const char* dir, const char* prefix, char* name, size_t size) {
  if (!name || size == 0) return false;
  std::string made;
  if (!platform::MakeTempFile(dir, prefix, made)) return false;
  if (made.size() >= size) {
    platform::RemoveFile(made.c_str());
    errno = ENAMETOOLONG;
    return false;
  }
  std::memcpy(name, made.c_str(), made.size() + 1);
  return true;
}

}  // namespace koyo
