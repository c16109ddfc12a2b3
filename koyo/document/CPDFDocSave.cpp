// Saving a CPDFDoc: preparing the output (Save), writing objects out
// (StoreObj), writing the newest section and making the output the
// document's file (Flush), and giving up a prepared save.
#include <memory>
#include <string>
#include <vector>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/Boundary.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/object/FileLoad.h"
#include "koyo/object/FileSave.h"
#include "koyo/object/ObjectWriter.h"
#include "koyo/platform/Files.h"
#include "koyo/platform/SystemError.h"

namespace koyo {

namespace {

constexpr const char* kDoc = "CPDFDoc";
constexpr const char* kNotSaving = "CPDFDoc::Save() has not been called.";

// The directory part of path: up to its last separator, "." without one.
std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind(platform::kPathSeparator);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return std::string(1, platform::kPathSeparator);
  return path.substr(0, slash);
}

}  // namespace

// ---- preparing ---------------------------------------------------------------

bool CPDFDoc::Save(const char* path, bool incremental, bool linearize) {
  return Boundary(error_, kDoc, "Save", [&] { SaveIn(path, incremental, linearize); });
}

void CPDFDoc::SaveIn(const char* path, bool incremental, bool linearize) {
  auto fail = [](int32_t type, const char* factor) { ThrowPDF(kDoc, "Save", type, factor); };
  if (!GetBody()) fail(CPDFException::kInternal, "CPDFDoc::GetBody()");
  if (!GetXRef()) fail(CPDFException::kInternal, "CPDFDoc::GetXRef()");
  if (!GetTrailer()) fail(CPDFException::kInternal, "CPDFDoc::GetTrailer()");
  // A prepared save stays as it is: a second one would abandon its output.
  if (save_.saveCalled) fail(CPDFException::kUser, "CPDFDoc::Save() has already been called.");
  if (linearize) fail(CPDFException::kUser, "Linearized saving is not available.");
  // Offsets written to a pipe or terminal cannot be known: an output file is needed.
  if (!path || !*path) fail(CPDFException::kUser, "No output path.");

  try {
    save_.saveCalled = 1;
    save_.tempUsed = 0;
    if (IsFDF()) incremental = false;

    // The document's own file may be named differently (a relative path, a
    // link); opening it for a new file would destroy what is still to be read.
    const std::string target = path;
    const bool ownFile = target == fileName_ || platform::SameFile(target.c_str(), fileName_.c_str());
    if (!ownFile) {
      incremental = false;
      save_.outputPath = target;
    } else if (incremental) {
      save_.outputPath = fileName_;
      save_.appending = 1;
    } else {
      // A new file beside the document's file, so that it can take the
      // document's place by renaming.
      std::string temp;
      if (!platform::MakeTempFile(DirectoryOf(fileName_).c_str(), "lp", temp)) {
        fail(CPDFException::kRuntimeLibrary, platform::LastErrorText().c_str());
      }
      save_.outputPath = temp;
      save_.tempUsed = 1;
      save_.removeOnClose = 1;
      // The replacement keeps the permissions of the file it replaces.
      platform::CopyPermissions(fileName_.c_str(), temp.c_str());
    }
    incremental_ = incremental ? 1 : 0;
    linearized_ = 0;

    auto out = std::make_unique<FileSave>();
    if (!out->Open(save_.outputPath.c_str(), incremental ? "ab" : "wb")) {
      fail(CPDFException::kRuntimeLibrary, out->ErrorText().c_str());
    }
    save_.output = std::move(out);
    save_.removeOnClose = 1;
    if (save_.appending) {
      save_.appendBase = save_.output->Tell();
      if (save_.appendBase < 0) fail(CPDFException::kRuntimeLibrary, save_.output->ErrorText().c_str());
    }

    if (!IsFDF() && !incremental) MergeSections();
    if (!incremental) {
      header_->Write(*save_.output);
      if (save_.output->Error()) fail(CPDFException::kRuntimeLibrary, save_.output->ErrorText().c_str());
    }
  } catch (...) {
    ReleaseSaveState();
    throw;
  }
}

