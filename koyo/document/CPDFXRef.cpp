#include "koyo/document/CPDFXRef.h"

#include <cstring>
#include <limits>

#include "koyo/object/CPDFException.h"
#include "koyo/object/CharClass.h"
#include "koyo/object/StreamLoad.h"

namespace koyo {

namespace {

constexpr const char* kModule = "CPDFXRef";
constexpr const char* kMethod = "Serialize";

[[noreturn]] void Fail(const char* factor) { ThrowPDF(kModule, kMethod, CPDFException::kInvalidFormat, factor); }
[[noreturn]] void BadToken(const char* token) {
  ThrowPDFFormat(kModule, kMethod, CPDFException::kInvalidFormat, "invalidtoken: %s", token);
}

bool AllDigits(const char* s) {
  if (!*s) return false;
  for (; *s; ++s) {
    if (!IsDecimalDigit(static_cast<unsigned char>(*s))) return false;
  }
  return true;
}

// Decimal digits to a value; false when it exceeds limit.
bool DigitsValue(const char* s, int64_t limit, int64_t& value) {
  int64_t v = 0;
  for (; *s; ++s) {
    v = v * 10 + (*s - '0');
    if (v > limit) return false;
  }
  value = v;
  return true;
}

}  // namespace

void CPDFXRef::Serialize(StreamLoad& in) {
  enum class State { kStart, kSubsection, kEntries };
  State state = State::kStart;
  char token[StreamLoad::kTokenSize];
  int32_t number = 0;     // object number of the next entry
  int64_t remaining = 0;  // entries left in the current subsection
  const int64_t maxNumber = std::numeric_limits<int32_t>::max();

  for (;;) {
    in.SkipWhiteAndComments();
    int64_t mark = in.Tell();
    if (!in.GetToken(token, sizeof token)) Fail("ioerror");
    if (std::strcmp(token, "trailer") == 0) {
      if (state != State::kSubsection) BadToken(token);
      if (in.Seek(mark) != 0) Fail("ioerror");
      return;
    }
    switch (state) {
      case State::kStart:
        if (std::strcmp(token, "xref") != 0) BadToken(token);
        position_ = mark;
        state = State::kSubsection;
        break;
      case State::kSubsection: {
        int64_t first = 0;
        if (!AllDigits(token) || !DigitsValue(token, maxNumber, first)) BadToken(token);
        if (!in.GetToken(token, sizeof token)) Fail("ioerror");
        int64_t count = 0;
        if (!AllDigits(token) || !DigitsValue(token, maxNumber, count)) BadToken(token);
        // The section's highest number must stay an object number.
        int64_t last = first + count - 1;
        if (last > maxNumber) BadToken(token);
        if (last > count_) count_ = static_cast<int32_t>(last);
        number = static_cast<int32_t>(first);
        remaining = count;
        state = State::kEntries;
        break;
      }
      case State::kEntries: {
        if (remaining == 0) Fail("invalidtrailer");
        if (std::strlen(token) != kOffsetDigits || !AllDigits(token)) BadToken(token);
        int64_t offset = 0;
        DigitsValue(token, std::numeric_limits<int64_t>::max(), offset);
        if (!in.GetToken(token, sizeof token)) Fail("ioerror");
        if (std::strlen(token) != kGenerationDigits || !AllDigits(token)) BadToken(token);
        int64_t generation = 0;
        DigitsValue(token, maxNumber, generation);
        if (!in.GetToken(token, sizeof token)) Fail("ioerror");
        uint8_t inUse = 0;
        if (std::strcmp(token, "n") == 0) {
          inUse = 1;
        } else if (std::strcmp(token, "f") != 0) {
          BadToken(token);
        }
        if (number == 0) {
          freeHead_ = offset > maxNumber ? 0 : static_cast<int32_t>(offset);
        } else {
          XRefEntry& e = entries_[number];
          e.objNum = number;
          e.genNum = static_cast<int32_t>(generation);
          e.offset = offset;
          e.inUse = inUse;
        }
        ++number;
        if (--remaining == 0) state = State::kSubsection;
        break;
      }
    }
  }
}

bool CPDFXRef::Create(CPDFDoc* doc, const CPDFXRef* previous) {
  Attach(doc);
  entries_.clear();
  freeHead_ = 0;
  count_ = 0;
  position_ = -1;
  if (!previous) return true;
  freeHead_ = previous->freeHead_;
  count_ = previous->count_;
  for (const auto& [number, entry] : previous->entries_) {
    if (!entry.inUse) entries_.emplace_hint(entries_.end(), number, entry);
  }
  return true;
}

bool CPDFXRef::Resize(int32_t count) {
  if (count < 0) return false;
  if (count < count_) entries_.erase(entries_.upper_bound(count), entries_.end());
  count_ = count;
  return true;
}

XRefEntry* CPDFXRef::GetEntry(int32_t number) {
  if (number < 1 || number > count_) return nullptr;
  auto it = entries_.find(number);
  return it == entries_.end() ? nullptr : &it->second;
}

const XRefEntry* CPDFXRef::GetEntry(int32_t number) const {
  return const_cast<CPDFXRef*>(this)->GetEntry(number);
}

bool CPDFXRef::SetEntry(const XRefEntry& entry) {
  if (entry.objNum < 1 || entry.objNum > count_) return false;
  entries_[entry.objNum] = entry;
  return true;
}

bool CPDFXRef::AddEntry(int32_t* number) {
  if (count_ == std::numeric_limits<int32_t>::max()) return false;
  ++count_;
  XRefEntry& e = entries_[count_];
  e.objNum = count_;
  e.genNum = 0;
  e.offset = 0;
  e.inUse = 1;
  if (number) *number = count_;
  return true;
}

int32_t CPDFXRef::NextFree(const XRefEntry& e) const {
  return e.offset > 0 && e.offset <= count_ ? static_cast<int32_t>(e.offset) : 0;
}

void CPDFXRef::FreeEntry(int32_t number) {
  XRefEntry* entry = GetEntry(number);
  if (!entry || !entry->inUse) return;
  // Walk while the next free number is smaller. Each step must move to a higher
  // number: a damaged list that turns back or names an entry in use is cut at
  // that point, so the walk always ends.
  XRefEntry* holder = nullptr;  // the free entry that will link to number; null: the head
  int32_t next = freeHead_;
  int32_t previous = 0;
  while (next != 0 && next < number && next > previous) {
    XRefEntry* e = GetEntry(next);
    if (!e || e->inUse) break;
    holder = e;
    previous = next;
    next = NextFree(*e);
  }
  entry->offset = next > number ? next : 0;
  entry->genNum += 1;
  entry->inUse = 0;
  if (holder) {
    holder->offset = number;
  } else {
    freeHead_ = number;
  }
}

bool CPDFXRef::UpdateEntry(int32_t number) {
  XRefEntry* entry = GetEntry(number);
  if (!entry) return false;
  if (entry->inUse) return true;
  int32_t next = freeHead_;
  XRefEntry* holder = nullptr;  // entry whose link is `next`; null for the head
  // Each step moves to a higher number, so the walk ends.
  int32_t previous = 0;
  while (next != 0 && next > previous) {
    if (next == number) {
      int32_t after = NextFree(*entry);
      if (holder) {
        holder->offset = after;
      } else {
        freeHead_ = after;
      }
      entry->offset = 0;
      entry->inUse = 1;
      return true;
    }
    XRefEntry* e = GetEntry(next);
    if (!e || e->inUse) return false;
    holder = e;
    previous = next;
    next = NextFree(*e);
  }
  return false;
}

}  // namespace koyo
