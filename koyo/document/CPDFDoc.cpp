#include "koyo/document/CPDFDoc.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <limits>
#include <set>

#include "koyo/document/DocumentLibrary.h"
#include "koyo/document/StandardSecurity.h"
#include "koyo/object/Boundary.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/FileLoad.h"
#include "koyo/object/StreamLoad.h"
#include "koyo/structure/CFDFCatalog.h"
#include "koyo/structure/CPDFCatalog.h"
#include "koyo/structure/CPDFInfoDict.h"
#include "koyo/structure/StructRealize.h"

namespace koyo {

namespace {

constexpr const char* kDoc = "CPDFDoc";

[[noreturn]] void SerializeFailure(const char* factor) {
  ThrowPDF(kDoc, "Serialize", CPDFException::kInvalidFormat, factor);
}
[[noreturn]] void OpenFailure(int32_t type, const char* factor) { ThrowPDF(kDoc, "Open", type, factor); }

bool IsCBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// A decimal number read the way the C library's atol reads one (blanks, sign,
// digits, stop at anything else; nothing gives 0). A value beyond the 64-bit
// range gives -1, which no file position can be.
int64_t DecimalOffset(const char* s) {
  while (IsCBlank(*s)) ++s;
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  int64_t v = 0;
  for (; *s >= '0' && *s <= '9'; ++s) {
    if (v > (std::numeric_limits<int64_t>::max() - 9) / 10) return -1;
    v = v * 10 + (*s - '0');
  }
  return negative ? -v : v;
}

}  // namespace

CPDFDoc::CPDFDoc() = default;

CPDFDoc::~CPDFDoc() { Close(); }

void CPDFDoc::Close() {
  ReleaseSaveState();
  // Newest first, so that no object outlives a section it may refer to.
  trailers_.clear();
  bodies_.clear();
  xrefs_.clear();
  header_.reset();
  stored_.reset();
  loading_.clear();
  if (input_) input_->Close();
  input_.reset();
  fileName_.clear();
  incremental_ = 0;
  linearized_ = 0;
}

int CPDFDoc::RealizeOptions() const { return library_ ? library_->GetRealizeOptions() : 0; }

const ResourceMakers* CPDFDoc::Makers() const { return library_ ? library_->GetResourceMakers() : nullptr; }

FontServices* CPDFDoc::Fonts() const { return library_ ? library_->GetFontServices() : nullptr; }

bool CPDFDoc::Open(DocumentLibrary* library, const char* path, const char* password) {
  bool ok = Boundary(error_, kDoc, "Open", [&] { OpenIn(library, path, password); });
  if (!ok) Close();
  return ok;
}

void CPDFDoc::OpenIn(DocumentLibrary* library, const char* path, const char* password) {
  Close();
  library_ = library;
  fileName_ = path ? path : "";

  auto in = std::make_unique<FileLoad>();
  // An empty path would make the file input read standard input.
  if (fileName_.empty()) {
    OpenFailure(CPDFException::kRuntimeLibrary, std::strerror(ENOENT));
  }
  if (!in->Open(fileName_.c_str(), "rb")) {
    OpenFailure(CPDFException::kRuntimeLibrary, in->ErrorText().c_str());
  }
  input_ = std::move(in);

  if (!Serialize(*input_)) OpenFailure(CPDFException::kInternal, "CPDFDoc::Serialize()");

  stored_ = std::make_unique<CPDFXRef>();
  if (!stored_->Create(this, nullptr)) OpenFailure(CPDFException::kInternal, "CPDFXRef::Create()");

  if (!header_->Realize(this)) OpenFailure(CPDFException::kInternal, "CPDFHeader::Realize()");
  for (auto& body : bodies_) {
    if (!body->Realize(this)) OpenFailure(CPDFException::kInternal, "CPDFBody::Realize()");
  }
  for (auto& xref : xrefs_) {
    if (!xref->Realize(this)) OpenFailure(CPDFException::kInternal, "CPDFXRef::Realize()");
  }
  for (auto& trailer : trailers_) {
    if (!trailer->Realize(this)) OpenFailure(CPDFException::kInternal, "CPDFTrailer::Realize()");
  }

  AddUpdateSection("Open");

  // A linearized file's last section (the first-page section) ends with
  // startxref 0; the section before the update then follows the real startxref.
  if (trailers_.size() > 1 && trailers_[1]->GetStartXRef() == 0) {
    linearized_ = 1;
    for (size_t i = 1; i < trailers_.size(); ++i) {
      if (trailers_[i]->GetStartXRef() != 0) {
        if (!GetTrailer()->Set_Prev(trailers_[i]->GetStartXRef())) {
          OpenFailure(CPDFException::kInternal, "CPDFTrailer::Set_Prev()");
        }
        break;
      }
    }
  }

  CheckEncryption(password);
  CheckRoot();
}

void CPDFDoc::AddUpdateSection(const char* method) {
  auto fail = [method](const char* factor) { ThrowPDF(kDoc, method, CPDFException::kInternal, factor); };
  auto body = std::make_unique<CPDFBody>();
  if (!body->Create(this, GetBody())) fail("CPDFBody::Create()");
  auto xref = std::make_unique<CPDFXRef>();
  if (!xref->Create(this, GetXRef())) fail("CPDFXRef::Create()");
  // The update section numbers new objects after the slot count, so it must
  // cover every object of the file, not only those of the newest section.
  int32_t highest = xref->Count();
  for (const auto& section : xrefs_) highest = std::max(highest, section->Count());
  if (!xref->Resize(highest) || !body->Resize(xref->Count())) fail("CPDFBody::Create()");
  auto trailer = std::make_unique<CPDFTrailer>();
  if (!trailer->Create(this, GetTrailer())) fail("CPDFTrailer::Create()");
  bodies_.insert(bodies_.begin(), std::move(body));
  xrefs_.insert(xrefs_.begin(), std::move(xref));
  trailers_.insert(trailers_.begin(), std::move(trailer));
}

void CPDFDoc::CheckEncryption(const char* password) {
  CPDFTrailer* trailer = GetTrailer();
  if (!trailer->GetDict().HasKey("Encrypt")) return;
  CPDFObject* encrypt = trailer->Get_Encrypt();
  if (!encrypt || !encrypt->IsType(CPDFObject::kDict) ||
      !StandardSecurity::IsStandard(this, *static_cast<CPDFDict*>(encrypt))) {
    OpenFailure(CPDFException::kUser, "invalid security handler");
  }
  // Decryption with a password is not available in this library: an
  // encrypted document is refused whether or not a password is given.
  (void)password;
  OpenFailure(CPDFException::kUser, "encrypted document");
}

void CPDFDoc::CheckRoot() {
  CPDFDict& trailer = GetTrailer()->GetDict();
  if (!trailer.HasKey("Root")) OpenFailure(CPDFException::kInternal, "");
  // A Root the catalog test refuses stays a plain dictionary; one that passes
  // must realize. The wrapper takes the place of the value read, under its
  // reference.
  MakeFn makeCatalog = IsFDF() ? MakeAs<CFDFCatalog> : MakeAs<CPDFCatalog>;
  if (!RealizeKey(this, trailer, "Root", CPDFObject::kDict, makeCatalog)) {
    OpenFailure(CPDFException::kInternal, IsFDF() ? "CFDFCatalog::Realize()" : "CPDFCatalog::Realize()");
  }
  CPDFObject* root = GetTrailer()->Get_Root();
  if (!root || !root->IsType(CPDFObject::kDict)) OpenFailure(CPDFException::kInternal, "");
  if (!RealizeKey(this, trailer, "Info", CPDFObject::kDict, MakeAs<CPDFInfoDict>)) {
    OpenFailure(CPDFException::kInternal, "CPDFInfoDict::Realize()");
  }
}

bool CPDFDoc::Serialize(StreamLoad& in) {
  return Boundary(error_, kDoc, "Serialize", [&] { ReadStructure(in); });
}

void CPDFDoc::ReadStructure(StreamLoad& in) {
  header_ = std::make_unique<CPDFHeader>();
  header_->Serialize(in);
  // Where each section's "xref" keyword starts: a Prev that leads back to a
  // section already read would loop forever.
  std::set<int64_t> seen;
  int64_t prev = -1;
  for (;;) {
    auto body = std::make_unique<CPDFBody>();
    body->Realize(this);
    bodies_.push_back(std::move(body));
    if (bodies_.size() == 1) {
      LocateLastXRef(in);
    } else if (prev < 0 || in.Seek(prev) != 0) {
      SerializeFailure("ioerror");
    }
    in.SkipWhiteAndComments();
    if (!seen.insert(in.Tell()).second) {
      ThrowPDFFormat(kDoc, "Serialize", CPDFException::kInvalidFormat, "invalidprev: %" PRId64, prev);
    }
    auto xref = std::make_unique<CPDFXRef>();
    xref->Serialize(in);
    bodies_.back()->Resize(xref->Count());
    xrefs_.push_back(std::move(xref));
    auto trailer = std::make_unique<CPDFTrailer>();
    trailer->Serialize(this, in);
    trailers_.push_back(std::move(trailer));

    CPDFTrailer& last = *trailers_.back();
    if (!last.GetDict().HasKey("Prev")) break;
    CPDFObject* value = last.Get_Prev();
    if (!value) SerializeFailure("ioerror");
    if (!value->IsType(CPDFObject::kAnyNumber)) {
      ThrowPDFFormat(kDoc, "Serialize", CPDFException::kInvalidFormat, "typecheck: %s", value->GetTypeName());
    }
    prev = static_cast<CPDFNumber*>(value)->GetInt();
  }
}

void CPDFDoc::LocateLastXRef(StreamLoad& in) {
  static const char kKeyword[] = "startxref";
  const int32_t keywordLength = static_cast<int32_t>(sizeof kKeyword - 1);
  int64_t n = in.Size() - kStartXRefWindow;
  int64_t found = -1;
  for (int32_t window = 0; window < kStartXRefWindows && found < 0; ++window, n -= kStartXRefWindow) {
    int64_t from = std::max<int64_t>(n, 0);
    for (;;) {
      if (in.Seek(from) != 0) SerializeFailure("ioerror");
      int64_t at = in.Find(kKeyword, keywordLength);
      if (at < 0) break;
      // Only a keyword at the start of a line counts.
      if (at > 0 && in.Seek(at - 1) == 0) {
        char before[10];
        if (in.Read(before, sizeof before) > 0 && (before[0] == '\r' || before[0] == '\n')) {
          found = at;
          break;
        }
      }
      from = at + 1;
    }
    if (n <= 0) break;  // every later window would search the same bytes
  }
  if (found < 0) SerializeFailure("Cannot find startxref");
  if (in.Seek(found + keywordLength) != 0) SerializeFailure("ioerror");
  char token[StreamLoad::kTokenSize];
  if (!in.GetToken(token, sizeof token)) SerializeFailure("ioerror");
  int64_t offset = DecimalOffset(token);
  if (offset < 0 || in.Seek(offset) != 0) SerializeFailure("ioerror");
}

}  // namespace koyo
