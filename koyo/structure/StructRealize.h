// How typed wrappers turn values read from a file into typed objects: the
// common Realize (record the document, adopt the value, realize the entries
// that hold structures), the entry realization by key, by array element and
// by dictionary value, and the makers that build one typed object from a
// read value.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/ObjectTable.h"
#include "koyo/structure/StructHeader.h"

namespace koyo {

// Realize options of the library instance (ObjectTable::RealizeOptions).
inline constexpr int32_t kRealizeMinimal = 1;      // realize only what page access needs
inline constexpr int32_t kRealizeNoResources = 2;  // leave resource entries as read

inline int32_t RealizeOptionsOf(const ObjectTable* doc) { return doc ? doc->RealizeOptions() : 0; }

// Raised inside a wrapper operation to make it fail; the operation's own
// boundary catches it and answers false or null.
struct StructFailure {};
[[noreturn]] void FailStruct();

// A maker turns a read value (defined, of the expected kind) into a new typed
// object owned by the caller. Null leaves the value as read; a thrown
// exception fails the structure being realized.
using MakeFn = CPDFObject* (*)(ObjectTable* doc, CPDFObject* value);

// The usual maker: class C when C::Verify accepts the value, realized from it.
// A failing Realize fails the caller.
template <class C>
CPDFObject* MakeAs(ObjectTable* doc, CPDFObject* value) {
  if (!C::Verify(doc, value)) return nullptr;
  C* made = new C;
  if (!made->Realize(doc, value)) {
    delete made;
    FailStruct();
  }
  return made;
}
// A number read from a file as a CPDFInt or CPDFReal carrying both its values.
CPDFObject* MakeInt(ObjectTable* doc, CPDFObject* value);
CPDFObject* MakeReal(ObjectTable* doc, CPDFObject* value);
// A string read from a file as a text string (same bytes, same writing form).
CPDFObject* MakeText(ObjectTable* doc, CPDFObject* value);

// The common Realize of wrapper self: records doc, adopts value's contents,
// then runs body, which realizes the entries (and throws to fail). When body
// fails, value takes the contents back, so a failed Realize loses nothing of
// what was read. True on success.
template <class Self, class Body>
bool RealizeStruct(Self& self, ObjectTable* doc, CPDFObject* value, Body&& body) noexcept {
  StructHeader& header = self;
  CPDFObject& object = self;
  header.SetDoc(doc);
  if (!value || value == &object) return false;
  try {
    if (!object.Adopt(doc, value)) return false;
  } catch (...) {
    return false;
  }
  try {
    body();
    return true;
  } catch (...) {
  }
  try {
    value->Adopt(doc, &object);
  } catch (...) {
  }
  return false;
}

// The plain Realize: record the document and adopt the value.
template <class Self>
bool RealizePlain(Self& self, ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(self, doc, value, [] {});
}

namespace detail {
// make(doc, value) for a value that is defined and carries a bit of mask;
// null (leave as read) otherwise.
template <class Make>
CPDFObject* MakeFor(ObjectTable* doc, CPDFObject* value, int32_t mask, Make& make) {
  if (!value->IsDefined() || !value->IsType(mask)) return nullptr;
  return make(doc, value);
}
}  // namespace detail

// Realizes dict's entry key: a read value carrying a bit of mask is handed to
// make, and what make builds is stored back under key, indirect exactly when
// the entry was a reference (under that reference, so the object keeps its
// number). An absent key is skipped; a key whose reference cannot be
// resolved, or a failing store, fails.
template <class Make>
void RealizeEntry(ObjectTable* doc, CPDFDict& dict, const char* key, int32_t mask, Make make) {
  CPDFObjRef ref;
  CPDFObject* value = dict.GetValue(doc, key, &ref);
  if (!value) {
    if (dict.HasKey(key)) FailStruct();
    return;
  }
  CPDFObject* made = detail::MakeFor(doc, value, mask, make);
  if (made && !dict.SetValue(doc, key, made, ref.IsValid(), &ref)) FailStruct();
}

// One row of a wrapper's realization table.
struct EntryRule {
  const char* key;
  int32_t mask;
  MakeFn make;
};
// RealizeEntry for each row, in the order given.
void RealizeEntries(ObjectTable* doc, CPDFDict& dict, std::initializer_list<EntryRule> rules);

// Realizes each element of array in order, as RealizeEntry does for a key; an
// element that cannot be resolved fails.
template <class Make>
void RealizeElements(ObjectTable* doc, CPDFArray& array, int32_t mask, Make make) {
  for (int32_t i = 0; i < array.Count(); ++i) {
    CPDFObjRef ref;
    CPDFObject* value = array.GetObj(doc, i, &ref);
    if (!value) FailStruct();
    CPDFObject* made = detail::MakeFor(doc, value, mask, make);
    if (made && !array.SetObj(doc, i, made, ref.IsValid(), &ref)) FailStruct();
  }
}

// Realizes each value of dict in ascending key order, as RealizeEntry does; a
// value that cannot be resolved fails.
template <class Make>
void RealizeValues(ObjectTable* doc, CPDFDict& dict, int32_t mask, Make make) {
  for (auto& entry : dict) {
    CPDFObjRef ref;
    CPDFObject* value = CPDFObject::Resolve(doc, entry.value, &ref);
    if (!value) FailStruct();
    CPDFObject* made = detail::MakeFor(doc, value, mask, make);
    // Replacing the value of an existing key leaves the walk undisturbed.
    if (made && !dict.SetValue(doc, entry.key, made, ref.IsValid(), &ref)) FailStruct();
  }
}

// RealizeEntry as a whole operation: false instead of a thrown failure. The
// document uses it for the trailer's Root and Info, for example
// RealizeKey(doc, trailer, "Root", CPDFObject::kDict, MakeAs<CPDFCatalog>).
bool RealizeKey(ObjectTable* doc, CPDFDict& dict, const char* key, int32_t mask, MakeFn make) noexcept;

}  // namespace koyo
