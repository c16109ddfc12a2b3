// Abstract base of everything that can stand in a resource dictionary: the
// resource category (bit and name, which is also the category's key in a
// resource dictionary) and the prefix of generated resource names.
#pragma once
#include <cstdint>

#include "koyo/object/CPDFName.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFResource : public CPDFDataStruct {
public:
  // Category bits.
  enum : int32_t {
    kColorSpace = 0x1,
    kXObject = 0x2,
    kExtGState = 0x4,
    kFont = 0x8,
    kPattern = 0x10,
    kProcSet = 0x20,
    kProperties = 0x40,
    kShading = 0x80,
  };

  ~CPDFResource() override = default;

  int32_t GetCategory() const { return category_; }

  // The wrapper seen as its value.
  virtual CPDFObject* ValuePart() = 0;
  // A deep copy of the same class, or null.
  virtual CPDFResource* DuplicateResource(ObjectTable* target, ObjectTable* source) const = 0;
  // The class's prefix for generated names (empty for procedure sets).
  virtual const CPDFName& NamePrefix() const = 0;
  // The category's name ("Font", "XObject", ...).
  virtual const char* CategoryName() const { return categoryName_; }

  // name = prefix followed by number in decimal ("F12", "Im3").
  bool MakeName(int32_t number, CPDFName& name) const;

  // The name of a category bit; null for anything else.
  static const char* CategoryNameOf(int32_t category);
  // The bit of a category name; 0 for anything else.
  static int32_t CategoryOf(const char* name);

protected:
  explicit CPDFResource(int32_t category) : category_(category), categoryName_(CategoryNameOf(category)) {}

private:
  int32_t category_;
  const char* categoryName_;
};

// A copy of resource of class Class, as that class; null on failure.
template <class Class>
CPDFResource* DuplicateAs(const Class& resource, ObjectTable* target, ObjectTable* source) {
  CPDFObject* copy = resource.CPDFObject::Duplicate(target, source);
  auto* typed = dynamic_cast<Class*>(copy);
  if (!typed) delete copy;
  return typed;
}

}  // namespace koyo

// Inside a concrete resource class Class over value class Value with name
// prefix Prefix: the value part, the typed deep copy and the prefix.
#define KOYO_RESOURCE(Class, Value, Prefix)                                                         \
  KOYO_STRUCT_COPY(Class, Value)                                                                    \
  ::koyo::CPDFObject* ValuePart() override { return this; }                                        \
  ::koyo::CPDFResource* DuplicateResource(::koyo::ObjectTable* target, ::koyo::ObjectTable* source) \
      const override {                                                                              \
    return ::koyo::DuplicateAs<Class>(*this, target, source);                                       \
  }                                                                                                 \
  const ::koyo::CPDFName& NamePrefix() const override {                                             \
    static const ::koyo::CPDFName prefix(Prefix);                                                   \
    return prefix;                                                                                  \
  }
