// A PDF stream: a dictionary followed by a body of bytes. The bytes live in
// memory (moving into a mapped temporary file when large) or, for a stream
// read from a document's file, only as a window of that file until they are
// needed. Every change of the bytes keeps the Length entry up to date.
#pragma once
#include <cstdint>
#include <memory>

#include "koyo/object/CPDFDict.h"
#include "koyo/object/TempHugeString.h"

namespace koyo {

class CPDFArray;
class CPDFName;
class StreamLoad;
struct ObjectKey;

class CPDFStream : public CPDFDict {
public:
  // Block size for copying and crypting stream bodies.
  static constexpr int64_t kBlockSize = 4096;

  explicit CPDFStream(ObjectTable* doc = nullptr);
  ~CPDFStream() override;

  using CPDFDict::Insert;

  // The document that owns the stream: resolves its references, holds the file
  // of its window and hears of changes to an indirect Length.
  ObjectTable* GetDoc() const { return doc_; }
  void SetDoc(ObjectTable* doc) { doc_ = doc; }

  // The bytes, loaded from the file window first when needed; null when loading
  // fails. Never null otherwise (an empty stream gives an empty text).
  const char* GetData() const;
  // The number of bytes, loading first; 0 when loading fails.
  int64_t GetSize() const;
  // Appends bytes (loading first); Length becomes the new size. Nothing happens
  // when Length cannot be updated.
  void Append(const char* bytes, int64_t length);
  void Append(int64_t count, char byte);
  // Replaces the bytes (the file window is dropped unread).
  void SetData(const char* bytes, int64_t length);
  void SetData(int64_t count, char byte);
  // Inserts before position; -1 or past the end means the end. A negative
  // position (other than -1) or length <= 0 does nothing.
  void Insert(int64_t position, const char* bytes, int64_t length);
  // Removes every dictionary entry and all bytes.
  void Clear();

  // Reads the bytes of the file window into memory and empties the window;
  // false (window kept, data empty) when the file cannot be read.
  bool LoadData() const;
  // True while the bytes are only in the document's file.
  bool InFile() const { return fileOffset_ != -1 && fileLength_ != -1; }
  int64_t GetFileOffset() const { return fileOffset_; }
  // The window's length, settled first (see ReadBody).
  int64_t GetFileLength() const {
    SettleWindow();
    return fileLength_;
  }
  // Points the stream at bytes of the document's file (offset from the file
  // start); the bytes in memory are dropped.
  void SetFileWindow(int64_t offset, int64_t length);
  // The bytes in memory (empty while the stream is in the file).
  const TempHugeString<char>& Holder() const { return *data_; }

  // Typed accessors of the stream dictionary, resolved through the stream's
  // document. Setters take ownership of the value.
  CPDFObject* Get_Length(CPDFObjRef* ref = nullptr) const;
  bool Set_Length(CPDFObject* value, bool indirect = false, CPDFObjRef* ref = nullptr);
  CPDFObject* Get_Filter(CPDFObjRef* ref = nullptr) const;
  bool Set_Filter(CPDFName* value, bool indirect = false, CPDFObjRef* ref = nullptr);
  bool Set_Filter(CPDFArray* value, bool indirect = false, CPDFObjRef* ref = nullptr);
  CPDFObject* Get_DecodeParms(CPDFObjRef* ref = nullptr) const;
  bool Set_DecodeParms(CPDFDict* value, bool indirect = false, CPDFObjRef* ref = nullptr);
  bool Set_DecodeParms(CPDFArray* value, bool indirect = false, CPDFObjRef* ref = nullptr);
  CPDFObject* Get_F(CPDFObjRef* ref = nullptr) const;
  bool Set_F(CPDFObject* value, bool indirect = false, CPDFObjRef* ref = nullptr);

  CPDFObject* MakeEmpty() const override { return new CPDFStream(doc_); }
  // The dictionary copy, then the bytes: a copy within the same document shares
  // the file window; any other copy gets the bytes (and fails when they cannot
  // be loaded).
  bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                bool overwrite) const override;
  // Exchanges entries, bytes and file window with other (a stream) and takes doc.
  bool Adopt(ObjectTable* doc, CPDFObject* other) override;

  // Reads the body that follows a stream dictionary ("stream", a line end, the
  // bytes, "endstream"; the following "endobj" is left in the input). The body
  // ends at the first "endstream" followed by "endobj", whatever Length says.
  // dict's entries move into the new stream. Throws CPDFException.
  //
  // A body that stays in the file is not searched while the object is read
  // when Length points at such an end: that end proves the object complete,
  // and the window is settled (searched for an earlier end) only when its
  // bytes or its length are first asked for. The input is then left after
  // the end Length points at, also followed by "endobj".
  static std::unique_ptr<CPDFStream> ReadBody(ObjectTable* doc, StreamLoad& in, const ObjectKey* key,
                                              std::unique_ptr<CPDFDict> dict);

private:
  // Sets Length to n (telling the document when Length is indirect).
  bool UpdateLength(int64_t n);
  // Length and F of a stream just read: a number read for Length becomes an
  // integer, a FileSpec dictionary becomes its typed object.
  void NormalizeEntries(StreamLoad& in);
  void DropWindow() const {
    fileOffset_ = fileLength_ = -1;
    unsettled_ = false;
  }
  // Searches an unsettled window for the first end of the body and cuts the
  // window there. A file that cannot be read leaves the window as it is.
  void SettleWindow() const {
    if (unsettled_) Settle();
  }
  void Settle() const;
  static constexpr int32_t kSettleBufferSize = 65536;

  ObjectTable* doc_;
  std::unique_ptr<TempHugeString<char>> data_;
  mutable int64_t fileOffset_ = -1;
  mutable int64_t fileLength_ = -1;
  // The window ends where Length pointed; an earlier end may still be found.
  mutable bool unsettled_ = false;
};

}  // namespace koyo
