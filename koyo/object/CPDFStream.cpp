#include "koyo/object/CPDFStream.h"

#include <climits>
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/object/FileLoad.h"
#include "koyo/object/ObjectCipher.h"
#include "koyo/object/ObjectTable.h"
#include "koyo/object/StreamLoad.h"

namespace koyo {

namespace {

constexpr const char* kModule = "CPDFStream";
constexpr const char* kSerialize = "Serialize";
constexpr char kEndStream[] = "endstream";
constexpr int32_t kEndStreamLength = 9;

[[noreturn]] void FailIO() { ThrowPDF(kModule, kSerialize, CPDFException::kInvalidFormat, "ioerror"); }

// PDF integers are 32-bit: sizes beyond that are held at the limit.
int32_t ClampToInt32(int64_t n) { return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n); }

// True when the body can end at position at: "endstream" starting right there
// as a whole token, and "endobj" as the next token. Moves the input.
bool EndsAt(StreamLoad& in, int64_t at) {
  char token[StreamLoad::kTokenSize];
  return in.Seek(at) == 0 && in.Peek() == kEndStream[0] && in.GetToken(token, sizeof token) &&
         std::strcmp(token, kEndStream) == 0 &&
         in.GetToken(token, sizeof token) && std::strcmp(token, "endobj") == 0;
}

// The first position at or after from where the body can end, or -1 when the
// input has none (or cannot be read).
int64_t FindEnd(StreamLoad& in, int64_t from) {
  for (;;) {
    if (in.Seek(from) != 0) return -1;
    int64_t at = in.Find(kEndStream, kEndStreamLength);
    if (at < 0) return -1;
    if (EndsAt(in, at)) return at;
    from = at + kEndStreamLength;  // keep looking after this occurrence
  }
}

// The byte count the dictionary declares, or -1 when it has no usable Length.
// An indirect Length is loaded through doc (which NormalizeEntries does in any
// case) unless the document is writing itself out.
int64_t DeclaredLength(ObjectTable* doc, const CPDFDict& dict) {
  auto entry = dict.FindKey("Length");
  if (entry == dict.end() || !entry->value) return -1;
  const CPDFObject* value = nullptr;
  if (entry->value->IsObject()) {
    value = static_cast<const CPDFObject*>(entry->value);
  } else if (doc && !doc->IsFlushing()) {
    value = dict.GetValue(doc, "Length");
  }
  if (!value || !value->IsDefined() || !value->IsType(CPDFObject::kAnyNumber)) return -1;
  int32_t n = static_cast<const CPDFNumber*>(value)->GetInt();
  return n < 0 ? -1 : n;
}

}  // namespace

CPDFStream::CPDFStream(ObjectTable* doc)
    : CPDFDict(kStream, "Stream"), doc_(doc), data_(std::make_unique<TempHugeString<char>>()) {}

CPDFStream::~CPDFStream() = default;

void CPDFStream::Settle() const {
  const char* path = doc_ ? doc_->FilePath() : nullptr;
  FileLoad file;
  if (!path || !*path || !file.Open(path, "rb", fileOffset_, -1, kSettleBufferSize)) return;
  int64_t end = FindEnd(file, 0);
  // No end, or one past the window: the file changed since the object was
  // read; the window stays as it is and reading its bytes decides.
  if (end >= 0 && end < fileLength_) fileLength_ = end;
  unsettled_ = false;
}

bool CPDFStream::LoadData() const {
  if (!InFile()) return true;
  SettleWindow();
  const char* path = doc_ ? doc_->FilePath() : nullptr;
  if (!path || !*path) {
    data_->Clear();
    return false;
  }
  if (fileLength_ > 0 && !data_->Truncate(fileLength_)) {
    data_->Clear();
    return false;
  }
  if (fileLength_ == 0) data_->Clear();
  FileLoad file;
  if (!file.Open(path, "rb", fileOffset_, fileLength_) || file.Size() < fileLength_ ||
      (fileLength_ > 0 && file.ReadBlock(data_->Data(), fileLength_) < fileLength_)) {
    data_->Clear();
    return false;
  }
  DropWindow();
  return true;
}

const char* CPDFStream::GetData() const {
  if (!LoadData()) return nullptr;
  return data_->c_str();
}

int64_t CPDFStream::GetSize() const {
  if (!LoadData()) return 0;
  return data_->Length();
}

void CPDFStream::SetFileWindow(int64_t offset, int64_t length) {
  data_->Clear();
  fileOffset_ = offset;
  fileLength_ = length;
  unsettled_ = false;
}

bool CPDFStream::UpdateLength(int64_t n) {
  CPDFObjRef ref;
  CPDFObject* length = GetValue(doc_, "Length", &ref);
  if (length && length->IsType(kAnyNumber)) {
    if (doc_ && ref.IsValid() && !doc_->UpdateObj(ref)) return false;
    static_cast<CPDFNumber*>(length)->SetBoth(ClampToInt32(n), static_cast<float>(n));
    return true;
  }
  // No usable Length: a direct integer takes the place of whatever was there.
  auto* value = new (std::nothrow) CPDFInt(ClampToInt32(n));
  return value && Set_Length(value);
}

