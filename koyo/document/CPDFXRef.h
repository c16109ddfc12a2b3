// One cross-reference section: where each object of the section lies in the
// file, or, for a free object number, the next free number. Free entries form
// a list in ascending object-number order that starts at the free-list head
// (the data of object 0) and ends at 0. Slot k holds object number k + 1; only
// slots that hold an entry take memory.
#pragma once
#include <cstdint>
#include <map>

#include "koyo/document/CPDFFileStruct.h"

namespace koyo {

class StreamLoad;

struct XRefEntry {
  int32_t objNum = -1;
  int32_t genNum = 0;
  // In use: byte offset of the object's header in the file. Free: the object
  // number of the next free entry (0 ends the list).
  int64_t offset = 0;
  uint8_t inUse = 0;
};

class CPDFXRef : public CPDFFileStruct {
public:
  using Entries = std::map<int32_t, XRefEntry>;

  // Width of the offset and generation fields of an entry.
  static constexpr int32_t kOffsetDigits = 10;
  static constexpr int32_t kGenerationDigits = 5;

  CPDFXRef() : CPDFFileStruct(kKindXRef) {}

  // Reads a section ("xref", subsections, entries) at the stream's position and
  // leaves the stream at the "trailer" keyword that follows. Throws
  // ("CPDFXRef", "Serialize", 4, ...) on bad input.
  void Serialize(StreamLoad& in);
  // Attaches the section to doc.
  bool Realize(CPDFDoc* doc) {
    Attach(doc);
    return true;
  }
  // A new section for doc made from previous (none: empty): the free-list head,
  // the slot count and every free entry are copied, entries in use are not.
  bool Create(CPDFDoc* doc, const CPDFXRef* previous);
  // "xref", then runs of consecutive entries, each a line "first count" and
  // one line per entry "%010d %05d n|f"; object 0 (the free-list head,
  // generation 65535) always opens the first run. Throws ("CPDFXRef",
  // "Serialize", 3, ...) for an offset or generation wider than its field.
  void Write(StreamSave& out) const override;

  // Where the "xref" keyword of a section read from a file starts; -1 otherwise.
  int64_t GetPosition() const { return position_; }

  int32_t GetFreeHead() const { return freeHead_; }
  void SetFreeHead(int32_t head) { freeHead_ = head; }

  // Number of slots: the highest object number the section may hold.
  int32_t Count() const { return count_; }
  // Sets the slot count; shrinking drops the entries beyond it.
  bool Resize(int32_t count);

  // The entry of object number, or null (for -1, 0, beyond the slots or an empty slot).
  XRefEntry* GetEntry(int32_t number);
  const XRefEntry* GetEntry(int32_t number) const;
  // Stores a copy of entry in its slot. False for a number outside 1..Count().
  bool SetEntry(const XRefEntry& entry);
  // Appends an entry in use (count + 1, generation 0, offset 0) and reports its number.
  bool AddEntry(int32_t* number);
  // Frees an entry in use: links it into the free list in order, one generation up.
  void FreeEntry(int32_t number);
  // Puts an entry back in use: a free one is unlinked from the free list and
  // gets offset 0. False when there is no entry or the list does not hold it.
  bool UpdateEntry(int32_t number);

  // The entries, in ascending object number.
  const Entries& GetEntries() const { return entries_; }
  // The next free number after the free entry e, or 0 when its link is not a
  // usable object number.
  int32_t NextFree(const XRefEntry& e) const;

private:
  int32_t freeHead_ = 0;
  int32_t count_ = 0;
  int64_t position_ = -1;
  Entries entries_;
};

}  // namespace koyo
