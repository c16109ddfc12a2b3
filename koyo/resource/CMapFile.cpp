#include "koyo/resource/CMapFile.h"

#include <algorithm>

#include "koyo/platform/Files.h"
#include "koyo/platform/ProcessDirs.h"
#include "koyo/resource/CMapData.h"
#include "koyo/resource/LineReader.h"
#include "koyo/resource/TokenText.h"

namespace koyo {

namespace {

enum class State { kOutside, kCodespace, kNotdef, kCIDRange, kBFChar, kBFRange };

constexpr std::string_view kSeparators = " \t\f";
// An announced entry count reserves at most this much room up front; the lists
// still grow past it when the data really holds more.
constexpr int32_t kMaxReserve = 10000;

bool IsEndKeyword(std::string_view tok) {
  return tok == "endcodespacerange" || tok == "endnotdefrange" || tok == "endcidrange" ||
         tok == "endbfchar" || tok == "endbfrange";
}

bool BeginState(std::string_view tok, State& state) {
  if (tok == "begincodespacerange") state = State::kCodespace;
  else if (tok == "beginnotdefrange") state = State::kNotdef;
  else if (tok == "begincidrange") state = State::kCIDRange;
  else if (tok == "beginbfchar") state = State::kBFChar;
  else if (tok == "beginbfrange") state = State::kBFRange;
  else return false;
  return true;
}

size_t EntryWidth(State state) {
  return state == State::kCodespace || state == State::kBFChar ? 2 : 3;
}

uint16_t Byte(char c) { return static_cast<unsigned char>(c); }

// A codespace, notdef or cid range from its tokens. Codes of different or
// unsupported lengths give an unusable entry (length 0).
CMapRange MakeRange(std::string_view lowTok, std::string_view highTok, uint16_t cid, bool cidRange) {
  CMapRange r;
  std::string low, high;
  if (DecodeHexString(lowTok, low) && DecodeHexString(highTok, high)) {
    if (low.size() == 1 && high.size() == 1) {
      r.low = Byte(low[0]);
      r.high = Byte(high[0]);
      r.length = 1;
    } else if (low.size() == 2 && high.size() == 2) {
      r.low = static_cast<uint16_t>(Byte(low[0]) << 8 | Byte(low[1]));
      r.high = static_cast<uint16_t>(Byte(high[0]) << 8 | Byte(high[1]));
      r.length = 2;
    }
  }
  r.firstCID = cid;
  if (!cidRange) r.lastCID = cid;
  else if (r.length != 0) r.lastCID = static_cast<uint16_t>(cid + (r.high - r.low));
  return r;
}

// A bf source or destination: the first two bytes of the hexadecimal string,
// big-endian; a single byte counts as followed by a zero byte.
bool TwoByteValue(std::string_view tok, uint16_t& value) {
  std::string bytes;
  if (!DecodeHexString(tok, bytes)) return false;
  value = 0;
  if (!bytes.empty()) value = static_cast<uint16_t>(Byte(bytes[0]) << 8);
  if (bytes.size() >= 2) value = static_cast<uint16_t>(value | Byte(bytes[1]));
  return true;
}

// A name that may be looked up as a file: no path separators, not empty, not a
// directory reference. Other names only reach the built-in tables.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

void CMapFile::Clear() {
  name_.clear();
  registry_.clear();
  ordering_.clear();
  supplement_ = version_ = mode_ = writingMode_ = 0;
  usedName_.clear();
  used_.reset();
  codespace_.clear();
  notdef_.clear();
  cid_.clear();
  bfChars_.clear();
  bfRanges_.clear();
  oneByteCache_.clear();
  twoByteCache_.clear();
  cidCache_.clear();
  codeCache_.clear();
  unicodeCache_.clear();
  indexes_.reset();
}

bool CMapFile::LoadFile(const std::string& path, bool skipHeader) {
  std::vector<std::string> chain;
  return LoadFileChain(path, skipHeader, chain);
}

bool CMapFile::LoadData(const char* data, size_t size, bool skipHeader) {
  std::vector<std::string> chain;
  Clear();
  if (!data && size != 0) return false;
  bool ok = Parse(data, size, skipHeader, chain);
  if (!ok) Clear();
  return ok;
}

bool CMapFile::LoadByName(const std::string& name) {
  std::vector<std::string> chain;
  return LoadByNameChain(name, chain);
}

bool CMapFile::LoadBuiltin(const std::string& name) {
  std::vector<std::string> chain;
  chain.push_back(name);
  return LoadBuiltinChain(name, chain);
}

bool CMapFile::LoadFileChain(const std::string& path, bool skipHeader, std::vector<std::string>& chain) {
  Clear();
  std::string data;
  if (!ReadWholeFile(path, data)) return false;
  bool ok = Parse(data.data(), data.size(), skipHeader, chain);
  if (!ok) Clear();
  return ok;
}

bool CMapFile::LoadByNameChain(const std::string& name, std::vector<std::string>& chain) {
  Clear();
  chain.push_back(name);
  bool ok = false;
  if (IsPlainFileName(name)) {
    std::string dir = platform::ProcessCMapDirectory();
    if (!dir.empty() && dir.back() != platform::kPathSeparator) dir += platform::kPathSeparator;
    std::string path = dir + name;
    if (platform::FileExists(path.c_str())) ok = LoadFileChain(path, false, chain);
  }
  if (!ok) ok = LoadBuiltinChain(name, chain);
  chain.pop_back();
  return ok;
}

bool CMapFile::LoadBuiltinChain(const std::string& name, std::vector<std::string>& chain) {
  Clear();
  const resource_data::BuiltinCMap* found = nullptr;
  for (size_t i = 0; i < resource_data::kBuiltinCMapCount; ++i) {
    if (name == resource_data::kBuiltinCMaps[i].name) found = &resource_data::kBuiltinCMaps[i];
  }
  if (!found) return false;
  name_ = found->name;
  registry_ = "Adobe";
  ordering_ = found->ordering;
  supplement_ = found->supplement;
  writingMode_ = found->writingMode;
  auto fill = [](std::vector<CMapRange>& list, const resource_data::CMapRangeData* data, size_t count,
                 bool cidRange) {
    list.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      const auto& d = data[i];
      uint16_t last = cidRange ? static_cast<uint16_t>(d.cid + (d.high - d.low)) : d.cid;
      list.push_back(CMapRange{d.low, d.high, d.cid, last, d.length});
    }
  };
  fill(codespace_, found->codespace, found->codespaceCount, false);
  fill(notdef_, found->notdef, found->notdefCount, false);
  fill(cid_, found->cid, found->cidCount, true);
  if (found->usedCMap) {
    usedName_ = found->usedCMap;
    if (!LoadUsed(chain)) {
      Clear();
      return false;
    }
  }
  return true;
}

bool CMapFile::LoadUsed(std::vector<std::string>& chain) {
  if (usedName_ == name_) return false;
  if (std::find(chain.begin(), chain.end(), usedName_) != chain.end()) return false;
  if (chain.size() > static_cast<size_t>(kMaxUseDepth)) return false;
  bool pushed = !name_.empty();
  if (pushed) chain.push_back(name_);
  auto used = std::make_unique<CMapFile>();
  bool ok = used->LoadByNameChain(usedName_, chain);
  if (pushed) chain.pop_back();
  if (!ok) return false;
  used_ = std::move(used);
  return true;
}

bool CMapFile::Parse(const char* data, size_t size, bool skipHeader, std::vector<std::string>& chain) {
  LineReader reader(data, size);
  std::string pendingRegistry, pendingOrdering;
  int32_t pendingSupplement = -1;
  State state = State::kOutside;
  bool first = true;
  std::string_view line;
  while (reader.Next(line)) {
    if (first) {
      first = false;
      if (!skipHeader) {
        if (line != kHeader) return false;
        continue;
      }
    }
    if (line == "%%EOF") break;
    if (line.substr(0, 8) == "%%Title:") {
      std::string_view rest = line.substr(8);
      while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
      if (rest.size() >= 2 && rest.front() == '(' && rest.back() == ')') {
        auto parts = SplitTokens(rest.substr(1, rest.size() - 2), kSeparators);
        if (parts.size() >= 4) {
          name_ = parts[0];
          registry_ = parts[1];
          ordering_ = parts[2];
          supplement_ = ToInt16(LeadingInteger(parts[3]));
        }
      }
      continue;
    }
    if (line.front() == '%') continue;

    auto tokens = SplitTokens(line, kSeparators);
    std::vector<std::string_view> entry;
    size_t i = 0;
    while (i < tokens.size()) {
      std::string_view tok = tokens[i];
      bool hasNext = i + 1 < tokens.size();
      if (state == State::kOutside) {
        auto defined = [&](size_t at) { return at + 2 < tokens.size() && tokens[at + 2] == "def"; };
        if (tok.substr(0, 9) == "/Registry") {
          if (hasNext) pendingRegistry = DecodeLiteralString(tokens[++i]);
        } else if (tok.substr(0, 9) == "/Ordering") {
          if (hasNext) pendingOrdering = DecodeLiteralString(tokens[++i]);
        } else if (tok.substr(0, 11) == "/Supplement") {
          if (hasNext) pendingSupplement = LeadingInteger(tokens[++i]);
        } else if (tok.substr(0, 9) == "/CMapName") {
          if (defined(i)) name_ = DecodeName(tokens[++i]);
        } else if (tok.substr(0, 12) == "/CMapVersion") {
          if (defined(i)) version_ = ToInt16(LeadingInteger(tokens[++i]));
        } else if (tok.substr(0, 9) == "/CMapMode") {
          if (defined(i)) mode_ = ToInt16(LeadingInteger(tokens[++i]));
        } else if (tok.substr(0, 6) == "/WMode") {
          if (defined(i)) writingMode_ = ToInt16(LeadingInteger(tokens[++i]));
        } else if (hasNext && tokens[i + 1] == "usecmap") {
          usedName_ = DecodeName(tok);
          ++i;
        } else if (State next; hasNext && BeginState(tokens[i + 1], next)) {
          size_t room = static_cast<size_t>(std::clamp(LeadingInteger(tok), 0, kMaxReserve));
          if (next == State::kCodespace) codespace_.reserve(codespace_.size() + room);
          if (next == State::kNotdef) notdef_.reserve(notdef_.size() + room);
          if (next == State::kCIDRange) cid_.reserve(cid_.size() + room);
          if (next == State::kBFChar) bfChars_.reserve(bfChars_.size() + room);
          if (next == State::kBFRange) bfRanges_.reserve(bfRanges_.size() + room);
          state = next;
          ++i;
        }
        ++i;
        continue;
      }

      ++i;
      if (IsEndKeyword(tok)) {
        state = State::kOutside;
        entry.clear();
        continue;
      }
      entry.push_back(tok);
      if (state == State::kBFRange && entry.size() == 3 && tok.front() == '[') {
        // An array of destinations: not supported; the entry is dropped.
        while (tok.back() != ']' && i < tokens.size()) tok = tokens[i++];
        entry.clear();
        continue;
      }
      if (entry.size() < EntryWidth(state)) continue;
      switch (state) {
        case State::kCodespace:
          codespace_.push_back(MakeRange(entry[0], entry[1], 0, false));
          break;
        case State::kNotdef:
          notdef_.push_back(MakeRange(entry[0], entry[1], ToUInt16(LeadingInteger(entry[2])), false));
          break;
        case State::kCIDRange:
          cid_.push_back(MakeRange(entry[0], entry[1], ToUInt16(LeadingInteger(entry[2])), true));
          break;
        case State::kBFChar: {
          uint16_t source, dest;
          if (TwoByteValue(entry[0], source) && TwoByteValue(entry[1], dest))
            bfChars_.push_back(CMapBFRange{source, source, dest, dest});
          break;
        }
        case State::kBFRange: {
          uint16_t low, high, dest;
          if (TwoByteValue(entry[0], low) && TwoByteValue(entry[1], high) && TwoByteValue(entry[2], dest))
            bfRanges_.push_back(CMapBFRange{low, high, dest, static_cast<uint16_t>(dest + (high - low))});
          break;
        }
        case State::kOutside:
          break;
      }
      entry.clear();
    }
  }
  if (first && !skipHeader) return false;  // no header line at all

  if (!pendingRegistry.empty() && !pendingOrdering.empty() && pendingSupplement >= 0) {
    registry_ = pendingRegistry;
    ordering_ = pendingOrdering;
    supplement_ = ToInt16(pendingSupplement);
  }
  if (!usedName_.empty()) return LoadUsed(chain);
  return true;
}

void CMapFile::BuildIndexes() const {
  auto idx = std::make_unique<Indexes>();
  auto low = [](const CMapRange& r) { return r.low; };
  auto high = [](const CMapRange& r) { return r.high; };
  auto oneByte = [](const CMapRange& r) { return r.length == 1; };
  auto twoByte = [](const CMapRange& r) { return r.length == 2; };
  idx->notdef1.Build(notdef_, low, high, oneByte);
  idx->notdef2.Build(notdef_, low, high, twoByte);
  idx->cid1.Build(cid_, low, high, oneByte);
  idx->cid2.Build(cid_, low, high, twoByte);
  idx->cidByCID.Build(
      cid_, [](const CMapRange& r) { return r.firstCID; }, [](const CMapRange& r) { return r.lastCID; },
      [](const CMapRange& r) { return r.length != 0 && r.firstCID <= r.lastCID; });
  auto bfLow = [](const CMapBFRange& r) { return r.low; };
  auto bfHigh = [](const CMapBFRange& r) { return r.high; };
  auto bfFirst = [](const CMapBFRange& r) { return r.firstDest; };
  auto bfLast = [](const CMapBFRange& r) { return r.lastDest; };
  auto codesInOrder = [](const CMapBFRange& r) { return r.low <= r.high; };
  auto destsInOrder = [](const CMapBFRange& r) { return r.firstDest <= r.lastDest; };
  idx->bfCharCode.Build(bfChars_, bfLow, bfHigh, codesInOrder);
  idx->bfRangeCode.Build(bfRanges_, bfLow, bfHigh, codesInOrder);
  idx->bfCharDest.Build(bfChars_, bfFirst, bfLast, destsInOrder);
  idx->bfRangeDest.Build(bfRanges_, bfFirst, bfLast, destsInOrder);
  indexes_ = std::move(idx);
}

const CMapRange* CMapFile::FindCodeRange(const unsigned char* codes, size_t remaining) const {
  if (!indexes_) BuildIndexes();
  uint16_t two = remaining >= 2 ? static_cast<uint16_t>(codes[0] << 8 | codes[1]) : 0;
  struct List {
    const std::vector<CMapRange>& ranges;
    const RangeIndex& one;
    const RangeIndex& two;
  };
  const List lists[] = {{notdef_, indexes_->notdef1, indexes_->notdef2}, {cid_, indexes_->cid1, indexes_->cid2}};
  for (const List& list : lists) {
    size_t at = list.one.Find(codes[0]);
    if (remaining >= 2) at = std::min(at, list.two.Find(two));
    if (at != RangeIndex::npos) return &list.ranges[at];
  }
  return used_ ? used_->FindCodeRange(codes, remaining) : nullptr;
}

const CMapRange* CMapFile::FindCIDRange(uint16_t cid) const {
  if (!indexes_) BuildIndexes();
  size_t at = indexes_->cidByCID.Find(cid);
  if (at != RangeIndex::npos) return &cid_[at];
  return used_ ? used_->FindCIDRange(cid) : nullptr;
}

const CMapBFRange* CMapFile::FindBF(uint16_t value, bool byDestination) const {
  if (!indexes_) BuildIndexes();
  size_t at = (byDestination ? indexes_->bfCharDest : indexes_->bfCharCode).Find(value);
  if (at != RangeIndex::npos) return &bfChars_[at];
  at = (byDestination ? indexes_->bfRangeDest : indexes_->bfRangeCode).Find(value);
  if (at != RangeIndex::npos) return &bfRanges_[at];
  return nullptr;
}

size_t CMapFile::CodeToCID(unsigned char* out, size_t outSize, const unsigned char* codes, size_t length) {
  size_t written = 0;
  size_t i = 0;
  while (i < length && written + 2 <= outSize) {
    const CMapRange* r = nullptr;
    uint16_t two = i + 1 < length ? static_cast<uint16_t>(codes[i] << 8 | codes[i + 1]) : 0;
    if (auto it = oneByteCache_.find(codes[i]); it != oneByteCache_.end()) {
      r = it->second;
    } else if (i + 1 < length) {
      if (auto it2 = twoByteCache_.find(two); it2 != twoByteCache_.end()) r = it2->second;
    }
    if (!r) {
      r = FindCodeRange(codes + i, length - i);
      if (!r) break;
      if (r->length == 1) oneByteCache_[codes[i]] = r;
      else twoByteCache_[two] = r;
    }
    uint16_t code = r->length == 1 ? codes[i] : two;
    uint16_t cid = r->firstCID == r->lastCID ? r->firstCID
                                             : static_cast<uint16_t>(r->firstCID + (code - r->low));
    out[written++] = static_cast<unsigned char>(cid >> 8);
    out[written++] = static_cast<unsigned char>(cid & 0xFF);
    i += r->length;
  }
  return written;
}

size_t CMapFile::CIDToCode(unsigned char* out, size_t outSize, const unsigned char* cids, size_t length) {
  size_t written = 0;
  for (size_t i = 0; i + 1 < length; i += 2) {
    uint16_t cid = static_cast<uint16_t>(cids[i] << 8 | cids[i + 1]);
    const CMapRange* r = nullptr;
    if (auto it = cidCache_.find(cid); it != cidCache_.end()) {
      r = it->second;
    } else {
      r = FindCIDRange(cid);
      if (!r) continue;
      cidCache_[cid] = r;
    }
    uint16_t code = static_cast<uint16_t>(cid + r->low - r->firstCID);
    if (written + r->length > outSize) break;
    if (r->length == 2) out[written++] = static_cast<unsigned char>(code >> 8);
    out[written++] = static_cast<unsigned char>(code & 0xFF);
  }
  return written;
}

size_t CMapFile::CodeToUnicode(unsigned char* out, size_t outSize, const unsigned char* codes,
                               size_t length) {
  size_t written = 0;
  for (size_t i = 0; i + 1 < length && written + 2 <= outSize; i += 2) {
    uint16_t code = static_cast<uint16_t>(codes[i] << 8 | codes[i + 1]);
    const CMapBFRange* r = nullptr;
    if (auto it = codeCache_.find(code); it != codeCache_.end()) {
      r = it->second;
    } else {
      r = FindBF(code, false);
      if (!r) break;
      codeCache_[code] = r;
    }
    uint16_t value = static_cast<uint16_t>(code + r->firstDest - r->low);
    out[written++] = static_cast<unsigned char>(value >> 8);
    out[written++] = static_cast<unsigned char>(value & 0xFF);
  }
  return written;
}

size_t CMapFile::UnicodeToCode(unsigned char* out, size_t outSize, const unsigned char* text,
                               size_t length) {
  size_t written = 0;
  for (size_t i = 0; i + 1 < length && written + 2 <= outSize; i += 2) {
    uint16_t value = static_cast<uint16_t>(text[i] << 8 | text[i + 1]);
    const CMapBFRange* r = nullptr;
    if (auto it = unicodeCache_.find(value); it != unicodeCache_.end()) {
      r = it->second;
    } else {
      r = FindBF(value, true);
      if (!r) continue;
      unicodeCache_[value] = r;
    }
    uint16_t code = static_cast<uint16_t>(value + r->low - r->firstDest);
    out[written++] = static_cast<unsigned char>(code >> 8);
    out[written++] = static_cast<unsigned char>(code & 0xFF);
  }
  return written;
}

}  // namespace koyo
