// One open PDF or FDF file: its header, its sections (body, cross-reference
// section and trailer of each, newest first, with an empty update section of
// its own at the head) and the object table that loads indirect objects from
// the file on demand and keeps changed and new ones in the update section.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "koyo/document/CPDFBody.h"
#include "koyo/document/CPDFHeader.h"
#include "koyo/document/CPDFSaveState.h"
#include "koyo/document/CPDFTrailer.h"
#include "koyo/document/CPDFXRef.h"
#include "koyo/object/CPDFException.h"
#include "koyo/object/ObjectTable.h"

namespace koyo {

class CPDFInfoDict;
class CPDFPage;
class CPDFPages;
class DocumentLibrary;
class FileLoad;
class StreamLoad;
class StreamSave;

class CPDFDoc : public ObjectTable {
public:
  // Longest chain of objects whose reading needs another object first (a
  // stream whose Length is indirect, and so on).
  static constexpr int32_t kMaxLoadDepth = 32;
  // Bytes at the end of the file searched per window for "startxref", and the
  // number of windows.
  static constexpr int64_t kStartXRefWindow = 32;
  static constexpr int32_t kStartXRefWindows = 10;

  CPDFDoc();
  ~CPDFDoc() override;
  CPDFDoc(const CPDFDoc&) = delete;
  CPDFDoc& operator=(const CPDFDoc&) = delete;

  // Opens the file at path for library (may be null) and reads its structure;
  // password may be null. On false the error record holds the cause and the
  // document holds nothing.
  bool Open(DocumentLibrary* library, const char* path, const char* password);
  // Releases everything the document holds and closes its file. The error
  // record stays.
  void Close();
  // Reads the header and every section, newest first, from in.
  bool Serialize(StreamLoad& in);

  // The failure record of the last operation.
  const CPDFException& GetError() const { return error_; }
  void ClearError() override { error_.Clear(); }

  DocumentLibrary* GetLibrary() const { return library_; }
  const char* GetFileName() const { return fileName_.c_str(); }
  // The path of the file the objects are read from (stream bytes stay there
  // until needed); null when nothing is open.
  const char* FilePath() const override { return input_ ? fileName_.c_str() : nullptr; }
  CPDFHeader* GetHeader() const { return header_.get(); }
  bool IsFDF() const { return header_ && header_->IsFDF(); }
  bool IsLinearized() const { return linearized_ != 0; }
  bool IsIncremental() const { return incremental_ != 0; }

  // The newest section's parts; null when there is none.
  CPDFBody* GetBody() const { return bodies_.empty() ? nullptr : bodies_.front().get(); }
  CPDFXRef* GetXRef() const { return xrefs_.empty() ? nullptr : xrefs_.front().get(); }
  CPDFTrailer* GetTrailer() const { return trailers_.empty() ? nullptr : trailers_.front().get(); }
  // All sections, newest first.
  const std::vector<std::unique_ptr<CPDFBody>>& GetBodies() const { return bodies_; }
  const std::vector<std::unique_ptr<CPDFXRef>>& GetXRefs() const { return xrefs_; }
  const std::vector<std::unique_ptr<CPDFTrailer>>& GetTrailers() const { return trailers_; }
  // Entries of the objects already written out by a running save.
  CPDFXRef* GetStoredObjects() const { return stored_.get(); }

  // The object table. Each public operation clears the error record first and
  // keeps the innermost failure there.

  // The indirect object ref names, loaded from the newest section that has it
  // in use; null without a failure when no section has it.
  CPDFObject* GetObj(const CPDFObjRef& ref);
  CPDFObject* LoadObj(const CPDFObjRef& ref) override { return GetObj(ref); }
  // Reads the object ref at offset of the file; the caller owns the result.
  CPDFObject* LoadObj(const CPDFObjRef& ref, int64_t offset);
  // The first loaded object under ref, newest body first (or from the second
  // with skipNewest); its body goes to body.
  CPDFObject* FindObj(const CPDFObjRef& ref, bool skipNewest, CPDFBody** body) const;
  // The first entry of number, free or in use, newest section first (or from
  // the second with skipNewest); its section goes to section.
  XRefEntry* FindEntry(int32_t number, bool skipNewest, CPDFXRef** section) const;
  // With a valid proposed reference, replaces the object loaded under it (the
  // old one is destroyed); otherwise gives obj the lowest free number of the
  // update section or a new one. The reference goes to out.
  bool RegistObj(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out) override;
  // The same with one reference for in and out.
  bool RegistObj(CPDFObject* obj, CPDFObjRef* ref) { return RegistObj(obj, ref, ref); }
  bool UpdateObj(const CPDFObjRef& ref) override;
  bool DeleteObj(const CPDFObjRef& ref) override;
  bool ReleaseObj(const CPDFObjRef& ref, bool force) override;
  // Forgets the loaded copy of an object read from the file and not changed
  // since, giving its memory back; the next use reads it again. Unlike
  // ReleaseObj it leaves every object this one refers to loaded. Refused for
  // an object of the update section (a new or changed one exists nowhere
  // else) and for one being read. True, doing nothing, when it is not loaded.
  // The caller must hold no pointer into the object.
  bool UnloadObj(const CPDFObjRef& ref);
  // Renumbering belongs to linearized saving, which this document does not run:
  // always fails.
  bool LinearizeObj(const CPDFObjRef& ref) override;

