#include "koyo/resource/ResourceCache.h"

#include <vector>

#include "koyo/platform/DirectoryList.h"
#include "koyo/platform/Files.h"

namespace koyo {

CMapFile* ResourceCache::GetCMap(const std::string& name) {
  if (auto it = cmaps_.find(name); it != cmaps_.end()) return it->second.get();
  auto cmap = std::make_unique<CMapFile>();
  if (!cmap->LoadByName(name)) return nullptr;
  return cmaps_.emplace(name, std::move(cmap)).first->second.get();
}

EncodingTable* ResourceCache::GetEncodingTable(const std::string& name) {
  if (auto it = encodings_.find(name); it != encodings_.end()) return it->second.get();
  auto table = std::make_unique<EncodingTable>();
  if (!table->LoadByName(name)) return nullptr;
  return encodings_.emplace(name, std::move(table)).first->second.get();
}

AFMFile* ResourceCache::GetAFM(const std::string& name) {
  if (afms_.empty() && !metricsDir_.empty()) {
    std::vector<std::string> files;
    if (platform::ListFiles(metricsDir_, files)) {
      std::string dir = metricsDir_;
      if (dir.back() != platform::kPathSeparator) dir += platform::kPathSeparator;
      for (const std::string& file : files) {
        auto afm = std::make_unique<AFMFile>();
        if (!afm->LoadFile(dir + file)) return nullptr;
        std::string key = afm->fontName;
        if (!afms_.emplace(std::move(key), std::move(afm)).second) return nullptr;
      }
    }
  }
  if (auto it = afms_.find(name); it != afms_.end()) return it->second.get();
  auto afm = std::make_unique<AFMFile>();
  if (!afm->LoadByName(name)) return nullptr;
  return afms_.emplace(name, std::move(afm)).first->second.get();
}

}  // namespace koyo
