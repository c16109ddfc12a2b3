// Stamping the document information dictionary before each save: the
// producer, and the modification date (the creation date for a document that
// has none) set to the current local time.
#include <memory>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/Boundary.h"
#include "koyo/object/CPDFText.h"
#include "koyo/structure/CPDFDate.h"
#include "koyo/structure/CPDFInfoDict.h"

namespace koyo {

namespace {

constexpr const char* kDoc = "CPDFDoc";
constexpr const char* kProducer = "libkoyo";

[[noreturn]] void Fail(const char* factor) { ThrowPDF(kDoc, "SetDocInfo", CPDFException::kInternal, factor); }

}  // namespace

bool CPDFDoc::SetDocInfo() {
  return Boundary(error_, kDoc, "SetDocInfo", [&] { SetDocInfoIn(); });
}

CPDFInfoDict* CPDFDoc::TypedInfo(CPDFObject* value, CPDFObjRef& ref) {
  if (auto* info = dynamic_cast<CPDFInfoDict*>(value)) return info;
  // A dictionary not typed yet takes its place as a typed one, under the same
  // reference when it is indirect.
  auto made = std::make_unique<CPDFInfoDict>();
  if (!made->Realize(this, value)) Fail("");
  CPDFInfoDict* info = made.get();
  if (ref.IsValid()) {
    if (!RegistObj(made.get(), &ref)) Fail("");
    made.release();
  } else if (!GetTrailer()->GetDict().Insert("Info", made.release())) {
    Fail("");
  }
  return info;
}

void CPDFDoc::SetDocInfoIn() {
  CPDFTrailer* trailer = GetTrailer();
  if (!trailer) Fail("CPDFDoc::GetTrailer()");
  CPDFDict& dict = trailer->GetDict();

  CPDFObjRef ref;
  CPDFObject* value = dict.HasKey("Info") ? trailer->Get_Info(&ref) : nullptr;
  CPDFInfoDict* info = nullptr;
  if (value && value->IsType(CPDFObject::kDict) && !value->IsType(CPDFObject::kStream)) {
    info = TypedInfo(value, ref);
    if (ref.IsValid() && !UpdateObj(ref)) Fail("CPDFDoc::UpdateObj()");
  } else {
    // No Info, or one that is not a dictionary (a dangling reference, a
    // number): a new indirect dictionary takes the entry. A failed look-up
    // of the old one is not this operation's failure.
    error_.Clear();
    auto made = std::make_unique<CPDFInfoDict>();
    if (!made->Create(this)) Fail("");
    info = made.get();
    CPDFObjRef madeRef;
    if (!dict.SetValue(this, "Info", made.release(), true, &madeRef)) Fail("");
  }

  auto* date = new CPDFDate;
  bool stored = info->HasKey("CreationDate") ? info->Set_ModDate(date) : info->Set_CreationDate(date);
  if (!stored || !date->SetNow()) Fail("");
  if (!info->Set_Producer(new CPDFText(kProducer))) Fail("");
}

}  // namespace koyo
