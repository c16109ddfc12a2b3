// Recognising font dictionaries as font classes, realizing their entries,
// and the encoding dictionary's differences.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

#include "FontFixture.h"
#include "koyo/font/CPDFCMap.h"
#include "koyo/font/CPDFEncoding.h"
#include "koyo/font/CPDFMMType1Font.h"
#include "koyo/font/CPDFTrueTypeFont.h"
#include "koyo/font/CPDFType0Font.h"
#include "koyo/font/CPDFType1Font.h"
#include "koyo/font/CPDFType2CIDFont.h"
#include "koyo/font/CPDFType3Font.h"
#include "koyo/font/FontFactory.h"
#include "koyo/structure/CPDFResDict.h"

namespace koyo {
namespace {

using test::FontTest;
using test::Written;

const char* ClassOf(const CPDFFont* font) {
  if (!font) return "null";
  if (dynamic_cast<const CPDFType1Font*>(font)) return "Type1";
  if (dynamic_cast<const CPDFTrueTypeFont*>(font)) return "TrueType";
  if (dynamic_cast<const CPDFMMType1Font*>(font)) return "MMType1";
  if (dynamic_cast<const CPDFType3Font*>(font)) return "Type3";
  if (dynamic_cast<const CPDFType0Font*>(font)) return "Type0";
  return "other";
}

TEST_F(FontTest, RecognitionByKindAndMask) {
  const std::string widths = " /FirstChar 32 /LastChar 33 /Widths [250 300] /FontDescriptor << /Flags 32 >>";
  const std::string type3 =
      "<< /Type /Font /Subtype /Type3 /FirstChar 0 /LastChar 0 /Widths [1] /CharProcs << >> "
      "/FontBBox [0 0 1 1] /FontMatrix [0.001 0 0 0.001 0 0] /Encoding << /Differences [0 /a] >>";
  struct Case {
    std::string font;
    int32_t mask;
    const char* expected;
  };
  const Case cases[] = {
      {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>", -1, "Type1"},
      {"<< /Type /Font /Subtype /Type1 /BaseFont /ZapfDingbats >>", -1, "Type1"},
      {"<< /Type /Font /Subtype /Type1 /BaseFont /Arial >>", -1, "null"},
      {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Narrow >>", -1, "null"},
      {"<< /Type /Font /Subtype /Type1 /BaseFont /Arial" + widths + " >>", -1, "Type1"},
      {"<< /Subtype /Type1 /BaseFont /Helvetica >>", -1, "null"},              // no Type
      {"<< /Type /Font /Subtype /Type1 /BaseFont (Helvetica) >>", -1, "null"},  // BaseFont no name
      {"<< /Type /Font /Subtype /TrueType /BaseFont /Arial >>", -1, "TrueType"},
      {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>", CPDFFont::kType0, "null"},
      {"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>", CPDFFont::kType1, "Type1"},
      {"<< /Type /Font /Subtype /TrueType /BaseFont /Arial >>", CPDFFont::kType1 | CPDFFont::kType0, "null"},
      {"<< /Type /Font /Subtype /MMType1 /BaseFont /MM" + widths + " >>", -1, "MMType1"},
      {"<< /Type /Font /Subtype /MMType1 /BaseFont /MM >>", -1, "null"},
      {type3 + " >>", -1, "Type3"},
      {type3 + " /CharProcs 5 >>", -1, "null"},
      {"<< /Type /Font /Subtype /Type0 /BaseFont /G /Encoding /90ms-RKSJ-H /DescendantFonts [] >>", -1, "Type0"},
      {"<< /Type /Font /Subtype /Type0 /BaseFont /G /Encoding << >> /DescendantFonts [] >>", -1, "null"},
      {"<< /Type /Font /Subtype /Type0 /BaseFont /G /Encoding /90ms-RKSJ-H >>", -1, "null"},
      {"<< /Type /Font /Subtype /CIDFontType2 /BaseFont /G /CIDSystemInfo << >> /FontDescriptor << >> >>", -1,
       "null"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CPDFFont> font(CPDFFont::Recognize(&doc, ParseValue(c.font), c.mask));
    EXPECT_STREQ(ClassOf(font.get()), c.expected) << c.font << " mask " << c.mask;
    if (font) {
      EXPECT_EQ(font->GetDoc(), &doc);
    }
  }
  EXPECT_EQ(CPDFFont::Recognize(&doc, nullptr, -1), nullptr);
  EXPECT_EQ(CPDFFont::Recognize(&doc, ParseValue("[1 2]"), -1), nullptr);
}

TEST_F(FontTest, NamesAndCategory) {
  struct Case {
    std::unique_ptr<CPDFFont> font;
    const char* name;
  };
  Case cases[] = {{std::make_unique<CPDFType1Font>(), "F4"},   {std::make_unique<CPDFTrueTypeFont>(), "TT4"},
                  {std::make_unique<CPDFType0Font>(), "G4"},   {std::make_unique<CPDFType3Font>(), "T4"},
                  {std::make_unique<CPDFMMType1Font>(), "F4"}, {std::make_unique<CPDFType2CIDFont>(), "4"}};
  for (Case& c : cases) {
    CPDFName name;
    ASSERT_TRUE(c.font->MakeName(4, name));
    EXPECT_EQ(std::string(name.c_str()), c.name);
    EXPECT_STREQ(c.font->CategoryName(), "Font");
  }
}

TEST_F(FontTest, Type0RealizesItsDescendantAndEncodingStream) {
  CPDFObjRef desc = AddParsed(
      "<< /Type /FontDescriptor /Ascent 880 /CapHeight 0 /Descent -120 /Flags 4 /ItalicAngle 0 /StemV 0 "
      "/FontBBox [0 -120 1000 880] /FontName /G >>");
  CPDFObjRef cid = AddParsed("<< /Type /Font /Subtype /CIDFontType2 /BaseFont /G /DW 1000 /W [1 [500]] "
                             "/CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >> "
                             "/FontDescriptor " + std::to_string(desc.GetObjNum()) + " 0 R >>");
  CPDFObjRef cmap = AddStream("<< /Type /CMap /CMapName /Test-H /CIDSystemInfo << >> >>", "");
  std::string text = "<< /Type /Font /Subtype /Type0 /BaseFont /G /Encoding " + std::to_string(cmap.GetObjNum()) +
                     " 0 R /DescendantFonts [" + std::to_string(cid.GetObjNum()) + " 0 R] >>";
  std::unique_ptr<CPDFFont> font(CPDFFont::Recognize(&doc, ParseValue(text), -1));
  auto* type0 = dynamic_cast<CPDFType0Font*>(font.get());
  ASSERT_NE(type0, nullptr);
  // The table now holds the wrappers under the same numbers.
  auto* descendant = doc.As<CPDFType2CIDFont>(cid);
  ASSERT_NE(descendant, nullptr);
  EXPECT_EQ(type0->GetDescendant(), descendant);
  ASSERT_NE(doc.As<CPDFFontDesc>(desc), nullptr);
  EXPECT_EQ(type0->GetFontDesc(), doc.As<CPDFFontDesc>(desc));
  EXPECT_NE(descendant->Get_CIDSystemInfo(), nullptr);
  EXPECT_NE(doc.As<CPDFCMap>(cmap), nullptr);
  EXPECT_EQ(descendant->GetDoc(), &doc);
  // Written back, nothing has changed.
  EXPECT_EQ(Written(doc.Get(cid)),
            "<<\r\n/BaseFont /G\r\n/CIDSystemInfo <<\r\n/Ordering (Japan1)\r\n/Registry (Adobe)\r\n/Supplement 2\r\n"
            ">>\r\n/DW 1000\r\n/FontDescriptor " + std::to_string(desc.GetObjNum()) +
                " 0 R\r\n/Subtype /CIDFontType2\r\n/Type /Font\r\n/W [1 [500]]\r\n>>");
}

TEST_F(FontTest, DescriptorLoadingMakesIndirectValuesDirect) {
  CPDFObjRef ascent = AddParsed("880");
  CPDFObjRef box = AddParsed("[-10 -120 1010 880]");
  CPDFObjRef program = AddStream("<< /Length1 4 >>", "abcd");
  auto ref = [](const CPDFObjRef& r) { return std::to_string(r.GetObjNum()) + " 0 R"; };
  CPDFObjRef desc = AddParsed("<< /Type /FontDescriptor /Ascent " + ref(ascent) +
                              " /CapHeight 0 /Descent -120 /Flags 32 /ItalicAngle 0 /StemV 80 /FontBBox " + ref(box) +
                              " /FontName /X /FontFile2 " + ref(program) + " >>");
  std::unique_ptr<CPDFFont> font(CPDFFont::Recognize(
      &doc, ParseValue("<< /Type /Font /Subtype /TrueType /BaseFont /X /FontDescriptor " + ref(desc) + " >>"), -1));
  ASSERT_NE(font, nullptr);
  CPDFFontDesc* loaded = font->GetFontDesc();
  ASSERT_NE(loaded, nullptr);
  EXPECT_FALSE(RefOf(*loaded, "Ascent").IsValid());
  EXPECT_FALSE(RefOf(*loaded, "FontBBox").IsValid());
  ASSERT_NE(loaded->Get_Ascent(), nullptr);
  EXPECT_EQ(loaded->Get_Ascent()->GetInt(), 880);
  ASSERT_NE(loaded->Get_FontBBox(), nullptr);
  EXPECT_EQ(Written(loaded->Get_FontBBox()), "[-10 -120 1010 880]");
  // The objects referred to are left as they were.
  EXPECT_EQ(WrittenObj(box), "[-10 -120 1010 880]");
  EXPECT_EQ(WrittenObj(ascent), "880");
  // The font program stays indirect, now as a font file.
  EXPECT_TRUE(RefOf(*loaded, "FontFile2").IsValid());
  ASSERT_NE(loaded->Get_FontFile2(), nullptr);
  EXPECT_EQ(loaded->Get_FontFile2()->Get_Length1()->GetInt(), 4);
}

TEST_F(FontTest, EncodingDifferences) {
  struct Case {
    const char* encoding;
    std::vector<std::pair<int, const char*>> named;  // code -> name, null: none
  };
  const Case cases[] = {
      {"<< /Differences [32 /space /exclam 65 /A] >>",
       {{32, "space"}, {33, "exclam"}, {65, "A"}, {34, nullptr}, {64, nullptr}}},
      {"<< /Differences [254 /y /z /a /b] >>", {{254, "y"}, {255, "z"}, {0, "a"}, {1, "b"}}},
      // A code outside a byte: the names after it have no code.
      {"<< /Differences [300 /x 66 /B] >>", {{44, nullptr}, {0, nullptr}, {66, "B"}}},
      {"<< /Differences [/lead 5 /five (s) /six] >>", {{0, "lead"}, {5, "five"}, {6, "six"}}},
      {"<< /Type /Encoding >>", {{0, nullptr}, {32, nullptr}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.encoding);
    CPDFEncoding encoding;
    ASSERT_TRUE(encoding.Realize(&doc, ParseValue(c.encoding)));
    const EncodingTable* table = encoding.GetDifferencesTable();
    ASSERT_NE(table, nullptr);
    for (auto [code, expected] : c.named) {
      std::string name;
      bool named = table->GetName(static_cast<uint8_t>(code), name);
      if (expected) {
        EXPECT_TRUE(named) << code;
        EXPECT_EQ(name, expected) << code;
      } else {
        EXPECT_FALSE(named) << code << " " << name;
      }
    }
  }

  // The table follows Differences only when rebuilt.
  CPDFEncoding encoding;
  ASSERT_TRUE(encoding.Realize(&doc, ParseValue("<< /Differences [65 /A] >>")));
  std::string name;
  ASSERT_TRUE(encoding.GetDifferencesTable()->GetName(65, name));
  encoding.Get_Differences()->Push_Back(&doc, new CPDFName("B"));
  EXPECT_FALSE(encoding.GetDifferencesTable()->GetName(66, name));
  ASSERT_TRUE(encoding.UpdateDifferences());
  EXPECT_TRUE(encoding.GetDifferencesTable()->GetName(66, name));
  EXPECT_EQ(name, "B");
}

TEST_F(FontTest, EffectiveBaseEncoding) {
  CPDFEncoding plain;
  ASSERT_TRUE(plain.Realize(&doc, ParseValue("<< /Differences [1 /a] >>")));
  EXPECT_STREQ(plain.EffectiveBaseEncoding(), "StandardEncoding");
  CPDFEncoding win;
  ASSERT_TRUE(win.Realize(&doc, ParseValue("<< /BaseEncoding /WinAnsiEncoding >>")));
  EXPECT_STREQ(win.EffectiveBaseEncoding(), "WinAnsiEncoding");
  CPDFEncoding created;
  ASSERT_TRUE(created.Create(&doc));
  EXPECT_EQ(Written(&created), "<<\r\n/Type /Encoding\r\n>>");
}

TEST_F(FontTest, ResourceDictionaryRealizesFontsThroughTheMaker) {
  ResourceMakers makers;
  InstallFontMaker(makers);
  doc.makers = &makers;
  CPDFObjRef helvetica = AddParsed("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding << /Differences [] >> >>");
  CPDFObjRef odd = AddParsed("<< /Type /Font /Subtype /Type1 /BaseFont /Arial >>");
  CPDFObjRef truetype = AddParsed("<< /Type /Font /Subtype /TrueType /BaseFont /Arial >>");
  auto ref = [](const CPDFObjRef& r) { return std::to_string(r.GetObjNum()) + " 0 R"; };
  CPDFResDict resources;
  ASSERT_TRUE(resources.Realize(&doc, ParseValue("<< /Font << /F1 " + ref(helvetica) + " /F2 " + ref(odd) +
                                                 " /TT3 " + ref(truetype) + " >> >>")));
  EXPECT_NE(dynamic_cast<CPDFType1Font*>(resources.Lookup("Font", "F1")), nullptr);
  EXPECT_NE(doc.As<CPDFType1Font>(helvetica), nullptr);
  EXPECT_NE(doc.As<CPDFType1Font>(helvetica)->Get_Encoding(), nullptr);
  EXPECT_NE(dynamic_cast<CPDFEncoding*>(doc.As<CPDFType1Font>(helvetica)->Get_Encoding()), nullptr);
  // A dictionary no font class takes stays as read.
  EXPECT_EQ(resources.Lookup("Font", "F2"), nullptr);
  CPDFObject* asRead = doc.Get(odd);
  ASSERT_NE(asRead, nullptr);
  EXPECT_EQ(typeid(*asRead), typeid(CPDFDict));
  EXPECT_NE(dynamic_cast<CPDFTrueTypeFont*>(resources.Lookup("Font", "TT3")), nullptr);
}

}  // namespace
}  // namespace koyo
