// The named CMaps, single-byte encodings and font metrics that one library
// instance has loaded, each built on first request and kept until the cache is
// destroyed. Not locked itself: the owner calls it under its own lock.
#pragma once
#include <map>
#include <memory>
#include <string>

#include "koyo/resource/AFMFile.h"
#include "koyo/resource/CMapFile.h"
#include "koyo/resource/EncodingTable.h"

namespace koyo {

class ResourceCache {
public:
  // metricsDir: a directory whose every file is read as AFM metrics when the
  // metrics cache is first used; empty for none.
  explicit ResourceCache(std::string metricsDir = std::string()) : metricsDir_(std::move(metricsDir)) {}

  void SetMetricsDirectory(const std::string& dir) { metricsDir_ = dir; }
  const std::string& MetricsDirectory() const { return metricsDir_; }

  // The CMap of that name (CMap directory, then built-in), or null.
  CMapFile* GetCMap(const std::string& name);
  // One of the five named encodings, or null.
  EncodingTable* GetEncodingTable(const std::string& name);
  // The metrics of a font: first scan of the metrics directory, then the cache,
  // then <AFM directory><name>.afm or the built-in metrics. Null when none, and
  // for the call whose directory scan hits a file that does not load.
  AFMFile* GetAFM(const std::string& name);

private:
  std::string metricsDir_;
  std::map<std::string, std::unique_ptr<CMapFile>> cmaps_;
  std::map<std::string, std::unique_ptr<EncodingTable>> encodings_;
  std::map<std::string, std::unique_ptr<AFMFile>> afms_;
};

}  // namespace koyo
