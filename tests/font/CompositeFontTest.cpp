// Type 0 fonts over CIDFontType2 descendants built from the fixture fonts,
// their widths, string widths through CMaps, and CIDFontType0 widths from CID
// metrics.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FontFixture.h"
#include "koyo/font/CPDFType0CIDFont.h"
#include "koyo/font/CPDFType0Font.h"
#include "koyo/font/CPDFType2CIDFont.h"
#include "koyo/font/FontFactory.h"
#include "koyo/font/SystemFont.h"
#include "koyo/object/CPDFInt.h"
#include "koyo/object/CPDFString.h"

namespace koyo {
namespace {

using test::FontTest;
using test::Written;

class CompositeFontTest : public FontTest {
protected:
  // The Type 0 font made for baseFont, and its descendant.
  CPDFType0Font* Make(const char* baseFont, const char* encoding = "") {
    made.reset(CPDFType2CIDFont::CreateFont(&doc, baseFont, encoding));
    EXPECT_NE(made, nullptr) << doc.error.Factor;
    if (!made) return nullptr;
    EXPECT_TRUE(doc.error.IsEmpty()) << doc.error.Factor;
    descendant = dynamic_cast<CPDFType2CIDFont*>(made->GetDescendant());
    EXPECT_NE(descendant, nullptr);
    return made.get();
  }
  std::string Entry(const CPDFDict& dict, const char* key) { return Written(dict.GetValue(&doc, key)); }
  // Advance widths of codes low..high of the face, read from a catalogue of
  // its own.
  std::vector<int32_t> FaceWidths(const char* face, int low, int high) {
    std::vector<int32_t> widths;
    TrueTypeInfo* info = ownCatalog.GetTrueTypeInfo(face);
    for (int code = low; code <= high; ++code) {
      const ABC* abc = info ? info->GetCharABC(code) : nullptr;
      widths.push_back(abc ? abc->abcA + abc->abcB + abc->abcC : 0);
    }
    return widths;
  }
  std::vector<int32_t> Numbers(CPDFObject* value) {
    std::vector<int32_t> numbers;
    auto* array = dynamic_cast<CPDFArray*>(value);
    for (int32_t i = 0; array && i < array->Count(); ++i) {
      auto* number = dynamic_cast<CPDFNumber*>(array->GetObj(&doc, i));
      numbers.push_back(number ? number->GetInt() : -99999);
    }
    return numbers;
  }

