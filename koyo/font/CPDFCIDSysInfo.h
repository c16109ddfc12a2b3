// A CIDSystemInfo dictionary: the character collection (Registry, Ordering,
// Supplement) a CID font or CMap is written for.
#pragma once
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFString.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFCIDSysInfo : public CPDFDataStruct, public CPDFDict {
public:
  CPDFCIDSysInfo() = default;
  ~CPDFCIDSysInfo() override = default;

  // Registry and Ordering strings, Supplement a number.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Records doc; Registry and Ordering direct strings, Supplement a direct
  // integer.
  bool Create(ObjectTable* doc, const char* registry, const char* ordering, int32_t supplement);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFString, Registry)
  KOYO_GET_SET(CPDFString, Ordering)
  KOYO_GET_SET(CPDFNumber, Supplement)

  KOYO_STRUCT_COPY(CPDFCIDSysInfo, CPDFDict)
};

}  // namespace koyo
