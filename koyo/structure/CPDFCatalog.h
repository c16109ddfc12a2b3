// The catalog: the root of a document's structure (the trailer's Root), with
// the page tree root under Pages.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/structure/CPDFDocStruct.h"
#include "koyo/structure/CPDFPages.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFCatalog : public CPDFDocStruct, public CPDFDict {
public:
  CPDFCatalog() = default;
  ~CPDFCatalog() override = default;

  KOYO_STATIC_NAME(Name_Catalog, "Catalog")

  // Type is the name Catalog and Pages a dictionary.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Type, and an empty page tree root as a new indirect object under Pages.
  bool Create(ObjectTable* doc);
  // Realizes the page tree root (which must be present and resolvable); its
  // kids are left to the page walks. The entries of outlines, threads,
  // forms, actions and the other document-level structures stay as read.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;
  bool SetType();

  KOYO_GET_SET(CPDFPages, Pages)
  KOYO_GET(CPDFDict, Dests)
  KOYO_GET(CPDFArray, Threads)
  KOYO_GET(CPDFObject, OpenAction)
  // Entries kept as read: their plain dictionaries.
  KOYO_GET(CPDFDict, Outlines)
  KOYO_GET(CPDFDict, AcroForm)
  KOYO_GET(CPDFDict, Names)
  KOYO_GET(CPDFDict, URI)
  KOYO_GET(CPDFDict, ViewerPreferences)
  KOYO_GET(CPDFDict, PageLabels)
};

}  // namespace koyo
