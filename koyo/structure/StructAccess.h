// The typed accessors of the wrappers: getters and setters generated from a
// key name, the static names that type entries are written from, SetType, and
// the deep copy that keeps a wrapper's class.
#pragma once
#include <type_traits>

#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CopyContext.h"
#include "koyo/structure/StructHeader.h"

namespace koyo {

// The stored value seen as T: null when the value is not a T (for example a
// value that was never realized as that wrapper class).
template <class T>
T* AsStruct(CPDFObject* value) {
  if constexpr (std::is_same_v<T, CPDFObject>) {
    return value;
  } else {
    return dynamic_cast<T*>(value);
  }
}

// Getter: key's value resolved through doc, as T. ref, when given, is reset
// and receives the entry's reference when the entry is indirect.
template <class T>
T* GetEntry(const CPDFDict& dict, ObjectTable* doc, const char* key, CPDFObjRef* ref) {
  return AsStruct<T>(dict.GetValue(doc, key, ref));
}

// Setter: stores value (a wrapper stores its value part) under key, directly
// or, with indirect, as an indirect object of doc: under ref when ref is
// valid (the object of that number is replaced), else under a new number that
// is written back into ref. The value passes to the dictionary or document in
// every case; a failed store destroys it.
template <class T>
bool SetEntry(CPDFDict& dict, ObjectTable* doc, const char* key, T* value, bool indirect, CPDFObjRef* ref) {
  CPDFObject* object = value;
  return dict.SetValue(doc, key, object, indirect, ref);
}

// Stores a new copy of name under key with Insert, replacing an earlier value.
bool StoreName(CPDFDict& dict, const char* key, const CPDFName& name);

// The deep copy of a wrapper of class Self over value class Value: a new Self
// filled by Value's copy, with the target document recorded in its header.
template <class Value>
bool CopyStruct(const Value& self, CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                ObjectTable* sourceDoc, bool overwrite) {
  if (!self.Value::CopyInto(target, context, targetDoc, sourceDoc, overwrite)) return false;
  if (auto* header = dynamic_cast<StructHeader*>(target)) header->SetDoc(targetDoc);
  return true;
}

}  // namespace koyo

// Inside a wrapper class: Get_<Key>(CPDFObjRef* ref = nullptr) returning Type*.
#define KOYO_GET(Type, Key)                                                 \
  Type* Get_##Key(::koyo::CPDFObjRef* ref = nullptr) const {                \
    return ::koyo::GetEntry<Type>(*this, this->GetDoc(), #Key, ref);        \
  }
// Inside a wrapper class: Set_<Key>(Type* value, bool indirect, CPDFObjRef* ref).
#define KOYO_SET(Type, Key)                                                            \
  bool Set_##Key(Type* value, bool indirect = false, ::koyo::CPDFObjRef* ref = nullptr) { \
    return ::koyo::SetEntry<Type>(*this, this->GetDoc(), #Key, value, indirect, ref);   \
  }
#define KOYO_GET_SET(Type, Key) \
  KOYO_GET(Type, Key)           \
  KOYO_SET(Type, Key)

// Inside a wrapper class: a class-level static name, built on first use and
// kept until the program ends.
#define KOYO_STATIC_NAME(Func, Text)                   \
  static const ::koyo::CPDFName& Func() {              \
    static const ::koyo::CPDFName name(Text);          \
    return name;                                       \
  }

// Inside a wrapper class Class over value class Value: Duplicate makes a
// Class (not a plain value) and records the target document in it.
#define KOYO_STRUCT_COPY(Class, Value)                                                                   \
  ::koyo::CPDFObject* MakeEmpty() const override { return new Class; }                                 \
  bool CopyInto(::koyo::CPDFObject* target, ::koyo::CopyContext& context, ::koyo::ObjectTable* targetDoc, \
                ::koyo::ObjectTable* sourceDoc, bool overwrite) const override {                        \
    return ::koyo::CopyStruct<Value>(*this, target, context, targetDoc, sourceDoc, overwrite);          \
  }
