// The trailer of one section: its dictionary (Size, Prev, Root, Info, Encrypt,
// ID) and the startxref value that follows it in the file.
#pragma once
#include <cstdint>

#include "koyo/document/CPDFFileStruct.h"
#include "koyo/object/CPDFDict.h"

namespace koyo {

class CPDFInt;
class StreamLoad;

class CPDFTrailer : public CPDFFileStruct {
public:
  CPDFTrailer() : CPDFFileStruct(kKindTrailer) {}

  // Reads "trailer", the dictionary, "startxref", its number and "%%EOF" at the
  // stream's position, for doc. Throws ("CPDFTrailer", "Serialize", 4, ...).
  void Serialize(CPDFDoc* doc, StreamLoad& in);
  // Attaches the trailer to doc and, for a PDF document, types its entries:
  // Size must be present; a numeric Size or Prev becomes a typed integer. False
  // when Size is missing or an entry cannot be stored.
  bool Realize(CPDFDoc* doc);
  // A trailer for doc's new section after previous: every entry copied
  // (references as references, direct values duplicated) and Prev set to
  // previous's startxref value. For FDF the Root is left to the caller.
  bool Create(CPDFDoc* doc, const CPDFTrailer* previous);
  // "trailer", the dictionary, "startxref", the startxref value, "%%EOF". A
  // Prev beyond the 32-bit range is written from the full-width offset.
  void Write(StreamSave& out) const override;

  CPDFDict& GetDict() { return dict_; }
  const CPDFDict& GetDict() const { return dict_; }
  // The startxref value read after the trailer; -1 until read.
  int64_t GetStartXRef() const { return startXRef_; }
  void SetStartXRef(int64_t value) { startXRef_ = value; }
  // The offset of the previous section that Create or Set_Prev stored, kept at
  // full width (the Prev entry holds a 32-bit integer); -1 when none.
  int64_t GetPrevOffset() const { return prevOffset_; }

  // The entries, resolved through the document (null when missing). ref, when
  // given, receives the entry's indirect reference (reset when direct).
  CPDFObject* Get_Size(CPDFObjRef* ref = nullptr) const { return Get("Size", ref); }
  CPDFObject* Get_Prev(CPDFObjRef* ref = nullptr) const { return Get("Prev", ref); }
  CPDFObject* Get_Root(CPDFObjRef* ref = nullptr) const { return Get("Root", ref); }
  CPDFObject* Get_Info(CPDFObjRef* ref = nullptr) const { return Get("Info", ref); }
  CPDFObject* Get_Encrypt(CPDFObjRef* ref = nullptr) const { return Get("Encrypt", ref); }
  CPDFObject* Get_ID(CPDFObjRef* ref = nullptr) const { return Get("ID", ref); }

  // Direct integer entries. Set_Prev also keeps the full-width offset.
  bool Set_Size(int32_t size);
  bool Set_Prev(int64_t offset);

  // Puts value in place of the entry under key: into the document under the
  // entry's reference when the entry is indirect, else directly into the
  // dictionary. Takes value in every case (destroyed on failure).
  bool Replace(const char* key, CPDFObject* value);

private:
  CPDFObject* Get(const char* key, CPDFObjRef* ref) const;

  CPDFDict dict_;
  int64_t startXRef_ = -1;
  int64_t prevOffset_ = -1;
};

}  // namespace koyo
