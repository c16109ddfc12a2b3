#include "front/CPDFLib.h"

#include <cstring>
#include <new>

#include "koyo/platform/ProcessDirs.h"

namespace koyo {

namespace {

// The directory with one trailing separator, or empty for a null or empty one.
std::string DirectoryValue(const char* dir) {
  if (dir == nullptr || dir[0] == '\0') return std::string();
  std::string value(dir);
  if (value.back() != '/') value.push_back('/');
  return value;
}

}  // namespace

CPDFLib* CPDFLib::Create(const char* tempDir, const char* cmapDir, const char* metricsDir, const char* afmDir,
                         const char* version) {
  if (version != nullptr && std::strcmp(version, kVersion) != 0) return nullptr;
  CPDFLib* lib = new (std::nothrow) CPDFLib;
  if (lib == nullptr) return nullptr;
  if (!lib->Initialize(tempDir, cmapDir, metricsDir, afmDir)) {
    delete lib;
    return nullptr;
  }
  return lib;
}

CPDFLib::~CPDFLib() = default;

bool CPDFLib::Initialize(const char* tempDir, const char* cmapDir, const char* metricsDir, const char* afmDir) {
  std::string temp = DirectoryValue(tempDir);
  if (temp.size() + std::strlen(platform::kTempPrefix) + kTempUniqueLength + 1 > kTempPathBufferSize) {
    return false;
  }
  tempDir_ = std::move(temp);
  platform::SetProcessTempDirectory(tempDir_);
  cmapDir_ = DirectoryValue(cmapDir);
  platform::SetProcessCMapDirectory(cmapDir_);
  metricsDir_ = DirectoryValue(metricsDir);
  afmDir_ = DirectoryValue(afmDir);
  resources_.SetMetricsDirectory(metricsDir_);
  platform::SetProcessAFMDirectory(afmDir_);
  return true;
}

TrueTypeInfo* CPDFLib::GetTrueTypeInfo(const char* name) {
  platform::ScopedLock hold(&lock_);
  return systemFonts_.GetTrueTypeInfo(name);
}

CMapFile* CPDFLib::GetCMap(const char* name) {
  if (name == nullptr) return nullptr;
  platform::ScopedLock hold(&lock_);
  return resources_.GetCMap(name);
}

EncodingTable* CPDFLib::GetEncodingTable(const char* name) {
  if (name == nullptr) return nullptr;
  platform::ScopedLock hold(&lock_);
  return resources_.GetEncodingTable(name);
}

AFMFile* CPDFLib::GetAFM(const char* name) {
  if (name == nullptr) return nullptr;
  platform::ScopedLock hold(&lock_);
  return resources_.GetAFM(name);
}

}  // namespace koyo
