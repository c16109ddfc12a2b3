// Test helpers for the object reader and writer: parsing from and writing to
// memory, catching failure records, a stateful toy cipher and a document table
// that can name a file and replace objects in place.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "FakeObjectTable.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFObject.h"
#include "koyo/object/ObjectCipher.h"
#include "koyo/object/ObjectReader.h"
#include "koyo/object/ObjectWriter.h"
#include "koyo/object/StrLoad.h"
#include "koyo/object/StrSave.h"

namespace koyo::test {

inline std::unique_ptr<CPDFObject> Parse(const std::string& text, ObjectTable* doc = nullptr,
                                         const ObjectKey* key = nullptr) {
  StrLoad in;
  EXPECT_TRUE(in.Open(text.data(), static_cast<int64_t>(text.size()), 7));
  return ReadObject(doc, in, key);
}

// The failure record thrown while reading text (Type 0 when nothing failed).
inline CPDFException ParseFailure(const std::string& text, ObjectTable* doc = nullptr) {
  try {
    Parse(text, doc);
  } catch (const CPDFException& e) {
    return e;
  }
  return CPDFException();
}

inline std::string Written(const CPDFAtom* atom, const ObjectKey* key = nullptr) {
  StrSave out;
  EXPECT_TRUE(out.Open(16));
  WriteObject(out, atom, key);
  return std::string(out.Data(), static_cast<size_t>(out.Length()));
}

// A keystream cipher that depends on the key bytes and on its own running
// state, so crypting in blocks must continue where the last call stopped.
class ToyCipher : public ObjectCipher {
public:
  void SetKey(const ObjectKey& key) override {
    state_ = 0;
    for (uint8_t b : key.bytes) state_ = state_ * 31 + b + 1;
    keyed_ = true;
  }
  int64_t Crypt(uint8_t* buffer, int64_t length) override {
    if (!keyed_) return -1;
    for (int64_t i = 0; i < length; ++i) {
      state_ = state_ * 1103515245u + 12345u;
      buffer[i] ^= static_cast<uint8_t>(state_ >> 16);
    }
    return length;
  }

private:
  uint32_t state_ = 0;
  bool keyed_ = false;
};

class ToyCipherFactory : public ObjectCipherFactory {
public:
  std::unique_ptr<ObjectCipher> NewCipher() const override { return std::make_unique<ToyCipher>(); }
};

// A document table whose objects live in a file (FilePath) and whose RegistObj
// under an existing reference replaces the object, as a document does.
class FileDoc : public FakeObjectTable {
public:
  bool RegistObj(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out) override {
    if (proposed && proposed->IsValid()) {
      Key key(proposed->GetObjNum(), proposed->GetGenNum());
      if (!objects.count(key)) return false;
      objects[key].reset(obj);
      if (out) *out = *proposed;
      return true;
    }
    return FakeObjectTable::RegistObj(obj, proposed, out);
  }
  bool UpdateObj(const CPDFObjRef& ref) override {
    return FakeObjectTable::UpdateObj(ref) && !refuseUpdate;
  }
  const char* FilePath() const override { return path.empty() ? nullptr : path.c_str(); }
  bool IsFlushing() const override { return flushing; }

  std::string path;
  bool flushing = false;
  bool refuseUpdate = false;
};

}  // namespace koyo::test
