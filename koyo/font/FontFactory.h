// The font factory: recognition of font dictionaries as font classes, and the
// maker a resource dictionary's Font category is realized with.
#pragma once
#include <cstdint>

#include "koyo/structure/ResourceMakers.h"

namespace koyo {

// The resource maker of the Font category: CPDFFont::Recognize seen as a
// resource.
CPDFResource* MakeFontResource(ObjectTable* doc, CPDFObject* value, int32_t mask);

// Puts the font maker into makers' Font slot.
inline void InstallFontMaker(ResourceMakers& makers) { makers.Font = &MakeFontResource; }

}  // namespace koyo