  SystemFontCatalog ownCatalog;
  std::unique_ptr<CPDFType0Font> made;
  CPDFType2CIDFont* descendant = nullptr;
};

TEST_F(CompositeFontTest, ProportionalShiftJisFontObjects) {
  CPDFType0Font* font = Make("Kanafix PGothic");
  ASSERT_NE(descendant, nullptr);
  CPDFObjRef cidRef;
  font->Get_DescendantFonts()->GetObj(&doc, 0, &cidRef);
  ASSERT_TRUE(cidRef.IsValid());
  EXPECT_EQ(doc.Size(), 3u);  // CIDSystemInfo, descriptor, CIDFont; the Type 0 font is not registered
  EXPECT_EQ(Written(font),
            "<<\r\n/BaseFont /Kanafix#20PGothic\r\n/DescendantFonts [" + std::to_string(cidRef.GetObjNum()) +
                " 0 R]\r\n/Encoding /90msp-RKSJ-H\r\n/Subtype /Type0\r\n/Type /Font\r\n>>");

  CPDFObjRef infoRef = RefOf(*descendant, "CIDSystemInfo");
  CPDFObjRef descRef = RefOf(*descendant, "FontDescriptor");
  ASSERT_TRUE(infoRef.IsValid());
  ASSERT_TRUE(descRef.IsValid());
  EXPECT_EQ(WrittenObj(infoRef), "<<\r\n/Ordering (Japan1)\r\n/Registry (Adobe)\r\n/Supplement 2\r\n>>");
  EXPECT_EQ(WrittenObj(descRef),
            "<<\r\n/Ascent 880\r\n/CapHeight 0\r\n/Descent -221\r\n/Flags 4\r\n/FontBBox [-49 -221 1025 880]\r\n"
            "/FontName /Kanafix#20PGothic\r\n/ItalicAngle 0\r\n/StemV 0\r\n"
            "/Style <<\r\n/Panose (\\002\\013\\006\\003\\000\\000\\000\\000\\000\\000\\000\\000)\r\n>>\r\n"
            "/Type /FontDescriptor\r\n>>");

  EXPECT_EQ(Entry(*descendant, "Type"), "/Font");
  EXPECT_EQ(Entry(*descendant, "Subtype"), "/CIDFontType2");
  EXPECT_EQ(Entry(*descendant, "BaseFont"), "/Kanafix#20PGothic");
  EXPECT_EQ(Entry(*descendant, "DW"), "1000");
  EXPECT_FALSE(RefOf(*descendant, "W").IsValid());  // W is direct
  EXPECT_EQ(descendant->Count(), 7);

  // W: four groups, their widths those of the face's codes.
  CPDFArray* w = descendant->Get_W();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(w->Count(), 9);
  struct Group {
    int32_t index, firstCID, low, high;
  };
  const Group groups[] = {{0, 1, 0x20, 0x7D}, {2, 231, 0x20, 0x7E}, {4, 326, 0xA0, 0xDF}};
  for (const Group& g : groups) {
    SCOPED_TRACE(g.firstCID);
    EXPECT_EQ(Numbers(w)[g.index], g.firstCID);
    EXPECT_EQ(Numbers(w->GetObj(&doc, g.index + 1)), FaceWidths("Kanafix PGothic", g.low, g.high));
  }
  EXPECT_EQ(Numbers(w->GetObj(&doc, 1)).size(), 94u);
  EXPECT_EQ(Numbers(w->GetObj(&doc, 3)).size(), 95u);
  EXPECT_EQ(Numbers(w->GetObj(&doc, 5)).size(), 64u);
  EXPECT_EQ(Written(w->GetObj(&doc, 6)), "631");
  EXPECT_EQ(Written(w->GetObj(&doc, 7)), "631");
  EXPECT_EQ(Numbers(w)[8], FaceWidths("Kanafix PGothic", 0x7E, 0x7E)[0]);
  // Telling values of the fixture face: space 250, A 684, B 600, U+FF71 500.
  EXPECT_EQ(Numbers(w->GetObj(&doc, 1))[0x41 - 0x20], 684);
  EXPECT_EQ(Numbers(w->GetObj(&doc, 3))[0x42 - 0x20], 600);
  EXPECT_EQ(Numbers(w->GetObj(&doc, 3))[0], 250);
  EXPECT_EQ(Numbers(w->GetObj(&doc, 5))[0xB1 - 0xA0], 500);
  EXPECT_EQ(font->GetFontDesc(), doc.Get(descRef));
}

TEST_F(CompositeFontTest, MonospacedShiftJisFontHasTheFixedWidths) {
  CPDFType0Font* font = Make("Kanafix Gothic");
  ASSERT_NE(descendant, nullptr);
  EXPECT_EQ(Entry(*font, "Encoding"), "/90ms-RKSJ-H");
  EXPECT_EQ(Entry(*descendant, "W"), "[1 94 500 231 389 500 631 631 500]");
  EXPECT_EQ(Entry(*descendant, "DW"), "1000");
  CPDFFontDesc* desc = font->GetFontDesc();
  ASSERT_NE(desc, nullptr);
  EXPECT_EQ(Entry(*desc, "FontBBox"), "[0 -141 1000 859]");
  EXPECT_EQ(Entry(*desc, "Flags"), "4");
}

TEST_F(CompositeFontTest, HeiseiSubstituteWithoutAnInstalledFont) {
  CPDFType0Font* font = Make("HeiseiMin-W3");
  ASSERT_NE(descendant, nullptr);
  EXPECT_EQ(Entry(*font, "Encoding"), "/90ms-RKSJ-H");
  EXPECT_EQ(Entry(*font, "BaseFont"), "/HeiseiMin-W3");
  EXPECT_EQ(Entry(*descendant, "W"), "[1 94 500 231 389 500 631 631 500]");
  CPDFFontDesc* desc = font->GetFontDesc();
  ASSERT_NE(desc, nullptr);
  EXPECT_EQ(Entry(*desc, "FontBBox"), "[-123 -257 1001 910]");
  EXPECT_EQ(Entry(*desc, "Ascent"), "723");
  EXPECT_EQ(Entry(*desc, "Descent"), "-241");
  EXPECT_EQ(Entry(*desc, "FontName"), "/HeiseiMin-W3");
  auto* style = dynamic_cast<CPDFDict*>(desc->GetValue(&doc, "Style"));
  ASSERT_NE(style, nullptr);
  auto* panose = dynamic_cast<CPDFString*>(style->GetValue(&doc, "Panose"));
  ASSERT_NE(panose, nullptr);
  EXPECT_EQ(std::string(panose->c_str(), panose->Length()),
            std::string("\x01\x05\x02\x02\x04\x00\x00\x00\x00\x00\x00\x00", 12));
}

TEST_F(CompositeFontTest, GivenEncodingNameIsUsedUnchanged) {
  for (const char* face : {"Kanafix PGothic", "Kanafix Gothic"}) {
    SCOPED_TRACE(face);
    CPDFType0Font* font = Make(face, "UniJIS-UCS2-H");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(Entry(*font, "Encoding"), "/UniJIS-UCS2-H");
  }
}

TEST_F(CompositeFontTest, CreatorsDeclineWithTheirRecords) {
  struct Case {
    const char* face;
    const char* module;
    const char* factor;
  };
  const Case cases[] = {
      // ANSI face: not for the composite creator.
      {"Kanafix Sans Italic", "CPDFType2CIDFont", "unknown TrueType encoding: Kanafix Sans Italic"},
      {"Kanafix Mac", "CPDFType2CIDFont", "unknown TrueType encoding: Kanafix Mac"},
      {"No Such Face", "CPDFType2CIDFont", "TrueType info not found: No Such Face"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    size_t before = doc.Size();
    EXPECT_EQ(CPDFType2CIDFont::CreateFont(&doc, c.face, ""), nullptr);
    EXPECT_EQ(doc.error.Module, c.module);
    EXPECT_EQ(doc.error.Method, "CreateFont");
    EXPECT_EQ(doc.error.Type, CPDFException::kUser);
    EXPECT_EQ(doc.error.Factor, c.factor);
    EXPECT_EQ(doc.Size(), before);  // nothing was registered
  }
  // Without font services nothing is found.
  doc.services = nullptr;
  EXPECT_EQ(CPDFType2CIDFont::CreateFont(&doc, "Kanafix PGothic", ""), nullptr);
  EXPECT_EQ(doc.error.Factor, "TrueType info not found: Kanafix PGothic");
}

TEST_F(CompositeFontTest, SystemFontChoosesTheCreatorByCharacterSet) {
  std::unique_ptr<CPDFFont> composite(CreateSystemFont(&doc, "Kanafix PGothic", ""));
  ASSERT_NE(composite, nullptr);
  EXPECT_NE(dynamic_cast<CPDFType0Font*>(composite.get()), nullptr);
  // The simple creator's refusal does not stay in the record.
  EXPECT_TRUE(doc.error.IsEmpty()) << doc.error.Factor;

  std::unique_ptr<CPDFFont> simple(CreateSystemFont(&doc, "Kanafix Sans Italic", ""));
  ASSERT_NE(simple, nullptr);
  EXPECT_EQ(Written(simple->GetValue(&doc, "Subtype")), "/TrueType");

  EXPECT_EQ(CreateSystemFont(&doc, "Courier", ""), nullptr);
  EXPECT_EQ(doc.error.Module, "CPDFType2CIDFont");
  EXPECT_EQ(doc.error.Factor, "TrueType info not found: Courier");
}

TEST_F(CompositeFontTest, WidthsAreRebuiltAndTheDescendantMarkedChanged) {
  CPDFType0Font* font = Make("Kanafix PGothic");
  ASSERT_NE(descendant, nullptr);
  CPDFObjRef cidRef;
  font->Get_DescendantFonts()->GetObj(&doc, 0, &cidRef);
  std::string before = Entry(*descendant, "W");
  // Spoil W, then rebuild it.
  descendant->Get_W()->Push_Back(&doc, new CPDFInt(7));
  doc.updated.clear();
  ASSERT_TRUE(font->CreateWidths()) << doc.error.Factor;
  EXPECT_EQ(Entry(*descendant, "W"), before);
  ASSERT_EQ(doc.updated.size(), 1u);
  EXPECT_EQ(doc.updated[0], cidRef);

  // An indirect W is refilled in place and marked changed.
  CPDFObjRef wRef;
  ASSERT_TRUE(descendant->Set_W(new CPDFArray, true, &wRef));
  doc.updated.clear();
  ASSERT_TRUE(descendant->CreateWidths());
  EXPECT_EQ(WrittenObj(wRef), before);
  ASSERT_EQ(doc.updated.size(), 1u);
  EXPECT_EQ(doc.updated[0], wRef);
}

TEST_F(CompositeFontTest, WidthCreationFailures) {
  CPDFType0Font* font = Make("Kanafix PGothic");
  ASSERT_NE(descendant, nullptr);
  // The descendant's base font disappears from the catalogue's view.
  ASSERT_TRUE(descendant->Set_BaseFont(new CPDFName("Gone Face")));
  EXPECT_FALSE(font->CreateWidths());
  // The innermost failure is kept.
  EXPECT_EQ(doc.error.Module, "CPDFType2CIDFont");
  EXPECT_EQ(doc.error.Method, "CreateWidths");
  EXPECT_EQ(doc.error.Type, CPDFException::kUser);
  EXPECT_EQ(doc.error.Factor, "undefined TrueType font: Gone Face");

  descendant->RemoveValue(&doc, "BaseFont");
  EXPECT_FALSE(descendant->CreateWidths());
  EXPECT_EQ(doc.error.Type, CPDFException::kInternal);
  EXPECT_EQ(doc.error.Factor, "CPDFType2CIDFont::Get_BaseFont()");

  font->RemoveValue(&doc, "DescendantFonts");
  EXPECT_FALSE(font->CreateWidths());
  EXPECT_EQ(doc.error.Module, "CPDFType0Font");
  EXPECT_EQ(doc.error.Factor, "CPDFType0Font::Get_DescendantFonts()");
}

// CIDs as two big-endian bytes each.
std::string CIDs(std::initializer_list<int> cids) {
  std::string bytes;
  for (int cid : cids) {
    bytes.push_back(static_cast<char>(cid >> 8));
    bytes.push_back(static_cast<char>(cid & 0xFF));
  }
  return bytes;
}

TEST_F(CompositeFontTest, CIDStringWidths) {
  struct Case {
    const char* font;
    std::string cids;
    double width;
  };
  const Case cases[] = {
      {"<< /W [1 [500 600]] >>", CIDs({1, 2, 3}), 1100},
      {"<< /W [1 [500 600]] /DW 1000 >>", CIDs({1, 2, 3}), 2100},
      {"<< /W [1 [500 600]] /DW 1000 >>", CIDs({0, 0, 2}), 2600},
      {"<< /W [1 [500 600]] /DW 1000 >>", CIDs({2, 1, 2}), 1700},
      {"<< /W [10 20 300 5 [50]] /DW 7 >>", CIDs({5, 10, 20, 21, 4}), 7 + 300 + 300 + 7 + 7},
      {"<< /W [300 [1 2 3]] /DW 1000 >>", CIDs({0x1FF + 0x2E}), 1000},
      {"<< /W [300 [1 2 3]] /DW 1000 >>", CIDs({302}), 3},
      {"<< /DW 1000 >>", CIDs({1, 2}), 0},  // without W
      {"<< /W [1 [500 600]] >>", std::string("\x00\x01\x00", 3), 500},  // odd last byte ignored
      {"<< /W [1 [500 600]] >>", std::string(), 0},
      // Malformed W.
      {"<< /W [1 (x)] /DW 1000 >>", CIDs({1}), -1},
      {"<< /W [1 2] /DW 1000 >>", CIDs({1}), -1},
      {"<< /W [1 [500 /x]] >>", CIDs({2}), -1},
      {"<< /W [/x [500]] >>", CIDs({2}), -1},
      {"<< /W [1 [500] 9] >>", std::string(), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.font);
    CPDFType2CIDFont font;
    ASSERT_TRUE(font.Realize(&doc, ParseValue(c.font)));
    double width = font.CalcStringWidth(reinterpret_cast<const unsigned char*>(c.cids.data()), c.cids.size());
    EXPECT_EQ(width, c.width);
    if (c.width < 0) {
      EXPECT_EQ(doc.error.Module, "CPDFCIDFont");
      EXPECT_EQ(doc.error.Factor, "CPDFCIDFont::Get_W()");
    } else {
      EXPECT_TRUE(doc.error.IsEmpty());
    }
  }
}

double Measure(CPDFFont& font, const std::string& bytes) {
  return font.CalcStringWidth(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST_F(CompositeFontTest, Type0StringWidthsThroughNamedCMaps) {
  // A and B of the proportional face are 684 and 600; 90msp-RKSJ-H takes them
  // to the proportional CIDs, 90ms-RKSJ-H to the half-width ones: the W of
  // the descendant gives the same widths either way. A two-byte character
  // (hiragana A) takes DW.
  for (const char* cmap : {"90msp-RKSJ-H", "90ms-RKSJ-H"}) {
    SCOPED_TRACE(cmap);
    CPDFType0Font* font = Make("Kanafix PGothic", cmap);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(Measure(*font, "AB"), 684 + 600);
    EXPECT_EQ(Measure(*font, "A\x82\xA0" "B"), 684 + 1000 + 600);
    EXPECT_EQ(Measure(*font, ""), 0);
  }
  CPDFType0Font* mono = Make("Kanafix Gothic");
  ASSERT_NE(mono, nullptr);
  EXPECT_EQ(Measure(*mono, "AB\x82\xA0"), 500 + 500 + 1000);

  ASSERT_TRUE(mono->Set_Encoding(new CPDFName("Nope-H")));
  EXPECT_EQ(Measure(*mono, "AB"), -1);
  EXPECT_EQ(doc.error.Module, "CPDFType0Font");
  EXPECT_EQ(doc.error.Method, "CalcStringWidth");
  EXPECT_EQ(doc.error.Type, CPDFException::kUser);
  EXPECT_EQ(doc.error.Factor, "undefined CMap: Nope-H");

  ASSERT_TRUE(mono->Set_Encoding(new CPDFInt(3)));
  EXPECT_EQ(Measure(*mono, "AB"), -1);
  EXPECT_EQ(doc.error.Type, CPDFException::kInvalidFormat);
  EXPECT_EQ(doc.error.Factor, "typecheck: Integer");
}

TEST_F(CompositeFontTest, Type0StringWidthsThroughAnEmbeddedCMap) {
  // Single bytes 41-42 go to CIDs 1-2 of the descendant.
  const std::string cmapText =
      "%!PS-Adobe-3.0 Resource-CMap\n/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
      "/CMapName /Test-H def\n1 begincodespacerange\n<00> <FF>\nendcodespacerange\n"
      "1 begincidrange\n<41> <42> 1\nendcidrange\nendcmap\n";
  CPDFType0Font* font = Make("Kanafix PGothic");
  ASSERT_NE(font, nullptr);
  auto* stream = new CPDFStream(&doc);
  stream->SetData(cmapText.data(), static_cast<int64_t>(cmapText.size()));
  ASSERT_TRUE(font->Set_Encoding(stream));
  // CIDs 1 and 2 are codes 0x20 and 0x21 of the proportional group.
  std::vector<int32_t> widths = FaceWidths("Kanafix PGothic", 0x20, 0x21);
  EXPECT_EQ(Measure(*font, "AB"), widths[0] + widths[1]);

  // Without the resource header the CMap stream is refused.
  auto* headless = new CPDFStream(&doc);
  std::string body = cmapText.substr(cmapText.find('\n') + 1);
  headless->SetData(body.data(), static_cast<int64_t>(body.size()));
  ASSERT_TRUE(font->Set_Encoding(headless));
  EXPECT_EQ(Measure(*font, "AB"), -1);
  EXPECT_EQ(doc.error.Factor, "invalid ToUnicode stream");

  // Compressed data cannot be read yet: a clear failure, not garbage.
  auto* packed = new CPDFStream(&doc);
  packed->SetData(cmapText.data(), static_cast<int64_t>(cmapText.size()));
  packed->CPDFDict::Insert("Filter", new CPDFName("FlateDecode"));
  ASSERT_TRUE(font->Set_Encoding(packed));
  EXPECT_EQ(Measure(*font, "AB"), -1);
  EXPECT_EQ(doc.error.Factor, "cannot decode CMap stream: FlateDecode");
}

std::string CIDMetrics(std::initializer_list<std::pair<int, int>> widths) {
  std::string text = "StartFontMetrics 4.1\nFontName Test-CID\nFontBBox 0 0 1000 1000\nIsCIDFont true\n";
  text += "StartCharMetrics " + std::to_string(widths.size()) + "\n";
  for (auto [cid, width] : widths) {
    text += "C -1 ; W0X " + std::to_string(width) + " ; N " + std::to_string(cid) + " ;\n";
  }
  return text + "EndCharMetrics\nEndFontMetrics\n";
}

TEST_F(CompositeFontTest, CIDFontType0WidthsFromMetrics) {
  services.AddAFM("Test-CID", CIDMetrics({{1, 500}, {2, 500}, {3, 500}, {4, 1000}, {5, 600}, {6, 700}, {7, 700},
                                          {8, 800}, {9, 1000}, {10, 100}, {11, 200}, {12, 300}, {20, 400},
                                          {22, 400}}));
  CPDFType0CIDFont font;
  ASSERT_TRUE(font.Realize(&doc, ParseValue("<< /Type /Font /Subtype /CIDFontType0 /BaseFont /Test-CID >>")));
  ASSERT_TRUE(font.CreateWidths()) << doc.error.Factor;
  EXPECT_EQ(Entry(font, "DW"), "1000");
  // Runs of equal widths, lists of differing ones; DW entries left out; the
  // gap between 20 and 22 does not end the run.
  EXPECT_EQ(Entry(font, "W"), "[1 3 500 5 [600] 6 7 700 8 [800] 10 [100 200 300] 20 22 400]");

  // An existing DW is kept and decides what is left out.
  CPDFType0CIDFont narrow;
  ASSERT_TRUE(narrow.Realize(&doc, ParseValue("<< /Subtype /CIDFontType0 /BaseFont /Test-CID /DW 500 /W [9 9 9] >>")));
  ASSERT_TRUE(narrow.CreateWidths());
  EXPECT_EQ(Entry(narrow, "W"), "[4 [1000 600] 6 7 700 8 [800 1000 100 200 300] 20 22 400]");
}

TEST_F(CompositeFontTest, CIDFontType0WidthsReproduceTheBuiltInMetrics) {
  CPDFType0CIDFont font;
  ASSERT_TRUE(font.Realize(&doc, ParseValue("<< /Subtype /CIDFontType0 /BaseFont /HeiseiMin-W3 >>")));
  ASSERT_TRUE(font.CreateWidths());
  AFMFile* afm = services.GetAFM("HeiseiMin-W3");
  ASSERT_NE(afm, nullptr);
  ASSERT_GT(afm->GlyphsByCID().size(), 8000u);
  int mismatches = 0;
  for (const auto& [cid, glyph] : afm->GlyphsByCID()) {
    std::string bytes = CIDs({cid});
    if (Measure(font, bytes) != glyph.wx && ++mismatches < 5) ADD_FAILURE() << "CID " << cid;
  }
  EXPECT_EQ(mismatches, 0);

  // Metrics that are not CID metrics, or none at all: no widths.
  for (const char* base : {"Helvetica", "Unknown-CID"}) {
    CPDFType0CIDFont other;
    ASSERT_TRUE(other.Realize(&doc, ParseValue(std::string("<< /BaseFont /") + base + " >>")));
    EXPECT_FALSE(other.CreateWidths()) << base;
    EXPECT_FALSE(other.HasKey("W"));
  }
}

TEST_F(CompositeFontTest, EmbeddedProgramQuery) {
  CPDFObjRef embedded = AddParsed("<< /Type /FontDescriptor /FontFile2 3 0 R >>");
  CPDFObjRef plain = AddParsed("<< /Type /FontDescriptor /FontName /X >>");
  auto ref = [](const CPDFObjRef& r) { return std::to_string(r.GetObjNum()) + " 0 R"; };
  CPDFObjRef embeddingCID = AddParsed("<< /Subtype /CIDFontType2 /FontDescriptor " + ref(embedded) + " >>");
  CPDFObjRef plainCID = AddParsed("<< /Subtype /CIDFontType2 /FontDescriptor " + ref(plain) + " >>");
  struct Case {
    std::string font;
    bool embeds;
  };
  const Case cases[] = {
      {"<< /Subtype /TrueType /FontDescriptor << /FontFile2 1 0 R >> >>", true},
      {"<< /Subtype /Type1 /FontDescriptor << /FontFile 1 0 R >> >>", true},
      {"<< /Subtype /Type1 /FontDescriptor << /FontFile3 1 0 R >> >>", true},
      {"<< /Subtype /TrueType /FontDescriptor " + ref(embedded) + " >>", true},
      {"<< /Subtype /TrueType /FontDescriptor " + ref(plain) + " >>", false},
      {"<< /Subtype /TrueType >>", false},
      {"<< /Subtype /Type0 /DescendantFonts [" + ref(embeddingCID) + "] >>", true},
      {"<< /Subtype /Type0 /DescendantFonts [" + ref(plainCID) + " " + ref(embeddingCID) + "] >>", true},
      {"<< /Subtype /Type0 /DescendantFonts [" + ref(plainCID) + "] >>", false},
      {"<< /Subtype /Type0 /DescendantFonts [99 0 R] >>", false},
  };
  for (const Case& c : cases) {
    auto* font = dynamic_cast<CPDFDict*>(ParseValue(c.font));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(EmbedsFontProgram(&doc, *font), c.embeds) << c.font;
  }
  // The same answer for a realized font.
  CPDFObjRef read = AddParsed("<< /Type /Font /Subtype /Type0 /BaseFont /X /Encoding /90ms-RKSJ-H "
                              "/DescendantFonts [" + ref(embeddingCID) + "] >>");
  std::unique_ptr<CPDFFont> realized(CPDFFont::Recognize(&doc, doc.Get(read), -1));
  ASSERT_NE(realized, nullptr);
  EXPECT_TRUE(EmbedsFontProgram(&doc, *realized));
}

}  // namespace
}  // namespace koyo