void CPDFDoc::MergeSections() {
  auto fail = [](const char* factor) { ThrowPDF(kDoc, "Save", CPDFException::kInternal, factor); };
  CPDFBody* body = GetBody();
  CPDFXRef* xref = GetXRef();
  for (int32_t number = 1; number <= xref->Count() && number > 0; ++number) {
    if (xref->GetEntry(number)) continue;
    CPDFXRef* section = nullptr;
    const XRefEntry* entry = FindEntry(number, true, &section);
    if (!entry) fail("CPDFDoc::FindEntry()");
    XRefEntry copy = *entry;
    if (!xref->SetEntry(copy)) fail("CPDFXRef::SetEntry()");
    // The object is loaded, if at all, in the body of the section that
    // describes it.
    for (size_t i = 1; i < xrefs_.size() && i < bodies_.size(); ++i) {
      if (xrefs_[i].get() != section) continue;
      CPDFObjRef ref(copy.objNum, copy.genNum);
      if (bodies_[i]->GetObj(ref)) {
        CPDFObject* obj = bodies_[i]->DetachObj(ref);
        if (!body->SetObj(ref, obj)) {
          bodies_[i]->SetObj(ref, obj);
          fail("CPDFBody::SetObj()");
        }
      }
      break;
    }
  }
  // Newest first, as when closing.
  while (trailers_.size() > 1) trailers_.pop_back();
  while (bodies_.size() > 1) bodies_.pop_back();
  while (xrefs_.size() > 1) xrefs_.pop_back();
  CPDFDict& dict = GetTrailer()->GetDict();
  auto prev = dict.FindKey("Prev");
  if (prev != dict.end()) {
    CPDFAtom* value = prev->value;
    dict.Erase(prev);
    delete value;
  }
}

// ---- writing -------------------------------------------------------------------

int64_t CPDFDoc::StoreObj(const CPDFObjRef& ref, const CPDFObject* obj) {
  return BoundaryValue<int64_t>(error_, kDoc, "StoreObj", -1, [&] { return StoreObjIn(ref, obj, nullptr); });
}

int64_t CPDFDoc::StoreObjIn(const CPDFObjRef& ref, const CPDFObject* obj, int64_t* textEnd) {
  if (!ref.IsValid()) ThrowPDF(kDoc, "StoreObj", CPDFException::kUser, "Object reference is not defined.");
  if (!save_.output) ThrowPDF(kDoc, "StoreObj", CPDFException::kUser, kNotSaving);
  StreamSave& out = *save_.output;
  int64_t at = out.Tell();
  if (at < 0 || out.Error()) ThrowPDF(kDoc, "StoreObj", CPDFException::kRuntimeLibrary, out.ErrorText().c_str());
  out.WriteInt(ref.GetObjNum()).Put(' ').WriteInt(ref.GetGenNum()).WriteString(" obj").Apply(EndLine);
  WriteObject(out, obj, nullptr);
  if (textEnd) *textEnd = out.Tell();
  out.Apply(EndLine).WriteString("endobj").Apply(EndLine);
  if (out.Error()) ThrowPDF(kDoc, "StoreObj", CPDFException::kRuntimeLibrary, out.ErrorText().c_str());
  return at;
}

void CPDFDoc::WriteSection() {
  auto fail = [](int32_t type, const char* factor) { ThrowPDF(kDoc, "Serialize", type, factor); };
  CPDFBody* body = GetBody();
  if (!body) fail(CPDFException::kInternal, "CPDFDoc::GetBody()");
  CPDFXRef* xref = GetXRef();
  if (!xref) fail(CPDFException::kInternal, "CPDFDoc::GetXRef()");
  CPDFTrailer* trailer = GetTrailer();
  if (!trailer) fail(CPDFException::kInternal, "CPDFDoc::GetTrailer()");
  if (!save_.output) fail(CPDFException::kUser, kNotSaving);
  StreamSave& out = *save_.output;

  save_.newOffsets.clear();
  save_.movedWindows.clear();
  save_.xrefPosition = -1;

  // The section as written: the entries in use get the offsets of this
  // output, but the document's own section changes only when the output has
  // become the document's file.
  CPDFXRef written;
  if (!written.Create(this, xref)) fail(CPDFException::kInternal, "CPDFXRef::Create()");
  std::vector<XRefEntry> inUse;
  for (const auto& [number, entry] : xref->GetEntries()) {
    if (entry.inUse && number >= 1 && number <= xref->Count()) inUse.push_back(entry);
  }
  for (XRefEntry entry : inUse) {
    CPDFObjRef ref(entry.objNum, entry.genNum);
    int64_t offset = -1;
    const XRefEntry* stored = stored_ ? stored_->GetEntry(entry.objNum) : nullptr;
    if (stored && stored->inUse) {
      offset = stored->offset;
    } else if (CPDFObject* obj = body->GetObj(ref)) {
      const auto* stream = dynamic_cast<const CPDFStream*>(obj);
      const bool inFile = stream && stream->InFile();
      const int64_t length = inFile ? stream->GetFileLength() : 0;
      int64_t textEnd = -1;
      offset = BoundaryValue<int64_t>(error_, kDoc, "StoreObj", -1,
                                      [&] { return StoreObjIn(ref, obj, &textEnd); });
      if (offset < 0) fail(CPDFException::kInternal, "CPDFDoc::StoreObj()");
      // The bytes were copied unchanged and end right before "endstream".
      if (inFile && textEnd >= 0) {
        int64_t data = textEnd - static_cast<int64_t>(sizeof("endstream") - 1) - length;
        save_.movedWindows.push_back({entry.objNum, entry.genNum, data});
      }
    } else {
      std::unique_ptr<CPDFObject> loaded(LoadObj(ref, entry.offset));
      if (!loaded) fail(CPDFException::kInternal, "CPDFDoc::LoadObj()");
      offset = StoreObj(ref, loaded.get());
      if (offset < 0) fail(CPDFException::kInternal, "CPDFDoc::StoreObj()");
    }
    entry.offset = offset;
    if (!written.SetEntry(entry)) fail(CPDFException::kInternal, "CPDFXRef::SetEntry()");
    save_.newOffsets[entry.objNum] = offset;
  }

  int64_t position = out.Tell();
  if (position < 0 || out.Error()) fail(CPDFException::kRuntimeLibrary, out.ErrorText().c_str());
  written.Write(out);
  const int64_t previousStart = trailer->GetStartXRef();
  trailer->SetStartXRef(position);
  try {
    trailer->Write(out);
  } catch (...) {
    trailer->SetStartXRef(previousStart);
    throw;
  }
  trailer->SetStartXRef(previousStart);
  if (!out.Flush() || out.Error()) fail(CPDFException::kRuntimeLibrary, out.ErrorText().c_str());
  save_.xrefPosition = position;
}

