// The object table of CPDFDoc: finding, loading, registering, updating,
// deleting and releasing indirect objects.
#include <algorithm>
#include <cstring>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/Boundary.h"
#include "koyo/object/FileLoad.h"
#include "koyo/object/NumberText.h"
#include "koyo/object/ObjectReader.h"
#include "koyo/object/StreamLoad.h"

namespace koyo {

namespace {

constexpr const char* kDoc = "CPDFDoc";
constexpr const char* kUndefinedRef = "Object reference is not defined.";

// Puts the input back where it was when an object read in the middle of
// another one (an indirect stream Length, say) is done.
class PositionKeeper {
public:
  explicit PositionKeeper(StreamLoad& in) : in_(in), position_(in.Tell()) {}
  ~PositionKeeper() {
    if (position_ >= 0) in_.Seek(position_);
  }
  PositionKeeper(const PositionKeeper&) = delete;
  PositionKeeper& operator=(const PositionKeeper&) = delete;

private:
  StreamLoad& in_;
  int64_t position_;
};

// Marks a reference as being read for the time of one load.
class LoadingMark {
public:
  LoadingMark(std::vector<CPDFObjRef>& chain, const CPDFObjRef& ref) : chain_(chain) { chain_.push_back(ref); }
  ~LoadingMark() { chain_.pop_back(); }
  LoadingMark(const LoadingMark&) = delete;
  LoadingMark& operator=(const LoadingMark&) = delete;

private:
  std::vector<CPDFObjRef>& chain_;
};

}  // namespace

// ---- finding ---------------------------------------------------------------

CPDFObject* CPDFDoc::FindObj(const CPDFObjRef& ref, bool skipNewest, CPDFBody** body) const {
  for (size_t i = skipNewest ? 1 : 0; i < bodies_.size(); ++i) {
    if (CPDFObject* obj = bodies_[i]->GetObj(ref)) {
      if (body) *body = bodies_[i].get();
      return obj;
    }
  }
  return nullptr;
}

XRefEntry* CPDFDoc::FindEntry(int32_t number, bool skipNewest, CPDFXRef** section) const {
  for (size_t i = skipNewest ? 1 : 0; i < xrefs_.size(); ++i) {
    if (XRefEntry* entry = xrefs_[i]->GetEntry(number)) {
      if (section) *section = xrefs_[i].get();
      return entry;
    }
  }
  return nullptr;
}

// ---- loading ---------------------------------------------------------------

CPDFObject* CPDFDoc::GetObj(const CPDFObjRef& ref) {
  return BoundaryValue<CPDFObject*>(error_, kDoc, "GetObj", nullptr, [&] { return GetObjIn(ref); });
}

CPDFObject* CPDFDoc::GetObjIn(const CPDFObjRef& ref) {
  if (!ref.IsValid()) ThrowPDF(kDoc, "GetObj", CPDFException::kUser, kUndefinedRef);
  size_t sections = std::min(bodies_.size(), xrefs_.size());
  for (size_t i = 0; i < sections; ++i) {
    if (CPDFObject* obj = bodies_[i]->GetObj(ref)) return obj;
    // Written out and unloaded by the running save.
    if (stored_ && stored_->GetEntry(ref.GetObjNum())) return nullptr;
    const XRefEntry* entry = xrefs_[i]->GetEntry(ref.GetObjNum());
    if (!entry || !entry->inUse) continue;
    std::unique_ptr<CPDFObject> loaded = LoadObjIn(ref, entry->offset);
    if (!loaded) ThrowPDF(kDoc, "GetObj", CPDFException::kInternal, "CPDFDoc::LoadObj()");
    CPDFObject* obj = loaded.get();
    if (!bodies_[i]->SetObj(ref, obj)) ThrowPDF(kDoc, "GetObj", CPDFException::kInternal, "CPDFBody::SetObj()");
    loaded.release();
    return obj;
  }
  return nullptr;
}

CPDFObject* CPDFDoc::LoadObj(const CPDFObjRef& ref, int64_t offset) {
  return BoundaryValue<CPDFObject*>(error_, kDoc, "LoadObj", nullptr,
                                    [&] { return LoadObjIn(ref, offset).release(); });
}

std::unique_ptr<CPDFObject> CPDFDoc::LoadObjIn(const CPDFObjRef& ref, int64_t offset) {
  auto fail = [](const char* factor) { ThrowPDF(kDoc, "LoadObj", CPDFException::kInvalidFormat, factor); };
  auto badToken = [](const char* token) {
    ThrowPDFFormat(kDoc, "LoadObj", CPDFException::kInvalidFormat, "invalidtoken: %s", token);
  };
  if (!ref.IsValid()) ThrowPDF(kDoc, "LoadObj", CPDFException::kUser, kUndefinedRef);
  if (!input_) fail("ioerror");
  if (std::find(loading_.begin(), loading_.end(), ref) != loading_.end() ||
      loading_.size() >= static_cast<size_t>(kMaxLoadDepth)) {
    ThrowPDFFormat(kDoc, "LoadObj", CPDFException::kInvalidFormat, "invalidobjref: %d %d", ref.GetObjNum(),
                   ref.GetGenNum());
  }
  LoadingMark mark(loading_, ref);
  StreamLoad& in = *input_;
  PositionKeeper keep(in);
  if (offset < 0 || in.Seek(offset) != 0) fail("ioerror");

  char number[StreamLoad::kTokenSize];
  char generation[StreamLoad::kTokenSize];
  char keyword[StreamLoad::kTokenSize];
  if (!in.GetToken(number, sizeof number) || !in.GetToken(generation, sizeof generation) ||
      !in.GetToken(keyword, sizeof keyword)) {
    fail("ioerror");
  }
  if (std::strcmp(keyword, "obj") != 0) badToken(keyword);
  int32_t objNum = TextToLong32(number);
  int32_t genNum = TextToLong32(generation);
  if (objNum != ref.GetObjNum() || genNum != ref.GetGenNum()) {
    ThrowPDFFormat(kDoc, "LoadObj", CPDFException::kInvalidFormat, "invalidobjref: %d %d", objNum, genNum);
  }

  std::unique_ptr<CPDFObject> obj = ReadObject(this, in, nullptr);
  char token[StreamLoad::kTokenSize];
  if (!obj) {
    if (in.GetToken(token, sizeof token)) badToken(token);
    fail("ioerror");
  }
  if (!in.GetToken(token, sizeof token)) fail("ioerror");
  if (std::strcmp(token, "endobj") != 0) badToken(token);
  return obj;
}

// ---- registering and updating -----------------------------------------------

bool CPDFDoc::RegistObj(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out) {
  return Boundary(error_, kDoc, "RegistObj", [&] { RegistObjIn(obj, proposed, out); });
}

void CPDFDoc::RegistObjIn(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out) {
  auto fail = [](const char* factor) { ThrowPDF(kDoc, "RegistObj", CPDFException::kInternal, factor); };
  CPDFBody* body = GetBody();
  if (!body) fail("CPDFDoc::GetBody()");
  CPDFXRef* xref = GetXRef();
  if (!xref) fail("CPDFDoc::GetXRef()");
  CPDFTrailer* trailer = GetTrailer();
  if (!trailer) fail("CPDFDoc::GetTrailer()");

  if (proposed && proposed->IsValid()) {
    // Replacing in place: same number and generation, same section.
    CPDFBody* holder = nullptr;
    if (!FindObj(*proposed, false, &holder)) fail("CPDFDoc::FindObj()");
    if (!holder->SetObj(*proposed, obj)) fail("CPDFBody::SetObj()");
    if (out) *out = *proposed;
    return;
  }

  CPDFObjRef made;
  if (!IsFDF() && xref->GetFreeHead() != 0) {
    XRefEntry* entry = xref->GetEntry(xref->GetFreeHead());
    if (!entry || entry->inUse) fail("CPDFXRef::GetEntry()");
    made.Set(entry->objNum, entry->genNum);
    if (!body->SetObj(made, obj)) fail("CPDFBody::SetObj()");
    xref->SetFreeHead(xref->NextFree(*entry));
    entry->offset = 0;
    entry->inUse = 1;
  } else {
    if (!IsFDF() && !trailer->Get_Size()) fail("CPDFTrailer::Get_Size()");
    // New numbers come from the section's slot count; the body follows it.
    if (body->Count() != xref->Count() && !body->Resize(xref->Count())) fail("CPDFBody::AddObj()");
    if (!body->AddObj(obj, &made)) fail("CPDFBody::AddObj()");
    int32_t number = 0;
    if (!xref->AddEntry(&number) || number != made.GetObjNum()) {
      body->DetachObj(made);
      body->Resize(xref->Count());
      fail("CPDFXRef::AddEntry()");
    }
    if (!IsFDF() && !trailer->Set_Size(number + 1)) {
      // The object stays registered; only the size could not be written.
      fail("CPDFTrailer::Set_Size()");
    }
  }
  if (out) *out = made;
}

bool CPDFDoc::UpdateObj(const CPDFObjRef& ref) {
  return Boundary(error_, kDoc, "UpdateObj", [&] { UpdateObjIn(ref); });
}

void CPDFDoc::UpdateObjIn(const CPDFObjRef& ref) {
  auto fail = [](const char* factor) { ThrowPDF(kDoc, "UpdateObj", CPDFException::kUser, factor); };
  if (!ref.IsValid()) fail(kUndefinedRef);
  CPDFBody* body = GetBody();
  if (!body) fail("CPDFDoc::GetBody()");
  CPDFXRef* xref = GetXRef();
  if (!xref) fail("CPDFDoc::GetXRef()");

  if (!body->GetObj(ref)) {
    CPDFBody* older = nullptr;
    if (!FindObj(ref, true, &older)) fail("CPDFDoc::FindObj()");
    CPDFObject* obj = older->DetachObj(ref);
    if (!body->SetObj(ref, obj)) {
      older->SetObj(ref, obj);
      fail("CPDFBody::SetObj()");
    }
  }
  if (!xref->GetEntry(ref.GetObjNum())) {
    if (!FindEntry(ref.GetObjNum(), true, nullptr)) fail("CPDFDoc::FindEntry()");
    XRefEntry entry;
    entry.objNum = ref.GetObjNum();
    entry.genNum = ref.GetGenNum();
    entry.offset = 0;
    entry.inUse = 1;
    if (!xref->SetEntry(entry)) fail("CPDFXRef::SetEntry()");
  } else if (!xref->UpdateEntry(ref.GetObjNum())) {
    fail("CPDFXRef::UpdateEntry()");
  }
}

// ---- deleting and releasing ---------------------------------------------------

bool CPDFDoc::DeleteObj(const CPDFObjRef& ref) {
  return Boundary(error_, kDoc, "DeleteObj", [&] { DeleteObjIn(ref); });
}

void CPDFDoc::DeleteObjIn(const CPDFObjRef& ref) {
  if (!ref.IsValid()) ThrowPDF(kDoc, "DeleteObj", CPDFException::kUser, kUndefinedRef);
  for (auto& body : bodies_) body->DeleteObj(ref);
  CPDFXRef* xref = GetXRef();
  if (!xref) return;
  int32_t number = ref.GetObjNum();
  if (xref->GetEntry(number)) {
    xref->FreeEntry(number);
    return;
  }
  const XRefEntry* older = FindEntry(number, true, nullptr);
  if (older && older->inUse) {
    XRefEntry copy = *older;
    if (!xref->SetEntry(copy)) ThrowPDF(kDoc, "DeleteObj", CPDFException::kInternal, "CPDFXRef::SetEntry()");
    xref->FreeEntry(number);
  }
}

bool CPDFDoc::ReleaseObj(const CPDFObjRef& ref, bool force) {
  return Boundary(error_, kDoc, "ReleaseObj", [&] { ReleaseObjIn(ref, force); });
}

void CPDFDoc::ReleaseObjIn(const CPDFObjRef& ref, bool force) {
  CPDFBody* body = nullptr;
  CPDFObject* obj = FindObj(ref, false, &body);
  if (!obj || (!force && !obj->GetRelease())) return;
  // While a save runs, an object that the newest section lists in use is
  // written out now and remembered as written. Any other object is the same
  // as in the file and can simply be read again.
  const XRefEntry* listed = GetXRef() ? GetXRef()->GetEntry(ref.GetObjNum()) : nullptr;
  if (save_.saveCalled && listed && listed->inUse && listed->genNum == ref.GetGenNum()) {
    int64_t offset = StoreObj(ref, obj);
    if (offset < 0) ThrowPDF(kDoc, "ReleaseObj", CPDFException::kInternal, "CPDFDoc::StoreObj()");
    XRefEntry written;
    written.objNum = ref.GetObjNum();
    written.genNum = ref.GetGenNum();
    written.offset = offset;
    written.inUse = 1;
    if (!stored_ || (stored_->Count() < written.objNum && !stored_->Resize(written.objNum)) ||
        !stored_->SetEntry(written)) {
      ThrowPDF(kDoc, "ReleaseObj", CPDFException::kInternal, "CPDFXRef::SetEntry()");
    }
  }
  std::unique_ptr<CPDFObject> detached(body->DetachObj(ref));
  if (!detached->Release(this)) {
    // Keep the object loaded rather than lose it.
    body->SetObj(ref, detached.release());
    ThrowPDF(kDoc, "ReleaseObj", CPDFException::kInternal, "CPDFObject::Release()");
  }
}

bool CPDFDoc::UnloadObj(const CPDFObjRef& ref) {
  return Boundary(error_, kDoc, "UnloadObj", [&] { UnloadObjIn(ref); });
}

void CPDFDoc::UnloadObjIn(const CPDFObjRef& ref) {
  if (!ref.IsValid()) ThrowPDF(kDoc, "UnloadObj", CPDFException::kUser, kUndefinedRef);
  CPDFBody* body = nullptr;
  if (!FindObj(ref, false, &body)) return;
  if (body == GetBody()) {
    ThrowPDF(kDoc, "UnloadObj", CPDFException::kUser, "The object is new or changed.");
  }
  if (std::find(loading_.begin(), loading_.end(), ref) != loading_.end()) {
    ThrowPDF(kDoc, "UnloadObj", CPDFException::kUser, "The object is being read.");
  }
  // Only this object goes: its own values are destroyed with it, and what it
  // refers to is not its to free.
  std::unique_ptr<CPDFObject> detached(body->DetachObj(ref));
}

bool CPDFDoc::LinearizeObj(const CPDFObjRef&) {
  return Boundary(error_, kDoc, "LinearizeObj", [&] {
    ThrowPDF(kDoc, "LinearizeObj", CPDFException::kUser, "The document is not being linearized.");
  });
}

}  // namespace koyo
