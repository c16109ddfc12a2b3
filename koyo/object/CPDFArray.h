// A PDF array: atoms (direct values or references) in order, owned by the
// array.
#pragma once
#include "koyo/object/CPDFObject.h"
#include "koyo/object/TempArray.h"

namespace koyo {

class CPDFArray : public CPDFObject, public TempArray<CPDFAtom*> {
public:
  using Elements = TempArray<CPDFAtom*>;
  using Elements::Push_Back;
  using Elements::Push_Front;

  CPDFArray();
  ~CPDFArray() override = default;

  // The element at index, resolved through doc when it is a reference (null
  // without doc, when it cannot be loaded, or outside the array). ref, when
  // given, is reset and then receives the reference. Clears doc's last error.
  CPDFObject* GetObj(ObjectTable* doc, int32_t index, CPDFObjRef* ref = nullptr) const;
  // Replaces the element at index (the old one is destroyed) by obj, directly
  // or, with indirect, as a new indirect object of doc referred to from the
  // array (ref: proposed reference in, reference made out). Ownership of obj
  // passes in every case, as for CPDFDict::SetValue.
  bool SetObj(ObjectTable* doc, int32_t index, CPDFObject* obj, bool indirect = false,
              CPDFObjRef* ref = nullptr);
  // Appends obj, or puts it first, in the same way.
  bool Push_Back(ObjectTable* doc, CPDFObject* obj, bool indirect = false, CPDFObjRef* ref = nullptr);
  bool Push_Front(ObjectTable* doc, CPDFObject* obj, bool indirect = false, CPDFObjRef* ref = nullptr);
  // Destroys and removes the element at index; an indirect one is first
  // deleted from doc. False outside the array or when the document refuses.
  bool RemoveObj(ObjectTable* doc, int32_t index);

  CPDFObject* MakeEmpty() const override { return new CPDFArray; }
  bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                bool overwrite) const override;
  // Exchanges elements with other, which keeps this array's former ones.
  bool Adopt(ObjectTable* doc, CPDFObject* other) override;
  bool Release(ObjectTable* doc) noexcept override;
  bool Linearize(ObjectTable* doc) noexcept override;

private:
  enum class Where { kAt, kBack, kFront };
  // Stores atom as the element named by where/index; destroys it on failure.
  bool Store(Where where, int32_t index, CPDFAtom* atom);
  bool Put(ObjectTable* doc, Where where, int32_t index, CPDFObject* obj, bool indirect, CPDFObjRef* ref);
};

}  // namespace koyo
