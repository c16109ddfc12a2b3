// Reader and writer throughput on object text shaped like the fonts, pages and
// page-tree nodes of a real file.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "koyo/object/CPDFObject.h"
#include "koyo/object/FileSave.h"
#include "koyo/object/ObjectReader.h"
#include "koyo/object/StrLoad.h"
#include "koyo/object/StrSave.h"
#include "koyo/object/ObjectWriter.h"

namespace {

// A few hundred objects of the kinds a repair reads: page dictionaries with
// inline resources, fonts, descriptors, width arrays, page-tree nodes, strings.
std::string SampleText() {
  std::string text;
  for (int i = 0; i < 200; ++i) {
    std::string n = std::to_string(i + 10);
    text += "<< /Type /Page /Parent " + n + " 0 R /MediaBox [0 0 595.276 841.89]\n"
            "/Resources << /ProcSet [/PDF /Text /ImageB] /Font << /F0 " + n + " 0 R /F1 " + n +
            " 0 R /F2 12 0 R /F3 13 0 R >>\n/XObject << /Im0 " + n + " 0 R >> >>\n/Contents " + n + " 0 R >>\n";
    text += "<< /Type /Font /Subtype /Type0 /BaseFont /IPAPMincho /Encoding /90msp-RKSJ-H "
            "/DescendantFonts [" + n + " 0 R] >>\n";
    text += "<< /Type /FontDescriptor /FontName /IPAPMincho#20Bold /Flags 4 /FontBBox [-50 -200 1050 900] "
            "/ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 700 /StemV 80 >>\n";
    text += "[1 [500 500 250 333.5 -12 7] 231 [1000 1000 1000] 633 790 500]\n";
    text += "<< /Type /Pages /Kids [" + n + " 0 R " + n + " 0 R " + n + " 0 R " + n + " 0 R " + n +
            " 0 R] /Count 10 >>\n";
    text += "(Benchmark \\(text\\) with escapes \\101\\102 and a line\\n) <48656c6c6f20776f726c64>\n";
  }
  return text;
}

std::vector<std::unique_ptr<koyo::CPDFObject>> ParseAll(const std::string& text) {
  std::vector<std::unique_ptr<koyo::CPDFObject>> objects;
  koyo::StrLoad in;
  in.Open(text.data(), static_cast<int64_t>(text.size()));
  while (auto obj = koyo::ReadObject(nullptr, in, nullptr)) objects.push_back(std::move(obj));
  return objects;
}

void BM_ReadObjects(benchmark::State& state) {
  const std::string text = SampleText();
  size_t count = 0;
  for (auto _ : state) {
    auto objects = ParseAll(text);
    count = objects.size();
    benchmark::DoNotOptimize(objects.data());
  }
  if (count != 1400) state.SkipWithError("the sample did not parse whole");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(count));
}
BENCHMARK(BM_ReadObjects)->Unit(benchmark::kMicrosecond);

// The number of bytes the objects write as.
int64_t WrittenSize(const std::vector<std::unique_ptr<koyo::CPDFObject>>& objects) {
  koyo::StrSave out;
  out.Open();
  for (const auto& obj : objects) {
    koyo::WriteObject(out, obj.get(), nullptr);
    out.Put('\n');
  }
  return out.Length();
}

// Writing into a file (the null device): formatting plus the save buffer.
void BM_WriteObjects(benchmark::State& state) {
  const auto objects = ParseAll(SampleText());
  const int64_t written = WrittenSize(objects);
  for (auto _ : state) {
    koyo::FileSave out;
    if (!out.Open("/dev/null", "wb")) {
      state.SkipWithError("cannot open /dev/null");
      return;
    }
    for (const auto& obj : objects) {
      koyo::WriteObject(out, obj.get(), nullptr);
      out.Put('\n');
    }
    out.Close();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * written);
}
BENCHMARK(BM_WriteObjects)->Unit(benchmark::kMicrosecond);

// Writing into memory.
void BM_WriteObjectsToMemory(benchmark::State& state) {
  const auto objects = ParseAll(SampleText());
  int64_t written = 0;
  for (auto _ : state) {
    koyo::StrSave out;
    out.Open();
    for (const auto& obj : objects) {
      koyo::WriteObject(out, obj.get(), nullptr);
      out.Put('\n');
    }
    written = out.Length();
    out.Close();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * written);
}
BENCHMARK(BM_WriteObjectsToMemory)->Unit(benchmark::kMicrosecond);

}  // namespace
