// A font descriptor: the metrics and flags of a font (ascent, descent, bounding
// box, italic angle, stem widths, ...), its name, and the embedded font
// program when there is one.
#pragma once
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/font/CPDFFontFile.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/CPDFRect.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFFontDesc : public CPDFDataStruct, public CPDFDict {
public:
  // Flags bits.
  enum : int32_t {
    kFixedPitch = 1,
    kSerif = 2,
    kSymbolic = 4,
    kScript = 8,
    kNonsymbolic = 32,
  };

  CPDFFontDesc() = default;
  ~CPDFFontDesc() override = default;

  KOYO_STATIC_NAME(Name_FontDescriptor, "FontDescriptor")

  // Type FontDescriptor; Ascent, CapHeight, Descent, Flags, ItalicAngle and
  // StemV numbers; FontBBox an array; FontName a name.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Records doc; Type FontDescriptor; the numbers as direct integers, fontBBox
  // (taken over; destroyed on failure) as a direct rectangle, fontName as a
  // direct name.
  bool Create(ObjectTable* doc, int32_t ascent, int32_t capHeight, int32_t descent, int32_t flags,
              CPDFRect* fontBBox, const char* fontName, int32_t italicAngle, int32_t stemV);
  // Numbers become integers, FontBBox a rectangle, the font files font file
  // streams. An indirect number, box or name is replaced by a direct copy of
  // the object it refers to.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFNumber, Ascent)
  KOYO_GET_SET(CPDFNumber, CapHeight)
  KOYO_GET_SET(CPDFNumber, Descent)
  KOYO_GET_SET(CPDFNumber, Flags)
  KOYO_GET_SET(CPDFRect, FontBBox)
  KOYO_SET(CPDFName, FontName)
  KOYO_GET_SET(CPDFNumber, ItalicAngle)
  KOYO_GET_SET(CPDFNumber, StemV)
  KOYO_GET_SET(CPDFNumber, AvgWidth)
  KOYO_GET_SET(CPDFFontFile, FontFile)
  KOYO_GET_SET(CPDFFontFile, FontFile2)
  KOYO_GET_SET(CPDFFontFile, FontFile3)
  KOYO_GET_SET(CPDFNumber, Leading)
  KOYO_GET_SET(CPDFNumber, MaxWidth)
  KOYO_GET_SET(CPDFNumber, MissingWidth)
  KOYO_GET_SET(CPDFNumber, StemH)
  KOYO_GET_SET(CPDFNumber, XHeight)
  KOYO_GET(CPDFDict, FD)
  KOYO_SET(CPDFDict, Style)

  KOYO_STRUCT_COPY(CPDFFontDesc, CPDFDict)
};

}  // namespace koyo
