// The copy of one container entry, shared by dictionaries and arrays.
#pragma once
#include "koyo/object/CPDFObject.h"
#include "koyo/object/CopyContext.h"

namespace koyo {

template <class Store, class StoreRef>
bool CPDFObject::CopyEntry(CopyContext& context, const CPDFObject* value, const CPDFObjRef& ref,
                           ObjectTable* targetDoc, ObjectTable* sourceDoc, Store store, StoreRef storeRef) {
  bool indirect = ref.IsValid();
  if (indirect) {
    auto done = context.Map().Find(ref);
    if (done != context.Map().end()) return storeRef(done->value);
    if (context.InProgress(ref)) return false;  // a reference cycle
    context.Enter(ref);
  }
  CPDFObject* copy = value->DuplicateIn(context, targetDoc, sourceDoc);
  if (indirect) context.Leave();
  if (!copy) return false;
  if (indirect && targetDoc) {
    CPDFObjRef made;
    if (!store(copy, true, &made)) return false;
    return context.Map().Insert(ref, made);
  }
  return store(copy, false, nullptr);
}

}  // namespace koyo
