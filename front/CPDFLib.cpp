#include "front/CPDFLib.h"

#include <cstring>
#include <memory>
#include <new>

#include "koyo/document/CPDFDoc.h"
#include "koyo/font/FontFactory.h"
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
  InstallFontMaker(makers_);
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

CPDFDoc* CPDFLib::OpenDoc(const char* path, const char* password, CPDFException* error) {
  auto doc = std::unique_ptr<CPDFDoc>(new (std::nothrow) CPDFDoc);
  if (!doc) {
    if (error) *error = CPDFException("CPDFLib", "OpenDoc", CPDFException::kRuntimeLibrary, "out of memory");
    return nullptr;
  }
  if (!doc->Open(this, path, password)) {
    if (error) *error = doc->GetError();
    return nullptr;
  }
  return doc.release();
}

void CPDFLib::CloseDoc(CPDFDoc* doc) {
  if (!doc) return;
  doc->Close();
  delete doc;
}

}  // namespace koyo
