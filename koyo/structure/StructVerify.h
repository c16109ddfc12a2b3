// The checks the wrappers' Verify functions are written with. Every entry is
// read through GetValue, so references are resolved first.
#pragma once
#include <cstdint>

#include "koyo/object/CPDFDict.h"

namespace koyo {

// The common check that accepts every value.
bool VerifyAny(ObjectTable* doc, CPDFObject* value);
// The value as a dictionary (type bit 0x100, wrappers included), or null.
const CPDFDict* DictOf(CPDFObject* value);
// key resolves to a name equal to expected.
bool EntryIsName(ObjectTable* doc, const CPDFDict& dict, const char* key, const CPDFName& expected);
// key resolves to a value carrying a bit of mask.
bool EntryHasType(ObjectTable* doc, const CPDFDict& dict, const char* key, int32_t mask);
// key is absent, or resolves to a value carrying a bit of mask.
bool EntryTypeIfPresent(ObjectTable* doc, const CPDFDict& dict, const char* key, int32_t mask);

}  // namespace koyo
