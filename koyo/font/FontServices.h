// What fonts need from the library instance that owns their document: the
// installed TrueType fonts, named CMaps, single-byte encodings and AFM metrics,
// and the lock that guards those caches. The library instance implements it;
// font code reaches it through its document (ObjectTable::Fonts()).
#pragma once
#include "koyo/platform/Lock.h"
#include "koyo/resource/AFMFile.h"
#include "koyo/resource/CMapFile.h"
#include "koyo/resource/EncodingTable.h"
#include "koyo/sysfont/TrueTypeInfoSource.h"

namespace koyo {

class FontServices : public TrueTypeInfoSource {
public:
  // Each lookup takes the lock for its whole run and returns a cached object
  // owned by the services, or null when there is none.
  virtual CMapFile* GetCMap(const char* name) = 0;
  virtual EncodingTable* GetEncodingTable(const char* name) = 0;
  virtual AFMFile* GetAFM(const char* name) = 0;
  // Held around work on a cached object that changes it (the lookup caches of
  // a CMap, for instance).
  virtual platform::Lock& GetLock() = 0;

protected:
  ~FontServices() = default;
};

}  // namespace koyo
