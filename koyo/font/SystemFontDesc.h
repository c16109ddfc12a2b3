// The font descriptor both creators of replacement fonts write from an
// installed font's metrics record.
#pragma once
#include <cstdint>

#include "koyo/font/CPDFFontDesc.h"
#include "koyo/sysfont/TrueTypeInfo.h"

namespace koyo {

// A new descriptor attached to doc (not registered; owned by the caller):
// Ascent and Descent from the Mac ascent and descent, CapHeight 0, flags,
// FontBBox [left bottom right top] of the font box, FontName, the italic
// angle, StemV 0, and Style << /Panose (the ten PANOSE bytes and two zero
// bytes) >>. Raises an internal failure of module and method when a step fails.
CPDFFontDesc* MakeSystemFontDesc(ObjectTable* doc, const TrueTypeInfo& info, int32_t flags, const char* fontName,
                                 const char* module, const char* method);

}  // namespace koyo
