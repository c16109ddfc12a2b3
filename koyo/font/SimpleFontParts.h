// What the simple fonts (Type 1, multiple master, TrueType, Type 3) share:
// the check of their width entries and the realization of their entries.
#pragma once
#include "koyo/object/CPDFDict.h"

namespace koyo {

// FirstChar and LastChar numbers, Widths an array and FontDescriptor a
// dictionary.
bool HasSimpleFontMetrics(ObjectTable* doc, const CPDFDict& dict);
// FirstChar and LastChar become integers, an Encoding dictionary a
// CPDFEncoding and a FontDescriptor dictionary a CPDFFontDesc. Raises
// StructFailure on failure.
void RealizeSimpleFontEntries(ObjectTable* doc, CPDFDict& dict);

}  // namespace koyo
