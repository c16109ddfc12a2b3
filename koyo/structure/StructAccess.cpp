#include "koyo/structure/StructAccess.h"

#include <new>

namespace koyo {

bool StoreName(CPDFDict& dict, const char* key, const CPDFName& name) {
  auto* copy = new (std::nothrow) CPDFName(name);
  if (!copy) return false;
  return dict.Insert(key, copy);
}

}  // namespace koyo
