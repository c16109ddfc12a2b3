// A CMap embedded in a PDF file: a stream of CMap text with Type CMap, its
// CMapName and CIDSystemInfo, used as a Type 0 font's Encoding.
#pragma once
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFCMap : public CPDFDataStruct, public CPDFStream {
public:
  CPDFCMap() = default;
  ~CPDFCMap() override = default;

  ObjectTable* GetDoc() const { return CPDFStream::GetDoc(); }
  void SetDoc(ObjectTable* doc) {
    CPDFDataStruct::SetDoc(doc);
    CPDFStream::SetDoc(doc);
  }

  KOYO_STATIC_NAME(Name_CMap, "CMap")

  // A stream with Type CMap, CMapName a name and CIDSystemInfo a dictionary
  // or an array.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFName, CMapName)
  KOYO_GET_SET(CPDFObject, CIDSystemInfo)
  KOYO_GET_SET(CPDFNumber, WMode)
  KOYO_GET_SET(CPDFObject, UseCMap)

  KOYO_STRUCT_COPY(CPDFCMap, CPDFStream)
};

}  // namespace koyo
