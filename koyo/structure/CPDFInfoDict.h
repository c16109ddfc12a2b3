// The document information dictionary (the trailer's Info): author, title and
// the other text entries as text strings, creation and modification dates.
#pragma once
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFText.h"
#include "koyo/structure/CPDFDate.h"
#include "koyo/structure/CPDFDocStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFInfoDict : public CPDFDocStruct, public CPDFDict {
public:
  CPDFInfoDict() = default;
  ~CPDFInfoDict() override = default;

  // Accepts every dictionary.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Records the document (the dictionary starts empty).
  bool Create(ObjectTable* doc);
  // Text entries become text strings; dates that pass CPDFDate::Verify
  // become CPDFDate. Indirect entries keep their references.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFText, Author)
  KOYO_GET_SET(CPDFDate, CreationDate)
  KOYO_GET_SET(CPDFDate, ModDate)
  KOYO_GET_SET(CPDFText, Creator)
  KOYO_GET_SET(CPDFText, Producer)
  KOYO_GET_SET(CPDFText, Title)
  KOYO_GET_SET(CPDFText, Subject)
  KOYO_GET_SET(CPDFText, Keywords)
};

}  // namespace koyo
