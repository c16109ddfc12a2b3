// Opening documents: cross-reference reading through CPDFDoc::Open on files
// made here, and open plus a walk of every page of the benchmark file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "koyo/document/CPDFDoc.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFResDict.h"

namespace {

// A file of n small objects, one page, and a table of n + 1 entries. Written
// once per size into the temporary directory.
std::string MakeXRefFile(int n) {
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir && *dir ? dir : "/tmp") + "/kanafix-xref-bench-" + std::to_string(n) + "-" +
                     std::to_string(::getpid()) + ".pdf";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return std::string();
  std::string body = "%PDF-1.3\n";
  std::vector<long> offsets(static_cast<size_t>(n) + 1, 0);
  auto add = [&](int number, const std::string& text) {
    offsets[static_cast<size_t>(number)] = static_cast<long>(body.size());
    body += std::to_string(number) + " 0 obj\n" + text + "\nendobj\n";
  };
  add(1, "<< /Type /Catalog /Pages 2 0 R >>");
  add(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  add(3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>");
  for (int i = 4; i <= n; ++i) add(i, "<< /N " + std::to_string(i) + " >>");
  long xref = static_cast<long>(body.size());
  body += "xref\n0 " + std::to_string(n + 1) + "\n0000000000 65535 f \n";
  char entry[32];
  for (int i = 1; i <= n; ++i) {
    std::snprintf(entry, sizeof entry, "%010ld 00000 n \n", offsets[static_cast<size_t>(i)]);
    body += entry;
  }
  body += "trailer\n<< /Size " + std::to_string(n + 1) + " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) +
          "\n%%EOF\n";
  bool ok = std::fwrite(body.data(), 1, body.size(), f) == body.size();
  ok = std::fclose(f) == 0 && ok;
  return ok ? path : std::string();
}

void BM_OpenXRef(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string path = MakeXRefFile(n);
  if (path.empty()) {
    state.SkipWithError("cannot write the test file");
    return;
  }
  for (auto _ : state) {
    koyo::CPDFDoc doc;
    if (!doc.Open(nullptr, path.c_str(), nullptr)) {
      state.SkipWithError(doc.GetError().Factor.c_str());
      break;
    }
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}
BENCHMARK(BM_OpenXRef)->Arg(1000)->Arg(30000)->Arg(300000)->Unit(benchmark::kMillisecond);

// KANAFIX_BENCH_FILE names the file; the default is the one bench/run.sh makes.
std::string WalkFile() {
  const char* path = std::getenv("KANAFIX_BENCH_FILE");
  return path && *path ? path : "/tmp/kanafix-bench/small.pdf";
}

void BM_OpenAndWalk(benchmark::State& state) {
  const std::string path = WalkFile();
  if (::access(path.c_str(), R_OK) != 0) {
    state.SkipWithError("no benchmark file: make it with bench/make_big_pdf.py --preset small");
    return;
  }
  int64_t pages = 0;
  for (auto _ : state) {
    koyo::CPDFDoc doc;
    if (!doc.Open(nullptr, path.c_str(), nullptr)) {
      state.SkipWithError(doc.GetError().Factor.c_str());
      break;
    }
    int32_t count = doc.GetPageCount();
    for (int32_t i = 0; i < count; ++i) {
      koyo::CPDFPage* page = doc.GetPage(i);
      if (!page) {
        state.SkipWithError("a page did not load");
        return;
      }
      koyo::CPDFResDict* resources = page->Get_Resources();
      koyo::CPDFDict* fonts = resources ? resources->Get_Font() : nullptr;
      if (!fonts) continue;
      for (auto it = fonts->begin(); it != fonts->end(); ++it) {
        benchmark::DoNotOptimize(fonts->GetValue(&doc, it->key.c_str()));
      }
    }
    pages = count;
  }
  state.counters["pages"] = static_cast<double>(pages);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * pages);
}
BENCHMARK(BM_OpenAndWalk)->Unit(benchmark::kMillisecond);

}  // namespace