  // Page access through the catalog's page tree (not for FDF documents).
  // The number of pages, or -1.
  int32_t GetPageCount();
  // The page at the zero-based index, realized; its reference goes to pageRef.
  CPDFPage* GetPage(int32_t index, CPDFObjRef* pageRef = nullptr);
  // Deletes count pages from start (-1: to the last page).
  bool DeletePage(int32_t start, int32_t count);

  int RealizeOptions() const override;
  const ResourceMakers* Makers() const override;
  CPDFException* ErrorRecord() override { return &error_; }
  FontServices* Fonts() const override;

  // Saving. Save prepares: it chooses the output (the document's own file
  // appended to when path is the opened file and incremental is set; a
  // temporary file beside it that replaces it at Flush when path is the opened
  // file and incremental is not set; a complete new file at any other path),
  // opens it and, for a complete file, merges every section into one and
  // writes the header. Flush stamps the information dictionary, writes the
  // newest section, makes the output the document's file and starts a fresh
  // update section. Linearized output is not available (refused).
  bool Save(const char* path, bool incremental, bool linearize);
  bool Flush();
  // Writes obj as indirect object ref at the end of the output of the prepared
  // save; returns the offset of its header, or -1.
  int64_t StoreObj(const CPDFObjRef& ref, const CPDFObject* obj);
  // Stamps the information dictionary: Producer, and ModDate (CreationDate
  // when the dictionary has none) set to now. Makes a new indirect one when
  // the trailer has no Info.
  bool SetDocInfo();
  // A prepared save that is abandoned (the document closed, or Save or Flush
  // failing) removes its output file. With keep set, an output that is the
  // document's own file being appended to is instead cut back to its length
  // before the save, byte for byte as it was. New and temporary files are
  // always removed. The setting outlives the save.
  void SetKeepOutputOnClose(bool keep) { keepOutputOnClose_ = keep; }
  bool GetKeepOutputOnClose() const { return keepOutputOnClose_; }
  bool IsSaving() const { return save_.saveCalled != 0; }
  bool IsFlushing() const override { return save_.flushing != 0; }
  // The file being written by the prepared save; empty when none.
  const std::string& GetOutputPath() const { return save_.outputPath; }

private:
  // The throwing halves of the operations above.
  void ReadStructure(StreamLoad& in);
  void LocateLastXRef(StreamLoad& in);
  void OpenIn(DocumentLibrary* library, const char* path, const char* password);
  // method names the operation that fails when a part cannot be made.
  void AddUpdateSection(const char* method);
  void CheckEncryption(const char* password);
  void CheckRoot();
  CPDFObject* GetObjIn(const CPDFObjRef& ref);
  std::unique_ptr<CPDFObject> LoadObjIn(const CPDFObjRef& ref, int64_t offset);
  void RegistObjIn(CPDFObject* obj, const CPDFObjRef* proposed, CPDFObjRef* out);
  void UpdateObjIn(const CPDFObjRef& ref);
  void DeleteObjIn(const CPDFObjRef& ref);
  void ReleaseObjIn(const CPDFObjRef& ref, bool force);
  void UnloadObjIn(const CPDFObjRef& ref);
  void SaveIn(const char* path, bool incremental, bool linearize);
  void FlushIn();
  int64_t StoreObjIn(const CPDFObjRef& ref, const CPDFObject* obj, int64_t* textEnd);
  void SetDocInfoIn();
  CPDFInfoDict* TypedInfo(CPDFObject* value, CPDFObjRef& ref);
  void MergeSections();
  void WriteSection();
  void CommitSection();
  // Closes the output of the prepared save and, when it is marked for removal,
  // removes it (or cuts the appended file back, see SetKeepOutputOnClose).
  void ReleaseSaveState();
  // The page tree root of the catalog; its reference goes to pagesRef.
  CPDFPages* PageTreeIn(const char* method, CPDFObjRef* pagesRef);

  CPDFException error_;
  std::unique_ptr<CPDFHeader> header_;
  std::vector<std::unique_ptr<CPDFBody>> bodies_;
  std::vector<std::unique_ptr<CPDFXRef>> xrefs_;
  std::vector<std::unique_ptr<CPDFTrailer>> trailers_;
  DocumentLibrary* library_ = nullptr;
  std::string fileName_;
  std::unique_ptr<FileLoad> input_;
  uint8_t incremental_ = 0;
  uint8_t linearized_ = 0;
  std::unique_ptr<CPDFXRef> stored_;
  CPDFSaveState save_;
  bool keepOutputOnClose_ = false;
  // Objects being read right now, innermost last: a reference back into this
  // chain (an object whose reading needs itself) fails instead of recursing.
  std::vector<CPDFObjRef> loading_;
};

}  // namespace koyo
