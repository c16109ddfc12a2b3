// Fuzz target: CMap text on arbitrary bytes, read both as an embedded
// encoding CMap (header line required) and as a ToUnicode CMap (no header),
// then every conversion on code strings taken from the ranges the CMap
// declares and on a few fixed ones, into output buffers of exact sizes (so
// that a write past the room the caller gave is caught).
//
// A usecmap names another CMap; the CMap directory is set to an empty
// directory of this process, so only the built-in CMaps can be reached and
// the result does not depend on the files around the fuzzer.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "koyo/platform/ProcessDirs.h"
#include "koyo/resource/CMapFile.h"

namespace koyo::fuzz {
namespace {

std::string g_emptyDir;

void RemoveEmptyDir() {
  if (!g_emptyDir.empty()) rmdir(g_emptyDir.c_str());
}

void UseEmptyCMapDirectory() {
  if (!g_emptyDir.empty()) return;
  char pattern[] = "/tmp/kanafix-fuzz-cmap-XXXXXX";
  Check(mkdtemp(pattern) != nullptr, "a temporary directory can be made");
  g_emptyDir = pattern;
  std::atexit(RemoveEmptyDir);
  platform::SetProcessCMapDirectory(g_emptyDir);
}

using Bytes = std::vector<unsigned char>;

void AddCode(std::vector<Bytes>& codes, uint32_t value, uint16_t length) {
  value &= 0xFFFF;
  if (length == 1) codes.push_back(Bytes{static_cast<unsigned char>(value & 0xFF)});
  else codes.push_back(Bytes{static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value & 0xFF)});
}

// Codes at both ends of the first few ranges and just outside them.
template <class Range, class Low, class High, class Length>
void AddEnds(std::vector<Bytes>& codes, const std::vector<Range>& ranges, Low low, High high, Length length) {
  size_t n = 0;
  for (const Range& r : ranges) {
    if (++n > 6) break;
    uint16_t len = length(r) == 1 ? 1 : 2;
    AddCode(codes, low(r), len);
    AddCode(codes, high(r), len);
    AddCode(codes, low(r) - 1u, len);
    AddCode(codes, high(r) + 1u, len);
  }
}

// Runs one conversion into a buffer of exactly outSize bytes.
template <class F>
void RunConversion(F convert, const Bytes& input, size_t outSize, const char* what) {
  std::vector<unsigned char> out(outSize);
  size_t written = convert(outSize ? out.data() : nullptr, outSize, input.empty() ? nullptr : input.data(),
                           input.size());
  Check(written <= outSize, what);
}

void Exercise(CMapFile& cmap) {
  std::vector<Bytes> codes = {
      Bytes{}, Bytes{0x00}, Bytes{0x20}, Bytes{0x81, 0x40}, Bytes{0xFF, 0xFF, 0x00},
      Bytes{0x00, 0x20, 0x81, 0x40, 0x82, 0xA0, 0xFF},
  };
  auto low = [](const auto& r) { return static_cast<uint32_t>(r.low); };
  auto high = [](const auto& r) { return static_cast<uint32_t>(r.high); };
  auto first = [](const auto& r) { return static_cast<uint32_t>(r.firstCID); };
  auto last = [](const auto& r) { return static_cast<uint32_t>(r.lastCID); };
  auto rangeLength = [](const CMapRange& r) { return r.length; };
  auto two = [](const CMapBFRange&) { return uint16_t{2}; };
  auto firstDest = [](const CMapBFRange& r) { return static_cast<uint32_t>(r.firstDest); };
  auto lastDest = [](const CMapBFRange& r) { return static_cast<uint32_t>(r.lastDest); };
  AddEnds(codes, cmap.CodespaceRanges(), low, high, rangeLength);
  AddEnds(codes, cmap.NotdefRanges(), low, high, rangeLength);
  AddEnds(codes, cmap.CIDRanges(), low, high, rangeLength);
  AddEnds(codes, cmap.CIDRanges(), first, last, [](const CMapRange&) { return uint16_t{2}; });
  AddEnds(codes, cmap.BFChars(), low, high, two);
  AddEnds(codes, cmap.BFRanges(), low, high, two);
  AddEnds(codes, cmap.BFRanges(), firstDest, lastDest, two);
  // All codes at once as well: mixed lengths in one string.
  Bytes all;
  for (const Bytes& c : codes) all.insert(all.end(), c.begin(), c.end());
  codes.push_back(all);

  for (const Bytes& input : codes) {
    for (size_t outSize : {size_t{0}, size_t{1}, size_t{3}, 2 * input.size() + 2}) {
      RunConversion([&](auto... a) { return cmap.CodeToCID(a...); }, input, outSize, "CodeToCID stays in its room");
      RunConversion([&](auto... a) { return cmap.CIDToCode(a...); }, input, outSize, "CIDToCode stays in its room");
      RunConversion([&](auto... a) { return cmap.CodeToUnicode(a...); }, input, outSize,
              "CodeToUnicode stays in its room");
      RunConversion([&](auto... a) { return cmap.UnicodeToCode(a...); }, input, outSize,
              "UnicodeToCode stays in its room");
    }
  }
}

void LoadAndExercise(const char* data, size_t size, bool skipHeader) {
  CMapFile cmap;
  if (!cmap.LoadData(data, size, skipHeader)) {
    Check(cmap.CodespaceRanges().empty() && cmap.CIDRanges().empty() && cmap.BFChars().empty() &&
              cmap.BFRanges().empty() && cmap.UsedCMap() == nullptr,
          "a CMap that fails to load holds nothing");
    return;
  }
  // Walk the chain of used CMaps: it is bounded.
  int depth = 0;
  for (const CMapFile* used = cmap.UsedCMap(); used; used = used->UsedCMap()) {
    Check(++depth <= CMapFile::kMaxUseDepth + 1, "the usecmap chain is bounded");
  }
  Exercise(cmap);
}

}  // namespace
}  // namespace koyo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace koyo::fuzz;
  UseEmptyCMapDirectory();
  // A private copy without spare room behind it, so that reading past the end
  // of the input is caught.
  std::vector<char> copy(data, data + size);
  LoadAndExercise(copy.data(), copy.size(), false);
  LoadAndExercise(copy.data(), copy.size(), true);
  return 0;
}
