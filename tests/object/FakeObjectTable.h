// Test helper: a minimal document object table holding indirect objects in a
// map, counting the calls the values make into it.
#pragma once
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/CPDFObject.h"
#include "koyo/object/ObjectTable.h"

namespace koyo::test {

class FakeObjectTable : public ObjectTable {
public:
  using Key = std::pair<int32_t, int32_t>;

  // Registers obj under the next free number and returns its reference.
  CPDFObjRef Add(CPDFObject* obj) {
    CPDFObjRef ref;
    RegistObj(obj, nullptr, &ref);
    return ref;
  }
  CPDFObject* Get(const CPDFObjRef& ref) const {
    auto it = objects.find(Key(ref.GetObjNum(), ref.GetGenNum()));
    return it == objects.end() ? nullptr : it->second.get();
  }
  size_t Size() const { return objects.size(); }

  void ClearError() override { ++clears; }
  CPDFObject* LoadObj(const CPDFObjRef& ref) override {
    ++loads;
    return Get(ref);
  }
  bool RegistObj(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out) override {
    if (refuseRegist || !obj) return false;
    Key key(next, 0);
    if (proposed && proposed->IsValid()) key = Key(proposed->GetObjNum(), proposed->GetGenNum());
    if (objects.count(key)) return false;
    objects[key].reset(obj);
    if (key.first >= next) next = key.first + 1;
    if (out) out->Set(key.first, key.second);
    return true;
  }
  bool UpdateObj(const CPDFObjRef& ref) override {
    updated.push_back(ref);
    return Get(ref) != nullptr;
  }
  bool DeleteObj(const CPDFObjRef& ref) override {
    deleted.push_back(ref);
    return objects.erase(Key(ref.GetObjNum(), ref.GetGenNum())) > 0;
  }
  bool ReleaseObj(const CPDFObjRef& ref, bool force) override {
    auto it = objects.find(Key(ref.GetObjNum(), ref.GetGenNum()));
    if (it == objects.end()) return false;
    if (!force && !it->second->GetRelease()) return true;  // kept, not a failure
    objects.erase(it);
    return true;
  }
  bool LinearizeObj(const CPDFObjRef& ref) override {
    linearized.push_back(ref);
    return !refuseLinearize;
  }
  ObjRefMap* RenumberMap() override { return renumber; }

  std::map<Key, std::unique_ptr<CPDFObject>> objects;
  int32_t next = 1;
  int clears = 0;
  int loads = 0;
  bool refuseRegist = false;
  bool refuseLinearize = false;
  std::vector<CPDFObjRef> updated;
  std::vector<CPDFObjRef> deleted;
  std::vector<CPDFObjRef> linearized;
  ObjRefMap* renumber = nullptr;
};

}  // namespace koyo::test
