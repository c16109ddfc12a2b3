// The makers that turn a resource dictionary's entries into typed resources,
// one per category. Higher layers supply them (the font layer the font
// factory) and the document hands them out through ObjectTable::Makers().
// Each gets the document, the read value and the mask of allowed candidate
// classes (-1: all), and returns a new realized resource owned by the caller,
// or null to leave the value as read. A null slot leaves the whole category
// as read.
#pragma once
#include <cstdint>

namespace koyo {

class CPDFObject;
class CPDFResource;
class ObjectTable;

using ResourceMaker = CPDFResource* (*)(ObjectTable* doc, CPDFObject* value, int32_t mask);

struct ResourceMakers {
  ResourceMaker ColorSpace = nullptr;  // gets arrays
  ResourceMaker XObject = nullptr;     // gets streams
  ResourceMaker ExtGState = nullptr;   // gets dictionaries
  ResourceMaker Font = nullptr;        // gets dictionaries
  ResourceMaker Pattern = nullptr;     // gets dictionaries and streams
  ResourceMaker Properties = nullptr;  // gets dictionaries
  ResourceMaker Shading = nullptr;     // gets dictionaries
};

}  // namespace koyo
