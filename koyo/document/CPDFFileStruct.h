// Base of the parts of a file's structure (trailer and cross-reference
// section; header and body have the same shape): the document the part belongs
// to, which it does not own, and its kind code.
#pragma once
#include <cstdint>

namespace koyo {

class CPDFDoc;
class StreamSave;

class CPDFFileStruct {
public:
  enum : int32_t { kKindNone = -1, kKindHeader = 0, kKindBody = 1, kKindXRef = 2, kKindTrailer = 3 };

  virtual ~CPDFFileStruct() = default;
  CPDFFileStruct(const CPDFFileStruct&) = delete;
  CPDFFileStruct& operator=(const CPDFFileStruct&) = delete;

  // Writes the part in its file form (a body writes nothing: its objects are
  // written one by one). Throws CPDFException when the part cannot be written.
  virtual void Write(StreamSave& out) const { (void)out; }

  CPDFDoc* GetDoc() const { return doc_; }
  int32_t GetKind() const { return kind_; }

protected:
  explicit CPDFFileStruct(int32_t kind) : kind_(kind) {}
  void Attach(CPDFDoc* doc) { doc_ = doc; }

  CPDFDoc* doc_ = nullptr;
  int32_t kind_ = kKindNone;
};

}  // namespace koyo
