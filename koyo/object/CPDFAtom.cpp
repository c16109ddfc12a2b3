#include "koyo/object/CPDFAtom.h"

namespace koyo {

CPDFAtom::~CPDFAtom() = default;

}  // namespace koyo
