// The font catalogue's first lookup: listing the installed faces from
// fontconfig's cache, then reading the one face asked for.
#include <benchmark/benchmark.h>

#include "koyo/sysfont/SystemFontCatalog.h"

namespace {

void BM_FontCatalogFirstLookup(benchmark::State& state) {
  size_t faces = 0;
  size_t read = 0;
  for (auto _ : state) {
    koyo::SystemFontCatalog catalog;
    benchmark::DoNotOptimize(catalog.GetTrueTypeInfo("IPAMincho"));
    faces = catalog.FaceCount();
    read = catalog.FacesRead();
  }
  state.counters["faces"] = static_cast<double>(faces);
  state.counters["files_read"] = static_cast<double>(read);
}
BENCHMARK(BM_FontCatalogFirstLookup)->Unit(benchmark::kMillisecond);

// A name no installed face carries: every listed face is looked at, none read.
void BM_FontCatalogMissingName(benchmark::State& state) {
  for (auto _ : state) {
    koyo::SystemFontCatalog catalog;
    benchmark::DoNotOptimize(catalog.GetTrueTypeInfo("NoSuchFont-W9"));
  }
}
BENCHMARK(BM_FontCatalogMissingName)->Unit(benchmark::kMillisecond);

}  // namespace
