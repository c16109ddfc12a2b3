// Fuzz target: Adobe Font Metrics text on arbitrary bytes. A file that loads
// must have what a loaded font promises (a name and a bounding box), and its
// glyph tables must answer the lookups for every glyph they list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "koyo/resource/AFMFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace koyo;
  using namespace koyo::fuzz;
  // A private copy without spare room behind it, so that reading past the end
  // of the input is caught.
  std::vector<char> copy(data, data + size);
  AFMFile afm;
  if (!afm.LoadData(copy.data(), copy.size())) {
    Check(afm.fontName.empty() && afm.GlyphsByName().empty() && afm.GlyphsByCID().empty(),
          "metrics that fail to load hold nothing");
    return 0;
  }
  Check(!afm.fontName.empty(), "loaded metrics have a font name");
  Check(afm.fontBBox[0] || afm.fontBBox[1] || afm.fontBBox[2] || afm.fontBBox[3],
        "loaded metrics have a bounding box");
  for (const auto& [name, glyph] : afm.GlyphsByName()) {
    Check(afm.GlyphByName(name) == &glyph, "a listed glyph is found by its name", name);
  }
  for (const auto& [cid, glyph] : afm.GlyphsByCID()) {
    Check(afm.GlyphByCID(cid) == &glyph, "a listed glyph is found by its CID", std::to_string(cid));
  }
  return 0;
}
