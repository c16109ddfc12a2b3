// A PDF dictionary: name keys in ascending byte order, each with an atom
// (direct value or reference) that the dictionary owns. Typed dictionary
// classes and streams derive from it.
#pragma once
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFObject.h"
#include "koyo/object/TempDict.h"

namespace koyo {

class CPDFDict : public CPDFObject, public TempDict<CPDFName, CPDFAtom*> {
public:
  using Entries = TempDict<CPDFName, CPDFAtom*>;

  CPDFDict() : CPDFObject(kDict, "Dictionary"), Entries(DeleteAtom) {}
  ~CPDFDict() override = default;

  // Stores atom under key, replacing (and destroying) a former value. The
  // dictionary owns atom from here on, also when storing fails (it is then
  // destroyed).
  bool Insert(const CPDFName& key, CPDFAtom* atom);
  bool Insert(const char* key, CPDFAtom* atom);
  // Insert for a key that is not needed afterwards: a new entry takes over the
  // key's bytes instead of copying them (key is left empty).
  bool InsertTaking(CPDFName& key, CPDFAtom* atom);

  // The entry for key (end() when missing).
  Entries::iterator FindKey(const char* key) const;
  bool HasKey(const char* key) const { return FindKey(key) != end(); }

  // The value under key, resolved through doc when it is a reference (null
  // without doc or when the document cannot load it). ref, when given, is
  // reset and then receives the reference. The result stays owned by the
  // dictionary or the document. Clears doc's last error first.
  CPDFObject* GetValue(ObjectTable* doc, const char* key, CPDFObjRef* ref = nullptr) const;
  // Stores obj under key: directly, or, with indirect, as a new indirect object
  // of doc (ref, when valid, is the proposed reference) with a reference to it
  // under key; ref then receives the reference. Ownership of obj passes in
  // every case: on failure it is destroyed unless the document already took it.
  bool SetValue(ObjectTable* doc, const char* key, CPDFObject* obj, bool indirect = false,
                CPDFObjRef* ref = nullptr);
  bool SetValue(ObjectTable* doc, const CPDFName& key, CPDFObject* obj, bool indirect = false,
                CPDFObjRef* ref = nullptr);
  // Removes the entry; an indirect value is first deleted from doc. False when
  // the key is missing or the document refuses the deletion (entry kept).
  bool RemoveValue(ObjectTable* doc, const char* key);

  CPDFObject* MakeEmpty() const override { return new CPDFDict; }
  bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                bool overwrite) const override;
  // Exchanges entries with other, which keeps this dictionary's former ones.
  bool Adopt(ObjectTable* doc, CPDFObject* other) override;
  bool Release(ObjectTable* doc) noexcept override;
  bool Linearize(ObjectTable* doc) noexcept override;

  // The element deleter of dictionaries and arrays: destroys the atom in slot.
  static void DeleteAtom(CPDFAtom** slot);

protected:
  CPDFDict(int32_t type, const char* typeName) : CPDFObject(type, typeName), Entries(DeleteAtom) {}
};

}  // namespace koyo
