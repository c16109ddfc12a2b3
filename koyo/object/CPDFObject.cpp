#include "koyo/object/CPDFObject.h"

#include "koyo/object/CopyContext.h"
#include "koyo/object/ObjectTable.h"

namespace koyo {

CPDFObject::~CPDFObject() = default;

CPDFObject* CPDFObject::Duplicate(ObjectTable* target, ObjectTable* source) const noexcept {
  try {
    CopyContext context(source);
    return DuplicateIn(context, target, source);
  } catch (...) {
    return nullptr;
  }
}

bool CPDFObject::CopyTo(CPDFObject* target, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                        bool overwrite) const noexcept {
  if (!target) return false;
  try {
    CopyContext context(sourceDoc);
    return CopyInto(target, context, targetDoc, sourceDoc, overwrite);
  } catch (...) {
    return false;
  }
}

CPDFObject* CPDFObject::DuplicateIn(CopyContext& context, ObjectTable* target,
                                    ObjectTable* source) const noexcept {
  if (!context.Descend()) return nullptr;
  CPDFObject* copy = nullptr;
  bool ok = false;
  try {
    copy = MakeEmpty();
    ok = copy && CopyInto(copy, context, target, source, true);
  } catch (...) {
    ok = false;
  }
  context.Ascend();
  if (ok) return copy;
  delete copy;
  return nullptr;
}

bool CPDFObject::CopyInto(CPDFObject* target, CopyContext&, ObjectTable*, ObjectTable*, bool) const {
  if (!target) return false;
  target->defined_ = defined_;
  target->copy_ = copy_;
  target->release_ = release_;
  target->linearize_ = linearize_;
  return true;
}

bool CPDFObject::Adopt(ObjectTable*, CPDFObject* other) { return other != nullptr; }

bool CPDFObject::Release(ObjectTable*) noexcept { return true; }

bool CPDFObject::Linearize(ObjectTable*) noexcept { return true; }

CPDFObject* CPDFObject::Resolve(ObjectTable* doc, CPDFAtom* atom, CPDFObjRef* ref) {
  if (!atom) return nullptr;
  if (atom->IsReference()) {
    const CPDFObjRef& r = *static_cast<CPDFObjRef*>(atom);
    if (ref) *ref = r;
    return doc ? doc->LoadObj(r) : nullptr;
  }
  return static_cast<CPDFObject*>(atom);
}

}  // namespace koyo
