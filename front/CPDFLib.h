// The library instance: checks the caller's library version, holds the resource
// and temporary directories (and their process-wide copies), and owns the caches
// that documents share, each lookup serialised by one re-entrant lock.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "koyo/document/DocumentLibrary.h"
#include "koyo/font/FontServices.h"
#include "koyo/platform/Lock.h"
#include "koyo/resource/ResourceCache.h"
#include "koyo/sysfont/SystemFontCatalog.h"
#include "koyo/structure/ResourceMakers.h"

namespace koyo {

class CPDFDoc;
class CPDFException;

class CPDFLib : public FontServices, public DocumentLibrary {
public:
  // The library version callers must ask for.
  static constexpr const char* kVersion = "2.9.0";
  // Size of the process-wide temporary path buffer: the directory, the prefix
  // "lp", six characters that make the name unique, and the terminator must fit.
  static constexpr size_t kTempPathBufferSize = 260;
  static constexpr size_t kTempUniqueLength = 6;

  // A new instance, or null when `version` is given and is not exactly "2.9.0", or
  // when the temporary directory does not fit the temporary path buffer. Any
  // argument may be null; a null or empty directory stays unset. Each directory is
  // kept with one trailing "/"; the temporary, CMap and AFM directories are also
  // copied to their process-wide places.
  static CPDFLib* Create(const char* tempDir, const char* cmapDir, const char* metricsDir, const char* afmDir,
                         const char* version);
  virtual ~CPDFLib();

  CPDFLib(const CPDFLib&) = delete;
  CPDFLib& operator=(const CPDFLib&) = delete;

  // The installed font (or built-in substitute) of that name; null when none.
  // Fills the catalogue from the system on first use.
  TrueTypeInfo* GetTrueTypeInfo(const char* name) override;

  // The named CMap (CMap directory, then built-in), encoding table (one of the
  // five named encodings) or font metrics (metrics directory scan, AFM
  // directory, built-in metrics); null when there is none. Cached for the
  // instance's lifetime.
  CMapFile* GetCMap(const char* name) override;
  EncodingTable* GetEncodingTable(const char* name) override;
  AFMFile* GetAFM(const char* name) override;

  // Base name of the CMap of the host's multi-byte encoding ("-H" or "-V" follows).
  const char* GetHostCMapName() const { return hostCMapName_.c_str(); }
  int32_t GetRealizeOptions() const override { return realizeOptions_; }
  // How much of a page documents opened from now on realize as they read it
  // (bits of kRealizeMinimal and kRealizeNoResources; 0, the default, is all).
  void SetRealizeOptions(int32_t options) { realizeOptions_ = options; }
  const std::string& GetTempDir() const override { return tempDir_; }
  const std::string& GetCMapDir() const { return cmapDir_; }
  const std::string& GetMetricsDir() const { return metricsDir_; }
  const std::string& GetAFMDir() const { return afmDir_; }

  // The resource makers documents hand to the typed wrappers; none yet.
  // The resource makers documents hand to the typed wrappers: the font factory
  // turns the fonts of resource dictionaries into font wrappers.
  const ResourceMakers* GetResourceMakers() const override { return &makers_; }
  // The caches fonts measure with: this instance.
  FontServices* GetFontServices() override { return this; }

  // Opens the PDF or FDF file at path (password may be null). On failure the
  // result is null and, when error is given, it receives the document's
  // failure record. The caller gives the document back through CloseDoc.
  CPDFDoc* OpenDoc(const char* path, const char* password, CPDFException* error);
  // Closes and destroys a document opened here; null does nothing.
  void CloseDoc(CPDFDoc* doc);

  // The lock each cache lookup holds for its whole run.
  platform::Lock& GetLock() override { return lock_; }

private:
  CPDFLib() = default;
  bool Initialize(const char* tempDir, const char* cmapDir, const char* metricsDir, const char* afmDir);

  std::string hostCMapName_ = "90ms-RKSJ";
  int32_t realizeOptions_ = 0;
  platform::Lock lock_;
  std::string tempDir_;
  std::string cmapDir_;
  std::string metricsDir_;
  std::string afmDir_;

  // The caches, one object of its own layer each, declared after the lock so that
  // they are destroyed before it. The CMap, encoding, AFM and standard font
  // descriptor caches join here beside the font catalogue, each with a lookup
  // method above that holds the lock and delegates to it.
  SystemFontCatalog systemFonts_;
  ResourceCache resources_;
  ResourceMakers makers_;
};

}  // namespace koyo
