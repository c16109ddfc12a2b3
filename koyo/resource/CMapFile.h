// A CMap in memory: maps the byte codes of composite-font text to CIDs, and
// (as a ToUnicode CMap) codes to Unicode. Loaded once from a CMap resource file,
// from the decoded data of a PDF stream or from the built-in tables; afterwards
// only its lookup caches change.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "koyo/resource/RangeIndex.h"

namespace koyo {

class CPDFStream;

// A codespace, notdef or cid range. length is the code length in bytes (1 or
// 2); 0 marks an unusable entry that never matches.
struct CMapRange {
  uint16_t low = 0;
  uint16_t high = 0;
  uint16_t firstCID = 0;
  uint16_t lastCID = 0;
  uint16_t length = 0;
};

// A bfchar or bfrange entry: two-byte source codes to two-byte destinations.
struct CMapBFRange {
  uint16_t low = 0;
  uint16_t high = 0;
  uint16_t firstDest = 0;
  uint16_t lastDest = 0;
};

class CMapFile {
public:
  // The resource header line that a CMap file must begin with.
  static constexpr std::string_view kHeader = "%!PS-Adobe-3.0 Resource-CMap";
  // How many CMaps a chain of usecmap may load below one CMap.
  static constexpr int kMaxUseDepth = 8;

  CMapFile() = default;
  CMapFile(const CMapFile&) = delete;
  CMapFile& operator=(const CMapFile&) = delete;

  // Parses a CMap file. False when it does not exist, cannot be read or does
  // not parse. skipHeader: the resource header line is not required.
  bool LoadFile(const std::string& path, bool skipHeader);
  // Parses CMap text held in memory, such as the decoded data of an embedded
  // CMap stream: a font's ToUnicode stream is read with skipHeader set, a Type 0
  // Encoding stream with it clear, so that one must carry the header line.
  bool LoadData(const char* data, size_t size, bool skipHeader);
  // Parses the data of a PDF stream (a font's ToUnicode stream with skipHeader
  // set, a Type 0 Encoding stream with it clear). Only unfiltered data can be
  // read: a stream with a Filter entry, or whose bytes cannot be loaded, gives
  // false.
  bool LoadStream(const CPDFStream& stream, bool skipHeader);
  // The file <CMap directory><name> (or <name> in the current directory when no
  // CMap directory is set), else the built-in CMap of that name.
  bool LoadByName(const std::string& name);
  // One of the ten built-in CMaps; false for any other name.
  bool LoadBuiltin(const std::string& name);

  // The conversions. Each writes at most outSize bytes and returns the number
  // written. CodeToCID writes two bytes per code and stops at the first code no
  // range covers; CIDToCode reads two bytes per CID, writes one or two per code
  // and skips unmapped CIDs. CodeToUnicode and UnicodeToCode read and write two
  // bytes per unit; the first stops at an unmapped code, the second skips
  // unmapped values. An odd trailing byte of two-byte input is ignored.
  size_t CodeToCID(unsigned char* out, size_t outSize, const unsigned char* codes, size_t length);
  size_t CIDToCode(unsigned char* out, size_t outSize, const unsigned char* cids, size_t length);
  size_t CodeToUnicode(unsigned char* out, size_t outSize, const unsigned char* codes, size_t length);
  size_t UnicodeToCode(unsigned char* out, size_t outSize, const unsigned char* text, size_t length);

  const std::string& Name() const { return name_; }
  const std::string& Registry() const { return registry_; }
  const std::string& Ordering() const { return ordering_; }
  int16_t Supplement() const { return supplement_; }
  int16_t Version() const { return version_; }
  int16_t Mode() const { return mode_; }
  int16_t WritingMode() const { return writingMode_; }
  bool IsVertical() const { return writingMode_ == 1; }
  const std::string& UsedCMapName() const { return usedName_; }
  const CMapFile* UsedCMap() const { return used_.get(); }
  const std::vector<CMapRange>& CodespaceRanges() const { return codespace_; }
  const std::vector<CMapRange>& NotdefRanges() const { return notdef_; }
  const std::vector<CMapRange>& CIDRanges() const { return cid_; }
  const std::vector<CMapBFRange>& BFChars() const { return bfChars_; }
  const std::vector<CMapBFRange>& BFRanges() const { return bfRanges_; }

private:
  void Clear();
  bool LoadByNameChain(const std::string& name, std::vector<std::string>& chain);
  bool LoadFileChain(const std::string& path, bool skipHeader, std::vector<std::string>& chain);
  bool LoadBuiltinChain(const std::string& name, std::vector<std::string>& chain);
  bool Parse(const char* data, size_t size, bool skipHeader, std::vector<std::string>& chain);
  bool LoadUsed(std::vector<std::string>& chain);

  const CMapRange* FindCodeRange(const unsigned char* codes, size_t remaining) const;
  const CMapRange* FindCIDRange(uint16_t cid) const;
  const CMapBFRange* FindBF(uint16_t value, bool byDestination) const;
  void BuildIndexes() const;

  std::string name_;
  std::string registry_;
  std::string ordering_;
  int16_t supplement_ = 0;
  int16_t version_ = 0;
  int16_t mode_ = 0;
  int16_t writingMode_ = 0;
  std::string usedName_;
  std::unique_ptr<CMapFile> used_;
  std::vector<CMapRange> codespace_;
  std::vector<CMapRange> notdef_;
  std::vector<CMapRange> cid_;
  std::vector<CMapBFRange> bfChars_;
  std::vector<CMapBFRange> bfRanges_;

  // Lookup caches, filled by the conversions. The ranges they point to belong
  // to this CMap or to its used CMaps, which do not change after loading.
  std::map<uint16_t, const CMapRange*> oneByteCache_;
  std::map<uint16_t, const CMapRange*> twoByteCache_;
  std::map<uint16_t, const CMapRange*> cidCache_;
  std::map<uint16_t, const CMapBFRange*> codeCache_;
  std::map<uint16_t, const CMapBFRange*> unicodeCache_;

  // Search indexes over the lists, built on the first search: they find the
  // same range a walk of the list in order would find.
  struct Indexes {
    RangeIndex notdef1, notdef2, cid1, cid2, cidByCID;
    RangeIndex bfCharCode, bfRangeCode, bfCharDest, bfRangeDest;
  };
  mutable std::unique_ptr<Indexes> indexes_;
};

}  // namespace koyo
