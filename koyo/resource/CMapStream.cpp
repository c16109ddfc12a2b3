// CMapFile::LoadStream: a CMap embedded in a PDF stream.
#include "koyo/object/CPDFStream.h"
#include "koyo/resource/CMapFile.h"

namespace koyo {

bool CMapFile::LoadStream(const CPDFStream& stream, bool skipHeader) {
  // Filtered data would have to be decoded first; it is never parsed as is.
  if (stream.HasKey("Filter")) return false;
  const char* data = stream.GetData();
  if (!data) return false;
  int64_t size = stream.GetSize();
  if (size < 0) return false;
  return LoadData(data, static_cast<size_t>(size), skipHeader);
}

}  // namespace koyo
