// The catalogue of installed TrueType fonts: name -> metrics record, filled from
// the system on the first lookup and completed with two built-in substitutes.
#pragma once
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "koyo/sysfont/FontEnumeration.h"
#include "koyo/sysfont/TrueTypeInfo.h"

namespace koyo {

// Keys are normalised names (see NormalizeFontName) in Shift-JIS bytes: each face is
// known by its English full name, its Japanese full name and its PostScript name;
// the first face (in enumeration order) that is kept claims a key, later faces
// with the same name do not replace it.
//
// The first lookup lists the faces from fontconfig's metadata only. A face's own
// file is read when one of its names is first looked up, and its widths when a
// width is first asked for. Records stay valid, and owned by the catalogue, until
// the catalogue is destroyed.
//
// Not synchronised: the owner serialises calls (the library instance holds its
// lock around each lookup).
class SystemFontCatalog {
public:
  SystemFontCatalog() = default;
  SystemFontCatalog(const SystemFontCatalog&) = delete;
  SystemFontCatalog& operator=(const SystemFontCatalog&) = delete;

  // The record of `name` (normalised before the search), or null. When no
  // installed face has that name and it is exactly "HeiseiMin-W3" or
  // "HeiseiKakuGo-W5", the built-in substitute record, created on first use.
  TrueTypeInfo* GetTrueTypeInfo(const char* name);

  // Faces listed by the enumeration, and how many of their files were read.
  size_t FaceCount() const { return faces_.size(); }
  size_t FacesRead() const { return facesRead_; }

private:
  struct Face {
    FontFaceEntry entry;
    bool read = false;
    std::unique_ptr<TrueTypeInfo> record;  // null when not read yet or not kept
  };

  void Enumerate();
  void AddCandidate(const std::string& name, size_t face);
  TrueTypeInfo* Resolve(Face& face);
  TrueTypeInfo* Substitute(const char* name);

  std::vector<Face> faces_;
  // Normalised name -> the faces that carry it, in enumeration order.
  std::map<std::string, std::vector<size_t>> candidates_;
  // Names already answered -> their record (owned by faces_ or substitutes_).
  std::map<std::string, TrueTypeInfo*> table_;
  std::map<std::string, std::unique_ptr<TrueTypeInfo>> substitutes_;
  size_t facesRead_ = 0;
};

}  // namespace koyo
