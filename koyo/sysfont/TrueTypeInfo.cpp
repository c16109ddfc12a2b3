#include "koyo/sysfont/TrueTypeInfo.h"

#include "koyo/sysfont/FaceReader.h"

namespace koyo {

const ABC* TrueTypeInfo::GetCharABC(int code) {
  if (code < tmFirstChar || code > tmLastChar) return nullptr;
  if (!widthsRead_) {
    const size_t count = static_cast<size_t>(tmLastChar - tmFirstChar) + 1;
    std::vector<int32_t> advances;
    if (!fontFile_.empty()) {
      advances = ReadFaceAdvances(fontFile_, fontIndex_, lfCharSet, tmFirstChar, tmLastChar);
      if (advances.size() < count) return nullptr;
    }
    widths_.assign(count, ABC{});
    for (size_t i = 0; i < count && i < advances.size(); ++i) widths_[i].abcB = advances[i];
    widthsRead_ = true;
  }
  return &widths_[static_cast<size_t>(code - tmFirstChar)];
}

}  // namespace koyo
