// A procedure set name (PDF, Text, ImageB, ImageC, ImageI) in a resource
// dictionary's ProcSet array.
#pragma once
#include "koyo/object/CPDFName.h"
#include "koyo/structure/CPDFResource.h"

namespace koyo {

class CPDFProcSet : public CPDFResource, public CPDFName {
public:
  CPDFProcSet() : CPDFResource(kProcSet) {}
  explicit CPDFProcSet(const char* name) : CPDFResource(kProcSet), CPDFName(name) {}
  explicit CPDFProcSet(const CPDFName& name) : CPDFProcSet(name.c_str()) {}
  ~CPDFProcSet() override = default;

  KOYO_STATIC_NAME(Name_PDF, "PDF")
  KOYO_STATIC_NAME(Name_Text, "Text")
  KOYO_STATIC_NAME(Name_ImageB, "ImageB")
  KOYO_STATIC_NAME(Name_ImageC, "ImageC")
  KOYO_STATIC_NAME(Name_ImageI, "ImageI")

  // Accepts every name.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_RESOURCE(CPDFProcSet, CPDFName, "")
};

}  // namespace koyo
