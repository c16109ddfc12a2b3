// The objects of one section of a document that have been loaded (or made)
// so far, by object number. Slot k holds object number k + 1; the body owns
// the objects in its slots. Only slots that hold something take memory, so a
// section that declares huge object numbers costs nothing until objects exist.
#pragma once
#include <cstdint>
#include <map>
#include <memory>

#include "koyo/document/CPDFFileStruct.h"
#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/CPDFObject.h"

namespace koyo {

class CPDFBody : public CPDFFileStruct {
public:
  struct Slot {
    CPDFObjRef ref;
    std::unique_ptr<CPDFObject> obj;
  };
  using Slots = std::map<int32_t, Slot>;

  CPDFBody() : CPDFFileStruct(kKindBody) {}

  // Attaches the body to doc (reading a body reads nothing).
  bool Realize(CPDFDoc* doc) {
    Attach(doc);
    return true;
  }
  // A new, empty body for doc with as many slots as previous (none without one).
  bool Create(CPDFDoc* doc, const CPDFBody* previous);

  // Number of slots: the highest object number this section may hold.
  int32_t Count() const { return count_; }
  // Sets the slot count; shrinking destroys the objects beyond it.
  bool Resize(int32_t count);

  // The object under ref: ref must be valid, within the slots and equal to the
  // slot's reference. Null otherwise.
  CPDFObject* GetObj(const CPDFObjRef& ref) const;
  // The slot takes ref and obj, destroying another object it held. False (obj
  // not taken) for an invalid ref or a number outside the slots.
  bool SetObj(const CPDFObjRef& ref, CPDFObject* obj);
  // Appends a slot (count + 1, generation 0) holding obj; its reference goes to
  // out. False (obj not taken) when the slot count cannot grow.
  bool AddObj(CPDFObject* obj, CPDFObjRef* out);
  // Destroys the object under ref and empties its slot, when GetObj finds it.
  void DeleteObj(const CPDFObjRef& ref);
  // Empties the slot of the object under ref without destroying it; the caller
  // takes it over. Null when GetObj finds nothing.
  CPDFObject* DetachObj(const CPDFObjRef& ref);

  // The slots that hold objects, in ascending object number.
  const Slots& GetSlots() const { return slots_; }

private:
  int32_t count_ = 0;
  Slots slots_;
};

}  // namespace koyo
