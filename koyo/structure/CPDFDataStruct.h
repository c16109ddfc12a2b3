// Header base of the data-structure wrappers (resource dictionary, rectangle,
// date, resources and the like). It differs from CPDFDocStruct by role only.
#pragma once
#include "koyo/structure/StructHeader.h"

namespace koyo {

class CPDFDataStruct : public StructHeader {
public:
  ~CPDFDataStruct() override = default;
};

}  // namespace koyo