void CPDFStream::Append(const char* bytes, int64_t length) {
  LoadData();
  if (!bytes || length <= 0) return;
  if (!UpdateLength(data_->Length() + length)) return;
  data_->Append(bytes, length);
}

void CPDFStream::Append(int64_t count, char byte) {
  LoadData();
  if (count <= 0) return;
  if (!UpdateLength(data_->Length() + count)) return;
  data_->Append(count, byte);
}

void CPDFStream::SetData(const char* bytes, int64_t length) {
  if (!bytes || length < 0) length = 0;
  if (!UpdateLength(length)) return;
  DropWindow();
  data_->Assign(bytes, length);
}

void CPDFStream::SetData(int64_t count, char byte) {
  if (count < 0) count = 0;
  if (!UpdateLength(count)) return;
  DropWindow();
  data_->Clear();
  data_->Append(count, byte);
}

void CPDFStream::Insert(int64_t position, const char* bytes, int64_t length) {
  if (!bytes || length <= 0 || position < -1) return;
  LoadData();
  if (!UpdateLength(data_->Length() + length)) return;
  data_->Insert(position, bytes, length);
}

void CPDFStream::Clear() {
  Entries::Clear();
  DropWindow();
  data_->Clear();
}

CPDFObject* CPDFStream::Get_Length(CPDFObjRef* ref) const { return GetValue(doc_, "Length", ref); }
bool CPDFStream::Set_Length(CPDFObject* value, bool indirect, CPDFObjRef* ref) {
  return SetValue(doc_, "Length", value, indirect, ref);
}
CPDFObject* CPDFStream::Get_Filter(CPDFObjRef* ref) const { return GetValue(doc_, "Filter", ref); }
bool CPDFStream::Set_Filter(CPDFName* value, bool indirect, CPDFObjRef* ref) {
  return SetValue(doc_, "Filter", value, indirect, ref);
}
bool CPDFStream::Set_Filter(CPDFArray* value, bool indirect, CPDFObjRef* ref) {
  return SetValue(doc_, "Filter", value, indirect, ref);
}
CPDFObject* CPDFStream::Get_DecodeParms(CPDFObjRef* ref) const { return GetValue(doc_, "DecodeParms", ref); }
bool CPDFStream::Set_DecodeParms(CPDFDict* value, bool indirect, CPDFObjRef* ref) {
  return SetValue(doc_, "DecodeParms", value, indirect, ref);
}
bool CPDFStream::Set_DecodeParms(CPDFArray* value, bool indirect, CPDFObjRef* ref) {
  return SetValue(doc_, "DecodeParms", value, indirect, ref);
}
CPDFObject* CPDFStream::Get_F(CPDFObjRef* ref) const { return GetValue(doc_, "F", ref); }
bool CPDFStream::Set_F(CPDFObject* value, bool indirect, CPDFObjRef* ref) {
  return SetValue(doc_, "F", value, indirect, ref);
}

bool CPDFStream::CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc,
                          ObjectTable* sourceDoc, bool) const {
  auto* copy = dynamic_cast<CPDFStream*>(target);
  if (!copy) return false;
  if (!CPDFDict::CopyInto(target, context, targetDoc, sourceDoc, true)) return false;
  copy->doc_ = targetDoc;
  if (targetDoc == sourceDoc && InFile()) {
    copy->data_->Clear();
    copy->fileOffset_ = fileOffset_;
    copy->fileLength_ = fileLength_;
    copy->unsettled_ = unsettled_;
    return true;
  }
  const char* bytes = GetData();
  if (!bytes) return false;  // the bytes are lost: the copy would be wrong
  int64_t size = data_->Length();
  copy->SetData(bytes, size);
  return copy->data_->Length() == size && !copy->InFile();
}

bool CPDFStream::Adopt(ObjectTable* doc, CPDFObject* other) {
  auto* that = dynamic_cast<CPDFStream*>(other);
  if (!that || that == this) return that == this;
  Entries::Swap(*that);
  std::swap(data_, that->data_);
  std::swap(fileOffset_, that->fileOffset_);
  std::swap(fileLength_, that->fileLength_);
  std::swap(unsettled_, that->unsettled_);
  doc_ = doc;
  return true;
}

