// The catalog of an FDF document: one entry FDF, a dictionary holding the
// form fields, the source file, pages and annotations.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/structure/CPDFDocStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CFDFCatalog : public CPDFDocStruct, public CPDFDict {
public:
  CFDFCatalog() = default;
  ~CFDFCatalog() override = default;

  // Accepts every dictionary.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // An empty FDF dictionary, stored directly.
  bool Create(ObjectTable* doc);
  // Records the document and takes the entries; the FDF dictionary's fields,
  // pages and annotations stay as read.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFDict, FDF)
  // Entries of the FDF dictionary; null when FDF or the key is absent.
  CPDFArray* Get_Fields(CPDFObjRef* ref = nullptr) const;
  CPDFObject* Get_F(CPDFObjRef* ref = nullptr) const;
  CPDFArray* Get_Pages(CPDFObjRef* ref = nullptr) const;
  CPDFArray* Get_Annots(CPDFObjRef* ref = nullptr) const;
  // Stores the FileSpec dictionary into the FDF dictionary; false without FDF
  // (the value is then destroyed).
  bool Set_F(CPDFObject* value, bool indirect = false, CPDFObjRef* ref = nullptr);

private:
  template <class T>
  T* GetInFDF(const char* key, CPDFObjRef* ref) const;
};

}  // namespace koyo
