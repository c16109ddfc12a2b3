#include "koyo/object/CPDFArray.h"

#include <new>

#include "koyo/object/CPDFDict.h"
#include "koyo/object/CopyContext.h"
#include "koyo/object/ObjectTable.h"

namespace koyo {

CPDFArray::CPDFArray() : CPDFObject(kArray, "Array"), Elements(CPDFDict::DeleteAtom) {}

CPDFObject* CPDFArray::GetObj(ObjectTable* doc, int32_t index, CPDFObjRef* ref) const {
  if (doc) doc->ClearError();
  if (ref) ref->Reset();
  if (index < 0 || index >= Count()) return nullptr;
  return Resolve(doc, GetAt(index), ref);
}

bool CPDFArray::Store(Where where, int32_t index, CPDFAtom* atom) {
  bool ok = false;
  switch (where) {
    case Where::kAt: ok = SetAt(index, atom); break;
    case Where::kBack: ok = Elements::Push_Back(atom); break;
    case Where::kFront: ok = Elements::Push_Front(atom); break;
  }
  if (!ok) delete atom;
  return ok;
}

bool CPDFArray::Put(ObjectTable* doc, Where where, int32_t index, CPDFObject* obj, bool indirect,
                    CPDFObjRef* ref) {
  if (doc) doc->ClearError();
  if (!obj) return false;
  if (where == Where::kAt && (index < 0 || index >= Count())) {
    delete obj;
    return false;
  }
  if (!indirect) return Store(where, index, obj);
  if (!doc) {
    delete obj;
    return false;
  }
  CPDFObjRef made;
  const CPDFObjRef* proposed = ref && ref->IsValid() ? ref : nullptr;
  if (!doc->RegistObj(obj, proposed, &made)) {
    delete obj;
    return false;
  }
  auto* atom = new (std::nothrow) CPDFObjRef(made);
  if (!atom || !Store(where, index, atom)) return false;
  if (ref) *ref = made;
  return true;
}

bool CPDFArray::SetObj(ObjectTable* doc, int32_t index, CPDFObject* obj, bool indirect, CPDFObjRef* ref) {
  return Put(doc, Where::kAt, index, obj, indirect, ref);
}

bool CPDFArray::Push_Back(ObjectTable* doc, CPDFObject* obj, bool indirect, CPDFObjRef* ref) {
  return Put(doc, Where::kBack, 0, obj, indirect, ref);
}

bool CPDFArray::Push_Front(ObjectTable* doc, CPDFObject* obj, bool indirect, CPDFObjRef* ref) {
  return Put(doc, Where::kFront, 0, obj, indirect, ref);
}

bool CPDFArray::RemoveObj(ObjectTable* doc, int32_t index) {
  if (doc) doc->ClearError();
  if (index < 0 || index >= Count()) return false;
  CPDFAtom* atom = GetAt(index);
  if (atom && atom->IsReference() && doc && !doc->DeleteObj(*static_cast<CPDFObjRef*>(atom))) return false;
  delete atom;
  RemoveAt(index);
  return true;
}

bool CPDFArray::CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                         ObjectTable* sourceDoc, bool overwrite) const {
  auto* t = dynamic_cast<CPDFArray*>(target);
  if (!t || t == this || !CPDFObject::CopyInto(t, context, targetDoc, sourceDoc, overwrite)) return false;
  for (int32_t i = 0; i < Count(); ++i) {
    if (!overwrite && i < t->Count()) continue;
    CPDFObjRef ref;
    if (sourceDoc) sourceDoc->ClearError();
    CPDFObject* value = Resolve(sourceDoc, GetAt(i), &ref);
    if (!value) return false;
    if (!value->GetCopy()) continue;
    Where where = i < t->Count() ? Where::kAt : Where::kBack;
    bool ok = CopyEntry(
        context, value, ref, targetDoc, sourceDoc,
        [&](CPDFObject* copy, bool indirect, CPDFObjRef* made) {
          return t->Put(indirect ? targetDoc : nullptr, where, i, copy, indirect, made);
        },
        [&](const CPDFObjRef& made) {
          auto* atom = new (std::nothrow) CPDFObjRef(made);
          return atom && t->Store(where, i, atom);
        });
    if (!ok) return false;
  }
  return true;
}

bool CPDFArray::Adopt(ObjectTable*, CPDFObject* other) {
  auto* o = dynamic_cast<CPDFArray*>(other);
  if (!o) return false;
  Swap(*o);
  return true;
}

bool CPDFArray::Release(ObjectTable* doc) noexcept {
  try {
    if (!CPDFObject::Release(doc)) return false;
    for (int32_t i = 0; i < Count(); ++i) {
      CPDFAtom* atom = GetAt(i);
      if (!atom) continue;
      if (atom->IsReference()) {
        if (!doc || !doc->ReleaseObj(*static_cast<CPDFObjRef*>(atom), false)) return false;
      } else if (!static_cast<CPDFObject*>(atom)->Release(doc)) {
        return false;
      }
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool CPDFArray::Linearize(ObjectTable* doc) noexcept {
  try {
    if (!CPDFObject::Linearize(doc)) return false;
    for (int32_t i = 0; i < Count(); ++i) {
      CPDFAtom* atom = GetAt(i);
      if (!atom) continue;
      if (atom->IsReference()) {
        auto& ref = *static_cast<CPDFObjRef*>(atom);
        if (!doc) return false;
        ObjRefMap* map = doc->RenumberMap();
        auto it = map ? map->Find(ref) : ObjRefMap::iterator();
        if (map && it != map->end()) {
          ref = it->value;
        } else if (!doc->LinearizeObj(ref)) {
          return false;
        }
      } else {
        auto* obj = static_cast<CPDFObject*>(atom);
        if (obj->GetLinearize() && !obj->Linearize(doc)) return false;
      }
    }
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace koyo
