#include "koyo/document/CPDFBody.h"

#include <limits>

namespace koyo {

bool CPDFBody::Create(CPDFDoc* doc, const CPDFBody* previous) {
  Attach(doc);
  slots_.clear();
  count_ = 0;
  return previous ? Resize(previous->Count()) : true;
}

bool CPDFBody::Resize(int32_t count) {
  if (count < 0) return false;
  if (count < count_) slots_.erase(slots_.upper_bound(count), slots_.end());
  count_ = count;
  return true;
}

CPDFObject* CPDFBody::GetObj(const CPDFObjRef& ref) const {
  if (!ref.IsValid() || ref.GetObjNum() < 1 || ref.GetObjNum() > count_) return nullptr;
  auto it = slots_.find(ref.GetObjNum());
  if (it == slots_.end() || it->second.ref != ref) return nullptr;
  return it->second.obj.get();
}

bool CPDFBody::SetObj(const CPDFObjRef& ref, CPDFObject* obj) {
  if (!ref.IsValid() || ref.GetObjNum() < 1 || ref.GetObjNum() > count_) return false;
  Slot& slot = slots_[ref.GetObjNum()];
  slot.ref = ref;
  if (slot.obj.get() != obj) slot.obj.reset(obj);
  return true;
}

bool CPDFBody::AddObj(CPDFObject* obj, CPDFObjRef* out) {
  if (count_ == std::numeric_limits<int32_t>::max()) return false;
  CPDFObjRef ref(count_ + 1, 0);
  ++count_;
  Slot& slot = slots_[ref.GetObjNum()];
  slot.ref = ref;
  slot.obj.reset(obj);
  if (out) *out = ref;
  return true;
}

void CPDFBody::DeleteObj(const CPDFObjRef& ref) {
  if (GetObj(ref)) slots_.erase(ref.GetObjNum());
}

CPDFObject* CPDFBody::DetachObj(const CPDFObjRef& ref) {
  if (!GetObj(ref)) return nullptr;
  auto it = slots_.find(ref.GetObjNum());
  CPDFObject* obj = it->second.obj.release();
  slots_.erase(it);
  return obj;
}

}  // namespace koyo
