// A page: a leaf of the page tree with its boxes, resources, contents and
// annotations. MediaBox and Resources may be inherited from the nodes above.
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/structure/CPDFDocStruct.h"
#include "koyo/structure/CPDFPages.h"
#include "koyo/structure/CPDFRect.h"
#include "koyo/structure/CPDFResDict.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFPage : public CPDFDocStruct, public CPDFDict {
public:
  // Longest Parent chain GetInherited follows; a chain that loops ends as
  // soon as it comes back to a dictionary already seen.
  static constexpr int32_t kMaxDepth = CPDFPages::kMaxDepth;

  CPDFPage() = default;
  ~CPDFPage() override = default;

  KOYO_STATIC_NAME(Name_Page, "Page")
  KOYO_STATIC_NAME(Name_Template, "Template")

  // Type Page with a dictionary Parent (and B, when present, an array), or
  // Type Template.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Realizes MediaBox and Resources, and unless the minimal option is set
  // also CropBox, Rotate, Dur, LastModified and the other boxes.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  // The page's own MediaBox or Resources, else the nearest ancestor's; ref
  // receives the reference of the entry found when it is indirect. Null when
  // none is found or the value found is not realized as the wrapper class.
  CPDFRect* Get_MediaBox(CPDFObjRef* ref = nullptr) const;
  CPDFResDict* Get_Resources(CPDFObjRef* ref = nullptr) const;
  KOYO_SET(CPDFResDict, Resources)
  KOYO_GET(CPDFPages, Parent)
  KOYO_GET_SET(CPDFObject, Contents)
  KOYO_GET_SET(CPDFArray, Annots)

  // key's value in the nearest ancestor that has it, or null. Parent links are
  // followed through any dictionary, realized or not.
  CPDFObject* GetInherited(const char* key, CPDFObjRef* ref = nullptr) const;
  // Gives the page its own copies of an inherited MediaBox and Resources (an
  // indirect one as a new indirect object). False when one is found nowhere
  // or cannot be copied or stored.
  bool Uninherit();

private:
  CPDFObject* OwnOrInherited(const char* key, CPDFObjRef* ref) const;
};

}  // namespace koyo
