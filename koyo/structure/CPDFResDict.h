// A resource dictionary: per category (ColorSpace, XObject, ExtGState, Font,
// Pattern, ProcSet, Properties, Shading) the named resources a content stream
// uses. Realizing it turns the category entries into typed resources through
// the document's resource makers.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFResource;

class CPDFResDict : public CPDFDataStruct, public CPDFDict {
public:
  // Names tried by MakeUniqueName: prefix1 up to prefix4095.
  static constexpr int32_t kMaxUniqueNames = 4095;

  CPDFResDict() = default;
  ~CPDFResDict() override = default;

  // Accepts every dictionary.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Records the document.
  bool Create(ObjectTable* doc);
  // Realizes the categories, honouring the realize options: without options
  // all of them; with the minimal option only Font; with the no-resources
  // option none.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET(CPDFDict, ColorSpace)
  KOYO_GET(CPDFDict, XObject)
  KOYO_GET(CPDFDict, ExtGState)
  KOYO_GET_SET(CPDFDict, Font)
  KOYO_GET(CPDFDict, Pattern)
  KOYO_GET_SET(CPDFArray, ProcSet)
  KOYO_GET(CPDFDict, Properties)
  KOYO_GET(CPDFDict, Shading)

  // The typed resource stored under name in category (not ProcSet), or null.
  CPDFResource* Lookup(const char* category, const char* name, CPDFObjRef* ref = nullptr) const;
  // Stores resource under name in its category as a new indirect object,
  // creating the category dictionary when missing. The reference made goes
  // to ref. On success the document owns the resource; on failure it is
  // destroyed.
  bool AddResource(const char* name, CPDFResource* resource, CPDFObjRef* ref = nullptr);
  // A name from resource's prefix that its category does not hold yet; false
  // when all kMaxUniqueNames are taken (name then holds the last one tried).
  bool MakeUniqueName(CPDFName& name, const CPDFResource& resource) const;
  // Rebuilds ProcSet: PDF, Text when fonts are present, ImageB ImageC ImageI
  // when XObjects are present.
  void UpdateProcSet();

  KOYO_STRUCT_COPY(CPDFResDict, CPDFDict)

private:
  // True when the category holds an entry under name, typed or not.
  bool Holds(const char* category, const char* name) const;
};

}  // namespace koyo
