// What a document needs from the library instance that opened it: the
// temporary directory, the realize options of the typed wrappers and the
// makers of typed resources. The library instance of the front end implements
// it; a document opened without one uses the defaults.
#pragma once
#include <cstdint>
#include <string>

namespace koyo {

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
};

}  // namespace koyo
