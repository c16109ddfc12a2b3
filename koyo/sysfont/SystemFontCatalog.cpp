#include "koyo/sysfont/SystemFontCatalog.h"

#include <cstring>
#include <new>

#include "koyo/sysfont/CodePage.h"
#include "koyo/sysfont/FaceReader.h"
#include "koyo/sysfont/FontName.h"

namespace koyo {

namespace {

// Metrics of the built-in substitutes, in thousandths of an em.
struct SubstituteMetrics {
  const char* name;
  FontBox box;  // left, top, right, bottom
  int32_t ascent;
  int32_t descent;
  uint8_t panose[10];
};

constexpr SubstituteMetrics kSubstitutes[] = {
    {"HeiseiMin-W3", {-123, 910, 1001, -257}, 723, -241, {0x01, 0x05, 0x02, 0x02, 0x04, 0, 0, 0, 0, 0}},
    {"HeiseiKakuGo-W5", {-92, 922, 1010, -250}, 752, -221, {0x08, 0x01, 0x02, 0x0B, 0x06, 0, 0, 0, 0, 0}},
};

}  // namespace

TrueTypeInfo* SystemFontCatalog::GetTrueTypeInfo(const char* name) {
  if (faces_.empty()) Enumerate();
  char key[kFontNameBufferSize];
  if (!NormalizeFontName(key, name)) return nullptr;

  if (auto found = table_.find(key); found != table_.end()) return found->second;
  if (auto claim = candidates_.find(key); claim != candidates_.end()) {
    for (size_t index : claim->second) {
      if (TrueTypeInfo* record = Resolve(faces_[index])) {
        table_.emplace(key, record);
        return record;
      }
    }
  }
  return Substitute(name);
}

void SystemFontCatalog::Enumerate() {
  std::vector<FontFaceEntry> entries = EnumerateFontFaces();
  faces_.clear();
  candidates_.clear();
  faces_.reserve(entries.size());
  for (FontFaceEntry& entry : entries) {
    faces_.push_back(Face{std::move(entry), false, nullptr});
    const size_t index = faces_.size() - 1;
    const FontFaceEntry& e = faces_.back().entry;
    AddCandidate(e.fullName, index);
    AddCandidate(e.japaneseName, index);
    AddCandidate(e.postScriptName, index);
  }
}

void SystemFontCatalog::AddCandidate(const std::string& name, size_t face) {
  char key[kFontNameBufferSize];
  if (name.empty() || !NormalizeFontName(key, name.c_str()) || key[0] == '\0') return;
  std::vector<size_t>& faces = candidates_[key];
  if (faces.empty() || faces.back() != face) faces.push_back(face);
}

TrueTypeInfo* SystemFontCatalog::Resolve(Face& face) {
  if (!face.read) {
    face.read = true;
    ++facesRead_;
    auto record = std::make_unique<TrueTypeInfo>();
    if (ReadFaceRecord(face.entry.file, face.entry.index, *record)) {
      record->fullName = face.entry.fullName;
      face.record = std::move(record);
    }
  }
  return face.record.get();
}

TrueTypeInfo* SystemFontCatalog::Substitute(const char* name) {
  for (const SubstituteMetrics& metrics : kSubstitutes) {
    if (std::strcmp(name, metrics.name) != 0) continue;
    if (auto found = substitutes_.find(name); found != substitutes_.end()) return found->second.get();
    std::unique_ptr<TrueTypeInfo> record(new (std::nothrow) TrueTypeInfo);
    if (!record) return nullptr;
    record->lfCharSet = kShiftJisCharSet;
    record->fullName = metrics.name;
    record->otmrcFontBox = metrics.box;
    record->otmMacAscent = metrics.ascent;
    record->otmMacDescent = metrics.descent;
    record->otmItalicAngle = 0;
    std::memcpy(record->otmPanoseNumber, metrics.panose, sizeof metrics.panose);
    TrueTypeInfo* result = record.get();
    substitutes_.emplace(name, std::move(record));
    table_.emplace(name, result);
    return result;
  }
  return nullptr;
}

}  // namespace koyo
