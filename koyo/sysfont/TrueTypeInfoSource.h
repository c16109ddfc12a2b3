// What the font code needs from its owner to find installed fonts: the metrics
// record of a font name. The library instance implements it (serialised, over its
// SystemFontCatalog); tests may implement it over a catalogue of their own.
#pragma once

#include "koyo/sysfont/TrueTypeInfo.h"

namespace koyo {

class TrueTypeInfoSource {
public:
  // The record of `name`, or null; the record stays owned by the source.
  virtual TrueTypeInfo* GetTrueTypeInfo(const char* name) = 0;

protected:
  ~TrueTypeInfoSource() = default;
};

}  // namespace koyo
