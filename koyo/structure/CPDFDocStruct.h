// Header base of the document-structure wrappers (catalog, page tree, page,
// information dictionary and the like). It differs from CPDFDataStruct by role only.
#pragma once
#include "koyo/structure/StructHeader.h"

namespace koyo {

class CPDFDocStruct : public StructHeader {
public:
  ~CPDFDocStruct() override = default;
};

}  // namespace koyo
