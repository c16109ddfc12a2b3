// Base of every direct PDF value: its type code and type name, the four flags
// (defined, copy, release, linearize) and the object-level operations: deep
// copy, adoption of another value's contents, release of referenced objects
// and renumbering of references. None of these operations throws.
#pragma once
#include <cstdint>

#include "koyo/object/CPDFAtom.h"
#include "koyo/object/CPDFObjRef.h"

namespace koyo {

class CopyContext;
class ObjectTable;

class CPDFObject : public CPDFAtom {
public:
  // Type codes, one bit per class. Numbers read from PDF text are kNumber;
  // kAnyNumber tests for any of the three numeric classes.
  enum : int32_t {
    kBool = 0x1,
    kNumber = 0x2,
    kInt = 0x4,
    kReal = 0x8,
    kString = 0x10,
    kText = 0x20,
    kName = 0x40,
    kArray = 0x80,
    kDict = 0x100,
    kStream = 0x200,
    kNull = 0x400,
    kAnyNumber = kNumber | kInt | kReal,
  };

  ~CPDFObject() override = 0;

  int32_t GetType() const { return type_; }
  const char* GetTypeName() const { return typeName_; }
  // True when the type code has any bit of mask.
  bool IsType(int32_t mask) const { return (type_ & mask) != 0; }

  // Set by reading from PDF text; values built by code keep it cleared.
  bool IsDefined() const { return defined_ != 0; }
  void SetDefined(bool on) { defined_ = on ? 1 : 0; }
  // Cleared: the value is left out when its container is copied.
  bool GetCopy() const { return copy_ != 0; }
  void SetCopy(bool on) { copy_ = on ? 1 : 0; }
  // Cleared: an unforced release by the document keeps this indirect object.
  bool GetRelease() const { return release_ != 0; }
  void SetRelease(bool on) { release_ = on ? 1 : 0; }
  // Cleared: linearizing a container does not descend into this value.
  bool GetLinearize() const { return linearize_ != 0; }
  void SetLinearize(bool on) { linearize_ = on ? 1 : 0; }

  // A new deep copy owned by the caller, or null. References are resolved
  // through source; with a target document, each copied indirect object
  // becomes a new indirect object of target (an object referenced several
  // times is copied once). A reference cycle, or nesting deeper than
  // CopyContext::kMaxDepth, fails.
  CPDFObject* Duplicate(ObjectTable* target, ObjectTable* source) const noexcept;
  // Copies this value's contents into target, which must be of this class.
  // Containers skip keys or indices the target has when overwrite is false.
  // A failure may leave target partly filled.
  bool CopyTo(CPDFObject* target, ObjectTable* targetDoc, ObjectTable* sourceDoc,
              bool overwrite = true) const noexcept;

  // Duplicate as one step of a running copy. Classes rarely override it; they
  // override MakeEmpty and CopyInto instead.
  virtual CPDFObject* DuplicateIn(CopyContext& context, ObjectTable* target,
                                  ObjectTable* source) const noexcept;
  // A new, empty value of the same class (a subclass returns its own class).
  virtual CPDFObject* MakeEmpty() const = 0;
  // The copy of each class; the base copies the four flags. May throw; the
  // public operations catch.
  virtual bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                        ObjectTable* sourceDoc, bool overwrite) const;
  // Takes over the value of other (same class): containers exchange their
  // entries with other, scalars copy. The flags stay.
  virtual bool Adopt(ObjectTable* doc, CPDFObject* other);
  // Releases the indirect objects this value refers to (containers); true on success.
  virtual bool Release(ObjectTable* doc) noexcept;
  // Renumbers the references this value holds (containers); true on success.
  virtual bool Linearize(ObjectTable* doc) noexcept;

  // The direct value an atom stands for: the atom itself for a direct object,
  // the object loaded through doc for a reference (null without doc). The
  // reference, when there is one, goes to ref.
  static CPDFObject* Resolve(ObjectTable* doc, CPDFAtom* atom, CPDFObjRef* ref);

protected:
  CPDFObject(int32_t type, const char* typeName)
      : CPDFAtom(kKindObject, "Object"), type_(type), typeName_(typeName) {}
  CPDFObject(const CPDFObject&) = default;
  CPDFObject& operator=(const CPDFObject&) = default;

  // Copies one source value, found under a key or index, for a container copy.
  // ref is the reference the value was reached through (invalid when direct).
  // store(copy, indirect, newRef) puts a duplicate into the target and
  // storeRef(ref) a reference to an object copied before.
  template <class Store, class StoreRef>
  static bool CopyEntry(CopyContext& context, const CPDFObject* value, const CPDFObjRef& ref,
                        ObjectTable* targetDoc, ObjectTable* sourceDoc, Store store, StoreRef storeRef);

private:
  int32_t type_;
  const char* typeName_;
  uint8_t defined_ = 0;
  uint8_t copy_ = 1;
  uint8_t release_ = 1;
  uint8_t linearize_ = 1;
};

}  // namespace koyo

#include "koyo/object/CPDFObjectCopy.h"
