#include "koyo/object/CPDFObjRef.h"

namespace koyo {

CPDFObjRef::~CPDFObjRef() = default;

}  // namespace koyo
