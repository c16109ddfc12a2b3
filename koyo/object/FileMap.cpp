#include "koyo/object/FileMap.h"

namespace koyo {

bool FileMap::OpenTemp(const char* dir, const char* prefix, int64_t size, int64_t offset, bool zeroFill,
                       bool deleteOnClose) {
  return file_.OpenTemp(dir, prefix, size, offset, zeroFill, deleteOnClose);
}

bool FileMap::Open(const char* name, int64_t size, int64_t offset, bool zeroFill, bool create) {
  return file_.Open(name, size, offset, zeroFill, create);
}

bool FileMap::Resize(int64_t size, int64_t offset, bool zeroFill) {
  return file_.Resize(size, offset, zeroFill);
}

}  // namespace koyo
