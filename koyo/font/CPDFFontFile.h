// An embedded font program: a stream whose Length1, Length2 and Length3 give
// the lengths of the program's parts. The library reads it, never writes one.
#pragma once
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFFontFile : public CPDFDataStruct, public CPDFStream {
public:
  CPDFFontFile() = default;
  ~CPDFFontFile() override = default;

  // The header and the stream both know the document; they are kept equal.
  ObjectTable* GetDoc() const { return CPDFStream::GetDoc(); }
  void SetDoc(ObjectTable* doc) {
    CPDFDataStruct::SetDoc(doc);
    CPDFStream::SetDoc(doc);
  }

  // Accepts every stream.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFNumber, Length1)
  KOYO_GET_SET(CPDFNumber, Length2)
  KOYO_GET_SET(CPDFNumber, Length3)

  KOYO_STRUCT_COPY(CPDFFontFile, CPDFStream)
};

}  // namespace koyo
