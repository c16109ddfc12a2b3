#include "koyo/document/CPDFTrailer.h"

#include <cstring>
#include <limits>
#include <memory>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CharClass.h"
#include "koyo/object/ObjectReader.h"
#include "koyo/object/StreamLoad.h"

namespace koyo {

namespace {

constexpr const char* kModule = "CPDFTrailer";
constexpr const char* kMethod = "Serialize";

[[noreturn]] void Fail(const char* factor) { ThrowPDF(kModule, kMethod, CPDFException::kInvalidFormat, factor); }
[[noreturn]] void BadToken(const char* token) {
  ThrowPDFFormat(kModule, kMethod, CPDFException::kInvalidFormat, "invalidtoken: %s", token);
}

void Expect(StreamLoad& in, const char* keyword) {
  char token[StreamLoad::kTokenSize];
  if (!in.GetToken(token, sizeof token)) Fail("ioerror");
  if (std::strcmp(token, keyword) != 0) BadToken(token);
}

// A file offset written in decimal; false for anything else or beyond int64_t.
bool ParseOffset(const char* s, int64_t& value) {
  if (!*s) return false;
  int64_t v = 0;
  for (; *s; ++s) {
    if (!IsDecimalDigit(static_cast<unsigned char>(*s))) return false;
    if (v > (std::numeric_limits<int64_t>::max() - 9) / 10) return false;
    v = v * 10 + (*s - '0');
  }
  value = v;
  return true;
}

}  // namespace

void CPDFTrailer::Serialize(CPDFDoc* doc, StreamLoad& in) {
  Attach(doc);
  Expect(in, "trailer");
  Expect(in, "<");
  in.Unget(1);
  ReadDict(dict_, doc, in, nullptr);
  Expect(in, "startxref");
  char token[StreamLoad::kTokenSize];
  if (!in.GetToken(token, sizeof token)) Fail("ioerror");
  int64_t start = 0;
  if (!ParseOffset(token, start)) BadToken(token);
  startXRef_ = start;
  in.SkipWhite();
  char eof[6] = {};
  in.Read(eof, 5);
  if (std::memcmp(eof, "%%EOF", 5) != 0) BadToken(eof);
}

CPDFObject* CPDFTrailer::Get(const char* key, CPDFObjRef* ref) const {
  return dict_.GetValue(doc_, key, ref);
}

bool CPDFTrailer::Replace(const char* key, CPDFObject* value) {
  std::unique_ptr<CPDFObject> owned(value);
  auto it = dict_.FindKey(key);
  if (it != dict_.end() && it->value && it->value->IsReference()) {
    CPDFObjRef ref = *static_cast<CPDFObjRef*>(it->value);
    if (!doc_ || !doc_->RegistObj(owned.get(), &ref, nullptr)) return false;
    owned.release();
    return true;
  }
  return dict_.Insert(key, owned.release());
}

bool CPDFTrailer::Realize(CPDFDoc* doc) {
  Attach(doc);
  if (doc && doc->IsFDF()) return true;
  if (!dict_.HasKey("Size")) return false;
  for (const char* key : {"Size", "Prev"}) {
    CPDFObject* value = Get(key, nullptr);
    if (value && value->GetType() == CPDFObject::kNumber) {
      CPDFNumber* number = static_cast<CPDFNumber*>(value);
      auto typed = std::make_unique<CPDFInt>();
      typed->SetBoth(number->GetInt(), number->GetReal());
      if (!Replace(key, typed.release())) return false;
    }
  }
  if (CPDFObject* prev = Get("Prev", nullptr); prev && prev->IsType(CPDFObject::kAnyNumber)) {
    prevOffset_ = static_cast<CPDFNumber*>(prev)->GetInt();
  }
  return true;
}

bool CPDFTrailer::Create(CPDFDoc* doc, const CPDFTrailer* previous) {
  Attach(doc);
  dict_.Clear();
  startXRef_ = -1;
  prevOffset_ = -1;
  if (!previous) return true;
  for (auto it = previous->dict_.begin(); it != previous->dict_.end(); ++it) {
    CPDFAtom* atom = it->value;
    if (!atom) continue;
    CPDFAtom* copy = nullptr;
    if (atom->IsReference()) {
      copy = new CPDFObjRef(*static_cast<CPDFObjRef*>(atom));
    } else {
      copy = static_cast<CPDFObject*>(atom)->Duplicate(nullptr, doc);
      if (!copy) return false;
    }
    if (!dict_.Insert(it->key, copy)) return false;
  }
  return Set_Prev(previous->startXRef_);
}

bool CPDFTrailer::Set_Size(int32_t size) { return dict_.Insert("Size", new CPDFInt(size)); }

bool CPDFTrailer::Set_Prev(int64_t offset) {
  if (offset < 0) return false;
  int32_t narrow = offset > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                                 : static_cast<int32_t>(offset);
  if (!dict_.Insert("Prev", new CPDFInt(narrow))) return false;
  prevOffset_ = offset;
  return true;
}

}  // namespace koyo