void CPDFDoc::CommitSection() {
  CPDFXRef* xref = GetXRef();
  for (const auto& [number, offset] : save_.newOffsets) {
    if (XRefEntry* entry = xref->GetEntry(number)) entry->offset = offset;
  }
  GetTrailer()->SetStartXRef(save_.xrefPosition);
  CPDFBody* body = GetBody();
  for (const auto& moved : save_.movedWindows) {
    auto* stream = dynamic_cast<CPDFStream*>(body->GetObj(CPDFObjRef(moved.objNum, moved.genNum)));
    if (stream && stream->InFile()) stream->SetFileWindow(moved.offset, stream->GetFileLength());
  }
  save_.newOffsets.clear();
  save_.movedWindows.clear();
}

// ---- finishing -------------------------------------------------------------------

bool CPDFDoc::Flush() {
  return Boundary(error_, kDoc, "Flush", [&] { FlushIn(); });
}

void CPDFDoc::FlushIn() {
  auto fail = [](int32_t type, const char* factor) { ThrowPDF(kDoc, "Flush", type, factor); };
  if (!save_.saveCalled) fail(CPDFException::kUser, kNotSaving);
  try {
    save_.flushing = 1;
    if (!IsFDF() && !SetDocInfo()) fail(CPDFException::kInternal, "CPDFDoc::SetDocInfo()");
    if (!Boundary(error_, kDoc, "Serialize", [&] { WriteSection(); })) {
      fail(CPDFException::kInternal, "CPDFDoc::Serialize()");
    }
    stored_.reset();

    // Every byte must have reached the file before it replaces anything.
    save_.output->Close();
    bool written = !save_.output->Error();
    std::string writeError = save_.output->ErrorText();
    save_.output.reset();
    if (!written) fail(CPDFException::kRuntimeLibrary, writeError.c_str());

    if (save_.tempUsed) {
      // Renaming replaces the document's file in one step: when it fails, the
      // document's file is still the old one.
      if (!platform::RenameFile(save_.outputPath.c_str(), fileName_.c_str())) {
        fail(CPDFException::kRuntimeLibrary, platform::LastErrorText().c_str());
      }
    } else {
      fileName_ = save_.outputPath;
    }
    // The output is final from here on: nothing may remove it any more.
    save_.removeOnClose = 0;
    CommitSection();
    save_ = CPDFSaveState{};

    if (input_) input_->Close();
    input_.reset();
    auto in = std::make_unique<FileLoad>();
    if (!in->Open(fileName_.c_str(), "rb")) fail(CPDFException::kRuntimeLibrary, in->ErrorText().c_str());
    input_ = std::move(in);

    stored_ = std::make_unique<CPDFXRef>();
    if (!stored_->Create(this, nullptr)) fail(CPDFException::kInternal, "CPDFXRef::Create()");
    AddUpdateSection("Flush");
  } catch (...) {
    ReleaseSaveState();
    throw;
  }
}

// ---- giving up -------------------------------------------------------------------

void CPDFDoc::ReleaseSaveState() {
  if (save_.output) {
    save_.output->Close();
    save_.output.reset();
  }
  if (save_.removeOnClose && !save_.outputPath.empty()) {
    if (save_.appending && keepOutputOnClose_) {
      if (save_.appendBase >= 0) platform::TruncateFile(save_.outputPath.c_str(), save_.appendBase);
    } else {
      platform::RemoveFile(save_.outputPath.c_str());
    }
  }
  save_ = CPDFSaveState{};
  // Objects written out by the abandoned save can be read from the file again.
  if (stored_) {
    stored_->Create(this, nullptr);
  } else if (header_) {
    stored_ = std::make_unique<CPDFXRef>();
    stored_->Create(this, nullptr);
  }
}

}  // namespace koyo
