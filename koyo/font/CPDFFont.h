// Abstract base of every font dictionary: the common keys (Type, BaseFont,
// Encoding, ToUnicode), creation, and the operations every font offers:
// width creation, its font descriptor and string width.
#pragma once
#include <cstddef>
#include <cstdint>

#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFStream.h"
#include "koyo/structure/CPDFResource.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFFontDesc;

class CPDFFont : public CPDFResource, public CPDFDict {
public:
  // Kinds a font dictionary may be recognised as (the allowed-kinds mask of
  // Recognize), tried in this order.
  enum : int32_t {
    kType1 = 0x1,
    kTrueType = 0x2,
    kMMType1 = 0x4,
    kType3 = 0x8,
    kType0 = 0x10,
    kAnyKind = -1,
  };

  ~CPDFFont() override = default;

  KOYO_STATIC_NAME(Name_Font, "Font")

  // The check every font class but Type 3 starts with: Type Font and BaseFont a
  // name.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // True for the fourteen standard font names.
  static bool IsStandardFontName(const char* name);

  // The first kind allowed by mask whose check accepts value, as a new font
  // realized from value and owned by the caller; null when no allowed kind
  // accepts it or realizing fails.
  static CPDFFont* Recognize(ObjectTable* doc, CPDFObject* value, int32_t mask);

  // Records doc; Type Font; BaseFont a copy of baseFont.
  bool Create(ObjectTable* doc, const char* baseFont);

  KOYO_GET_SET(CPDFName, BaseFont)
  KOYO_GET_SET(CPDFObject, Encoding)
  // ToUnicode when it is a stream, else null.
  CPDFStream* Get_ToUnicode(CPDFObjRef* ref = nullptr) const;

  // Fills the width entries from the font's metrics source; true on success.
  virtual bool CreateWidths() { return false; }
  // The descriptor that carries the font's metrics, or null.
  virtual CPDFFontDesc* GetFontDesc() const { return nullptr; }
  // Width of a string of length bytes in thousandths of text space; -1 on
  // failure (recorded in the document's error record).
  virtual double CalcStringWidth(const unsigned char* bytes, size_t length) {
    (void)bytes;
    (void)length;
    return 0;
  }

protected:
  CPDFFont() : CPDFResource(kFont) {}
  // The name of BaseFont, or raises (module, method, 5, "<module>::Get_BaseFont()").
  const char* RequireBaseFont(const char* module, const char* method) const;
};

}  // namespace koyo
