// What a document needs from the library instance that opened it: the
// temporary directory, the realize options of the typed wrappers, the makers
// of typed resources and the services fonts measure with. The library
// instance of the front end implements it; a document opened without one uses
// the defaults.
#pragma once
#include <cstdint>
#include <string>

namespace koyo {

class FontServices;
struct ResourceMakers;

class DocumentLibrary {
public:
  virtual ~DocumentLibrary() = default;

  // Directory for temporary files, with a trailing separator, or empty.
  virtual const std::string& GetTempDir() const = 0;
  // Bit set consulted when typed wrappers are realized.
  virtual int32_t GetRealizeOptions() const = 0;
  // Makers of typed resources (fonts and the like); null when there are none.
  virtual const ResourceMakers* GetResourceMakers() const = 0;
  // Installed fonts, CMaps, encodings and metrics for the document's fonts;
  // null when there are none.
  virtual FontServices* GetFontServices() { return nullptr; }
};

}  // namespace koyo
