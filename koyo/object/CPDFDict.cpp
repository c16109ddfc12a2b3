#include "koyo/object/CPDFDict.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "koyo/object/CopyContext.h"
#include "koyo/object/ObjectTable.h"

namespace koyo {

void CPDFDict::DeleteAtom(CPDFAtom** slot) {
  delete *slot;
  *slot = nullptr;
}

bool CPDFDict::Insert(const CPDFName& key, CPDFAtom* atom) {
  if (Entries::Insert(key, atom)) return true;
  delete atom;
  return false;
}

bool CPDFDict::InsertTaking(CPDFName& key, CPDFAtom* atom) {
  if (Entries::InsertTaking(key, atom)) return true;
  delete atom;
  return false;
}

bool CPDFDict::Insert(const char* key, CPDFAtom* atom) {
  if (!key) {
    delete atom;
    return false;
  }
  return Insert(CPDFName(key), atom);
}

CPDFDict::Entries::iterator CPDFDict::FindKey(const char* key) const {
  if (!key) return end();
  const size_t length = std::strlen(key);
  if (length > static_cast<size_t>(INT32_MAX)) return end();
  const int32_t n = static_cast<int32_t>(length);
  return FindBy([key, n](const CPDFName& k) { return k.Compare(key, n); });
}

CPDFObject* CPDFDict::GetValue(ObjectTable* doc, const char* key, CPDFObjRef* ref) const {
  if (doc) doc->ClearError();
  if (ref) ref->Reset();
  auto it = FindKey(key);
  if (it == end()) return nullptr;
  return Resolve(doc, it->value, ref);
}

bool CPDFDict::SetValue(ObjectTable* doc, const CPDFName& key, CPDFObject* obj, bool indirect, CPDFObjRef* ref) {
  if (doc) doc->ClearError();
  if (!obj) return false;
  if (!indirect) return Insert(key, obj);
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
  // From here the document owns obj.
  auto* atom = new (std::nothrow) CPDFObjRef(made);
  if (!atom || !Insert(key, atom)) return false;
  if (ref) *ref = made;
  return true;
}

bool CPDFDict::SetValue(ObjectTable* doc, const char* key, CPDFObject* obj, bool indirect, CPDFObjRef* ref) {
  if (!key) {
    if (doc) doc->ClearError();
    delete obj;
    return false;
  }
  return SetValue(doc, CPDFName(key), obj, indirect, ref);
}

bool CPDFDict::RemoveValue(ObjectTable* doc, const char* key) {
  if (doc) doc->ClearError();
  auto it = FindKey(key);
  if (it == end()) return false;
  CPDFAtom* atom = it->value;
  if (atom && atom->IsReference() && doc && !doc->DeleteObj(*static_cast<CPDFObjRef*>(atom))) return false;
  delete atom;
  Erase(it);
  return true;
}

bool CPDFDict::CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                        ObjectTable* sourceDoc, bool overwrite) const {
  auto* t = dynamic_cast<CPDFDict*>(target);
  if (!t || t == this || !CPDFObject::CopyInto(t, context, targetDoc, sourceDoc, overwrite)) return false;
  for (const auto& entry : *this) {
    const CPDFName& key = entry.key;
    if (!overwrite && t->Find(key) != t->end()) continue;
    CPDFObjRef ref;
    if (sourceDoc) sourceDoc->ClearError();
    CPDFObject* value = Resolve(sourceDoc, entry.value, &ref);
    if (!value) return false;
    if (!value->GetCopy()) continue;
    bool ok = CopyEntry(
        context, value, ref, targetDoc, sourceDoc,
        [&](CPDFObject* copy, bool indirect, CPDFObjRef* made) {
          return t->SetValue(indirect ? targetDoc : nullptr, key, copy, indirect, made);
        },
        [&](const CPDFObjRef& made) {
          auto* atom = new (std::nothrow) CPDFObjRef(made);
          return atom && t->Insert(key, atom);
        });
    if (!ok) return false;
  }
  return true;
}

bool CPDFDict::Adopt(ObjectTable*, CPDFObject* other) {
  auto* o = dynamic_cast<CPDFDict*>(other);
  if (!o) return false;
  Swap(*o);
  return true;
}

bool CPDFDict::Release(ObjectTable* doc) noexcept {
  try {
    if (!CPDFObject::Release(doc)) return false;
    for (const auto& entry : *this) {
      CPDFAtom* atom = entry.value;
      if (!atom) continue;
      if (atom->IsReference()) {
        const auto& ref = *static_cast<CPDFObjRef*>(atom);
        if (!doc || !doc->ReleaseObj(ref, false)) {
          std::printf("docP->ReleaseObj: %d, %d\n", ref.GetObjNum(), ref.GetGenNum());
          return false;
        }
      } else if (!static_cast<CPDFObject*>(atom)->Release(doc)) {
        return false;
      }
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool CPDFDict::Linearize(ObjectTable* doc) noexcept {
  try {
    if (!CPDFObject::Linearize(doc)) return false;
    for (const auto& entry : *this) {
      CPDFAtom* atom = entry.value;
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
