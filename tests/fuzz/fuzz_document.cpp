// Fuzz target: a whole file opened as a document. The input is written to a
// file, opened, and every page is realized with its resources; each entry of
// the Font category is resolved, with its encoding, descendants and
// descriptor, and looked up as a typed font. Whatever fails must fail with a
// record saying why; nothing may crash, hang or leak.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "FuzzScratch.h"
#include "front/CPDFLib.h"
#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFException.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFResDict.h"

namespace {

using namespace koyo;
using namespace koyo::fuzz;

// Pages walked at most, so that a huge page count does not make one input slow.
constexpr int32_t kMaxPages = 1000;

// Resolves the parts of a font dictionary that the repair reads.
void ResolveFont(CPDFDoc* doc, CPDFDict* font) {
  for (const char* key : {"Subtype", "BaseFont", "Encoding", "FontDescriptor", "ToUnicode", "Widths"}) {
    font->GetValue(doc, key);
  }
  CPDFObject* descendants = font->GetValue(doc, "DescendantFonts");
  if (descendants && descendants->IsType(CPDFObject::kArray)) {
    auto* array = static_cast<CPDFArray*>(descendants);
    for (int32_t i = 0; i < array->Count(); ++i) {
      CPDFObject* descendant = array->GetObj(doc, i);
      if (descendant && descendant->IsType(CPDFObject::kDict)) {
        for (const char* key : {"BaseFont", "CIDSystemInfo", "FontDescriptor", "W", "DW"}) {
          static_cast<CPDFDict*>(descendant)->GetValue(doc, key);
        }
      }
    }
  }
}

void WalkPage(CPDFDoc* doc, CPDFPage* page) {
  CPDFResDict* resources = page->Get_Resources();
  if (!resources) return;
  CPDFObject* fonts = resources->GetValue(doc, "Font");
  if (!fonts || !fonts->IsType(CPDFObject::kDict)) return;
  auto* fontDict = static_cast<CPDFDict*>(fonts);
  for (auto& entry : *fontDict) {
    const std::string name = entry.key.c_str();
    CPDFObject* value = fontDict->GetValue(doc, name.c_str());
    if (value && value->IsType(CPDFObject::kDict)) ResolveFont(doc, static_cast<CPDFDict*>(value));
    resources->Lookup("Font", name.c_str());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UseFixtureFonts();
  const std::filesystem::path dir = ScratchDir();
  const std::filesystem::path input = dir / "input.pdf";
  WriteBytes(input, data, size);
  const std::string temp = dir.string() + "/";

  std::unique_ptr<CPDFLib> lib(CPDFLib::Create(temp.c_str(), nullptr, nullptr, nullptr, CPDFLib::kVersion));
  Check(lib != nullptr, "the library instance can be made");

  CPDFException error;
  CPDFDoc* doc = lib->OpenDoc(input.c_str(), nullptr, &error);
  if (!doc) {
    Check(!error.IsEmpty(), "a document that fails to open says why");
  } else {
    const int32_t count = doc->GetPageCount();
    if (count < 0) Check(!doc->GetError().IsEmpty(), "a page count that cannot be read says why");
    for (int32_t i = 0; i < count && i < kMaxPages; ++i) {
      CPDFPage* page = doc->GetPage(i);
      if (!page) {
        Check(!doc->GetError().IsEmpty(), "a page that cannot be read says why", std::to_string(i));
        continue;
      }
      WalkPage(doc, page);
    }
    lib->CloseDoc(doc);
  }
  lib.reset();
  // Opening and reading never write: the input keeps its bytes and the
  // scratch folder holds nothing else.
  const std::string after = ReadBytes(input);
  Check(after.size() == size && (size == 0 || std::memcmp(after.data(), data, size) == 0),
        "reading a document leaves its file unchanged");
  std::filesystem::remove(input);
  Check(NamesIn(dir).empty(), "reading a document leaves no files behind", Joined(NamesIn(dir)));
  return 0;
}
