// Timing harness: does what a repair does short of building fonts and saving.
// Copies the input to the output (as the tool does), opens the copy, walks every
// page, loads each page's fonts once and looks their base names up in the system
// font catalogue. Prints what it saw, so a run can be checked against the file.
//
//   kanafix_open_walk [--no-copy] [--no-fonts] input [output]
//   kanafix_open_walk --repair input output     (the whole repair, as the tool runs it)
//   kanafix_open_walk --can-repair              (exit status 0 when --repair is built in)
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFName.h"
#include "koyo/platform/Files.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFResDict.h"
#include "koyo/sysfont/SystemFontCatalog.h"
#ifdef KANAFIX_BENCH_REPAIR
#include "front/Repair.h"
#endif

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

int Usage() {
  std::fprintf(stderr,
               "usage: kanafix_open_walk [--no-copy] [--no-fonts] input [output]\n"
               "       kanafix_open_walk --repair input output\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool copy = true;
  bool fonts = true;
  bool repair = false;
  const char* input = nullptr;
  const char* output = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-copy") == 0) {
      copy = false;
    } else if (std::strcmp(argv[i], "--no-fonts") == 0) {
      fonts = false;
    } else if (std::strcmp(argv[i], "--repair") == 0) {
      repair = true;
    } else if (std::strcmp(argv[i], "--can-repair") == 0) {
#ifdef KANAFIX_BENCH_REPAIR
      return 0;
#else
      return 1;
#endif
    } else if (!input) {
      input = argv[i];
    } else if (!output) {
      output = argv[i];
    } else {
      return Usage();
    }
  }
  if (!input || (copy && !output)) return Usage();

  auto start = std::chrono::steady_clock::now();
  if (repair) {
#ifdef KANAFIX_BENCH_REPAIR
    std::string message;
    int rc = kanafix::RepairFile(input, output, nullptr, kanafix::RepairOptions(), &message);
    if (rc != 0) std::fprintf(stderr, "repair failed: %s\n", message.c_str());
    std::printf("repair %.3f s\n", Seconds(start));
    return rc;
#else
    std::fprintf(stderr, "built without the front end: no --repair\n");
    return 2;
#endif
  }
  const char* path = input;
  if (copy) {
    if (!koyo::platform::CopyFile(input, output)) {
      std::perror("copy");
      return 1;
    }
    path = output;
  }
  double copied = Seconds(start);

  koyo::CPDFDoc doc;
  if (!doc.Open(nullptr, path, nullptr)) {
    std::fprintf(stderr, "open failed: %s\n", doc.GetError().Factor.c_str());
    return 1;
  }
  double opened = Seconds(start);
  int32_t pages = doc.GetPageCount();
  if (pages < 0) {
    std::fprintf(stderr, "no page count\n");
    return 1;
  }

  koyo::SystemFontCatalog catalog;
  std::set<std::pair<int32_t, int32_t>> seen;
  int64_t fontUses = 0;
  int64_t known = 0;
  for (int32_t i = 0; i < pages; ++i) {
    koyo::CPDFPage* page = doc.GetPage(i);
    if (!page) {
      const koyo::CPDFException& e = doc.GetError();
      std::fprintf(stderr, "cannot get page %d: %s %s %s\n", i + 1, e.Module.c_str(), e.Method.c_str(),
                   e.Factor.c_str());
      return 1;
    }
    if (!fonts) continue;
    koyo::CPDFResDict* resources = page->Get_Resources();
    koyo::CPDFDict* category = resources ? resources->Get_Font() : nullptr;
    if (!category) continue;
    for (auto it = category->begin(); it != category->end(); ++it) {
      ++fontUses;
      koyo::CPDFObjRef ref;
      koyo::CPDFObject* font = category->GetValue(&doc, it->key.c_str(), &ref);
      if (!font || !ref.IsValid() || !seen.insert({ref.GetObjNum(), ref.GetGenNum()}).second) continue;
      auto* dict = dynamic_cast<koyo::CPDFDict*>(font);
      if (!dict) continue;
      auto* base = dynamic_cast<koyo::CPDFName*>(dict->GetValue(&doc, "BaseFont"));
      if (base && catalog.GetTrueTypeInfo(base->c_str())) ++known;
    }
  }
  double walked = Seconds(start);
  std::printf("pages %d, font uses %lld, fonts %zu, installed or built-in %lld\n", pages,
              static_cast<long long>(fontUses), seen.size(), static_cast<long long>(known));
  std::printf("copy %.3f s, open %.3f s, walk %.3f s, total %.3f s\n", copied, opened - copied, walked - opened,
              walked);
  return 0;
}