std::unique_ptr<CPDFStream> CPDFStream::ReadBody(ObjectTable* doc, StreamLoad& in, const ObjectKey* key,
                                                 std::unique_ptr<CPDFDict> dict) {
  auto stream = std::make_unique<CPDFStream>(doc);
  stream->SetDefined(true);

  char token[StreamLoad::kTokenSize];
  if (!in.GetToken(token, sizeof token)) FailIO();
  if (std::strcmp(token, "stream") != 0) {
    ThrowPDFFormat(kModule, kSerialize, CPDFException::kInvalidFormat, "invalidtoken: %s", token);
  }
  int c = in.Get();
  if (c < 0) FailIO();
  if (c == '\r') {
    int next = in.Peek();
    if (next < 0) FailIO();
    if (next == '\n') in.Get();
  } else if (c != '\n') {
    ThrowPDFFormat(kModule, kSerialize, CPDFException::kInvalidFormat, "invalidtoken: %c", static_cast<char>(c));
  }
  const int64_t start = in.Tell();
  if (start < 0) FailIO();

  const char* path = doc ? doc->FilePath() : nullptr;
  // Encrypted bytes are decrypted into memory; others stay in a file's window.
  const bool inFile = !key && in.Kind() == StreamLoad::kKindFile && path && *path;

  // The body ends at the first "endstream" that is followed by "endobj". A body
  // left in the file takes the end Length points at (right after the bytes or
  // after one line end) for now; otherwise, or when there is none, search.
  int64_t end = -1;
  bool unsettled = false;
  if (inFile) {
    int64_t declared = DeclaredLength(doc, *dict);
    if (declared >= 0 && declared <= in.Size() - start) {
      for (int64_t at = start + declared; at <= start + declared + 2 && end < 0; ++at) {
        if (EndsAt(in, at)) end = at;
      }
      unsettled = end > start;  // an empty body has no earlier end
    }
  }
  if (end < 0) end = FindEnd(in, start);
  if (end < 0) FailIO();
  const int64_t length = end - start;

  std::unique_ptr<ObjectCipher> cipher;
  if (key) {
    cipher = key->NewCipher();
    if (!cipher) ThrowPDF(kModule, kSerialize, CPDFException::kInternal, "ObjectCipher::SetKey()");
  }
  if (inFile) {
    // The bytes stay in the file until somebody needs them.
    stream->fileOffset_ = static_cast<FileLoad&>(in).WindowStart() + start;
    stream->fileLength_ = length;
    stream->unsettled_ = unsettled;
  } else {
    if (in.Seek(start) != 0) FailIO();
    std::vector<char> block(kBlockSize);
    for (int64_t done = 0; done < length;) {
      int64_t want = length - done < kBlockSize ? length - done : kBlockSize;
      if (in.Read(block.data(), want) != want) FailIO();
      if (cipher && cipher->Crypt(reinterpret_cast<uint8_t*>(block.data()), want) < 0) {
        ThrowPDF(kModule, kSerialize, CPDFException::kInternal, "ObjectCipher::Crypt()");
      }
      if (!stream->data_->Append(block.data(), want)) {
        ThrowPDF(kModule, kSerialize, CPDFException::kInternal, "TempHugeString::Append()");
      }
      done += want;
    }
  }
  if (in.Seek(end + kEndStreamLength) != 0) FailIO();

  stream->Entries::Swap(*dict);
  dict.reset();

  if (!doc || !doc->IsFlushing()) stream->NormalizeEntries(in);
  return stream;
}

void CPDFStream::NormalizeEntries(StreamLoad& in) {
  const int64_t mark = in.Tell();
  try {
    CPDFObjRef ref;
    CPDFObject* length = GetValue(doc_, "Length", &ref);
    if (!length) throw CPDFException(kModule, kSerialize, CPDFException::kInternal, "");
    if (length->IsDefined() && length->GetType() == kNumber) {
      auto* number = static_cast<CPDFNumber*>(length);
      auto value = std::make_unique<CPDFInt>();
      value->SetBoth(number->GetInt(), number->GetReal());
      if (ref.IsValid()) {
        CPDFObjRef made;
        if (!doc_ || !doc_->RegistObj(value.get(), &ref, &made)) {
          throw CPDFException(kModule, kSerialize, CPDFException::kInternal, "");
        }
        value.release();  // the document owns it now
      } else if (!Insert("Length", value.release())) {
        throw CPDFException(kModule, kSerialize, CPDFException::kInternal, "");
      }
    }

    CPDFObjRef fileRef;
    CPDFObject* file = GetValue(doc_, "F", &fileRef);
    if (doc_ && file && file->IsDefined() && file->IsType(kDict)) {
      std::unique_ptr<CPDFObject> typed(doc_->MakeFileSpec(static_cast<CPDFDict&>(*file)));
      if (typed) {
        if (fileRef.IsValid()) {
          CPDFObjRef made;
          if (!doc_->RegistObj(typed.get(), &fileRef, &made)) {
            throw CPDFException(kModule, kSerialize, CPDFException::kInternal, "");
          }
          typed.release();
        } else if (!Insert("F", typed.release())) {
          throw CPDFException(kModule, kSerialize, CPDFException::kInternal, "");
        }
      }
    }
  } catch (...) {
    throw CPDFException(kModule, kSerialize, CPDFException::kInternal, "");
  }
  in.Seek(mark);
}

}  // namespace koyo
