// Simple TrueType fonts created from the fixture fonts, their widths and
// string widths.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FontFixture.h"
#include "koyo/font/CPDFTrueTypeFont.h"
#include "koyo/object/CPDFInt.h"

namespace koyo {
namespace {

using test::FontTest;
using test::Written;

class TrueTypeFontTest : public FontTest {
protected:
  std::string Entry(const CPDFDict& dict, const char* key) { return Written(dict.GetValue(&doc, key)); }
  int32_t Advance(const char* face, int code) {
    const ABC* abc = ownCatalog.GetTrueTypeInfo(face)->GetCharABC(code);
    return abc ? abc->abcA + abc->abcB + abc->abcC : 0;
  }
  double Measure(CPDFFont& font, const std::string& bytes) {
    return font.CalcStringWidth(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  }
  // A TrueType font read from text.
  std::unique_ptr<CPDFTrueTypeFont> Read(const std::string& text) {
    auto font = std::make_unique<CPDFTrueTypeFont>();
    EXPECT_TRUE(font->Realize(&doc, ParseValue(text)));
    return font;
  }
  void ExpectError(const char* method, int32_t type, const char* factor) {
    EXPECT_EQ(doc.error.Module, "CPDFTrueTypeFont");
    EXPECT_EQ(doc.error.Method, method);
    EXPECT_EQ(doc.error.Type, type);
    EXPECT_EQ(doc.error.Factor, factor);
  }

  SystemFontCatalog ownCatalog;
};

TEST_F(TrueTypeFontTest, AnsiFontObjects) {
  std::unique_ptr<CPDFTrueTypeFont> font(CPDFTrueTypeFont::CreateFont(&doc, "Kanafix Sans Italic", ""));
  ASSERT_NE(font, nullptr) << doc.error.Factor;
  EXPECT_TRUE(doc.error.IsEmpty());
  EXPECT_EQ(Entry(*font, "Type"), "/Font");
  EXPECT_EQ(Entry(*font, "Subtype"), "/TrueType");
  EXPECT_EQ(Entry(*font, "BaseFont"), "/Kanafix#20Sans#20Italic");
  EXPECT_EQ(Entry(*font, "Encoding"), "/WinAnsiEncoding");
  EXPECT_EQ(Entry(*font, "FirstChar"), "33");
  EXPECT_EQ(Entry(*font, "LastChar"), "255");
  EXPECT_FALSE(RefOf(*font, "FirstChar").IsValid());

  CPDFObjRef widthsRef = RefOf(*font, "Widths");
  CPDFObjRef descRef = RefOf(*font, "FontDescriptor");
  ASSERT_TRUE(widthsRef.IsValid());
  ASSERT_TRUE(descRef.IsValid());
  // One width per code 33..255, each that of the face.
  CPDFArray* widths = font->Get_Widths();
  ASSERT_NE(widths, nullptr);
  ASSERT_EQ(widths->Count(), 255 - 33 + 1);
  for (int code = 33; code <= 255; ++code) {
    auto* width = dynamic_cast<CPDFNumber*>(widths->GetObj(&doc, code - 33));
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->GetInt(), Advance("Kanafix Sans Italic", code)) << code;
  }
  EXPECT_EQ(Written(widths->GetObj(&doc, 0x41 - 33)), "650");
  EXPECT_EQ(Written(widths->GetObj(&doc, 0x80 - 33)), "556");

  // Flags 34: nonsymbolic and serif (the family byte 0x12 has bit 4 set).
  EXPECT_EQ(WrittenObj(descRef),
            "<<\r\n/Ascent 900\r\n/CapHeight 0\r\n/Descent -200\r\n/Flags 34\r\n/FontBBox [-50 -200 950 900]\r\n"
            "/FontName /Kanafix#20Sans#20Italic\r\n/ItalicAngle -11\r\n/StemV 0\r\n"
            "/Style <<\r\n/Panose (\\002\\002\\005\\003\\000\\000\\000\\000\\000\\000\\000\\000)\r\n>>\r\n"
            "/Type /FontDescriptor\r\n>>");
  EXPECT_EQ(font->GetFontDesc(), doc.Get(descRef));
}

TEST_F(TrueTypeFontTest, MacFixedPitchModernFont) {
  // Family byte 0x31: fixed pitch, and the modern family value has bit 4 set.
  std::unique_ptr<CPDFTrueTypeFont> font(CPDFTrueTypeFont::CreateFont(&doc, "Kanafix Mac", ""));
  ASSERT_NE(font, nullptr) << doc.error.Factor;
  EXPECT_EQ(Entry(*font, "Encoding"), "/MacRomanEncoding");
  ASSERT_NE(font->GetFontDesc(), nullptr);
  EXPECT_EQ(Entry(*font->GetFontDesc(), "Flags"), "35");
  EXPECT_EQ(Entry(*font, "FirstChar"), "65");
  EXPECT_EQ(Entry(*font, "LastChar"), "180");

  std::unique_ptr<CPDFTrueTypeFont> named(CPDFTrueTypeFont::CreateFont(&doc, "Kanafix Mac", "StandardEncoding"));
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(Entry(*named, "Encoding"), "/StandardEncoding");
}

TEST_F(TrueTypeFontTest, CreatorDeclinesOtherCharacterSets) {
  size_t before = doc.Size();
  EXPECT_EQ(CPDFTrueTypeFont::CreateFont(&doc, "Kanafix PGothic", ""), nullptr);
  ExpectError("CreateFont", CPDFException::kUser, "unknown TrueType encoding: Kanafix PGothic");
  EXPECT_EQ(CPDFTrueTypeFont::CreateFont(&doc, "HeiseiMin-W3", ""), nullptr);
  ExpectError("CreateFont", CPDFException::kUser, "unknown TrueType encoding: HeiseiMin-W3");
  EXPECT_EQ(CPDFTrueTypeFont::CreateFont(&doc, "Missing", "WinAnsiEncoding"), nullptr);
  ExpectError("CreateFont", CPDFException::kUser, "TrueType info not found: Missing");
  EXPECT_EQ(doc.Size(), before);
}

TEST_F(TrueTypeFontTest, StringWidthsWithWidths) {
  std::unique_ptr<CPDFTrueTypeFont> font(CPDFTrueTypeFont::CreateFont(&doc, "Kanafix Sans Italic", ""));
  ASSERT_NE(font, nullptr);
  // The space (32) lies below FirstChar 33 and adds nothing.
  EXPECT_EQ(Measure(*font, "!A"), 300 + 650);
  EXPECT_EQ(Measure(*font, " A \x01"), 650);
  EXPECT_EQ(Measure(*font, "\xFF"), 480);
  EXPECT_TRUE(doc.error.IsEmpty());

  // Widths shorter than the code range: a byte beyond it fails.
  auto short_ = Read("<< /BaseFont /X /FirstChar 65 /LastChar 70 /Widths [100 200] >>");
  EXPECT_EQ(Measure(*short_, "AB"), 300);
  EXPECT_EQ(Measure(*short_, "AC"), -1);
  ExpectError("CalcStringWidth", CPDFException::kInternal, "CPDFTrueTypeFont::Get_Widths()");
}

TEST_F(TrueTypeFontTest, StringWidthsFromTheInstalledFont) {
  // No Widths, FirstChar or LastChar: every byte is measured from the face.
  auto font = Read("<< /Type /Font /Subtype /TrueType /BaseFont /KanafixSansItalic >>");
  EXPECT_EQ(Measure(*font, "!A\xFF"), 300 + 650 + 480);
  EXPECT_EQ(Measure(*font, " "), 0);  // below the face's first code
  // A LastChar narrows the range.
  auto narrowed = Read("<< /BaseFont /KanafixSansItalic /LastChar 64 >>");
  EXPECT_EQ(Measure(*narrowed, "!A"), 300);
  auto unknown = Read("<< /BaseFont /Unknown >>");
  EXPECT_EQ(Measure(*unknown, "A"), -1);
  ExpectError("CalcStringWidth", CPDFException::kUser, "undefined TrueType font: Unknown");
}

TEST_F(TrueTypeFontTest, WidthEntriesThatFail) {
  struct Case {
    const char* font;
    const char* factor;
  };
  const Case cases[] = {
      {"<< /FirstChar 0 /LastChar 5 /Widths [] >>", "CPDFTrueTypeFont::Get_BaseFont()"},
      {"<< /BaseFont /KanafixSansItalic /LastChar 5 /Widths [] >>", "CPDFTrueTypeFont::Get_FirstChar()"},
      {"<< /BaseFont /KanafixSansItalic /FirstChar 5 /Widths [] >>", "CPDFTrueTypeFont::Get_LastChar()"},
      // Codes are single bytes: ranges beyond them are refused, not walked.
      {"<< /BaseFont /KanafixSansItalic /FirstChar 0 /LastChar 2000000000 /Widths [] >>",
       "CPDFTrueTypeFont::Get_LastChar()"},
      {"<< /BaseFont /KanafixSansItalic /FirstChar -3 >>", "CPDFTrueTypeFont::Get_FirstChar()"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.font);
    auto font = Read(c.font);
    EXPECT_FALSE(font->CreateWidths());
    ExpectError("CreateWidths", CPDFException::kInternal, c.factor);
    EXPECT_EQ(Measure(*font, "A"), -1);
    ExpectError("CalcStringWidth", CPDFException::kInternal, c.factor);
  }
  auto unknown = Read("<< /BaseFont /Unknown /FirstChar 0 /LastChar 5 /Widths [] >>");
  EXPECT_FALSE(unknown->CreateWidths());
  ExpectError("CreateWidths", CPDFException::kUser, "undefined TrueType font: Unknown");
}

TEST_F(TrueTypeFontTest, CreateWidthsRefillsOrAddsWidths) {
  // An indirect Widths is refilled in place, and the document told.
  CPDFObjRef widthsRef = AddParsed("[1 2 3]");
  auto font = Read("<< /BaseFont /KanafixSansItalic /FirstChar 64 /LastChar 66 /Widths " +
                   std::to_string(widthsRef.GetObjNum()) + " 0 R >>");
  ASSERT_TRUE(font->CreateWidths()) << doc.error.Factor;
  EXPECT_EQ(WrittenObj(widthsRef), "[" + std::to_string(Advance("Kanafix Sans Italic", 64)) + " 650 " +
                                       std::to_string(Advance("Kanafix Sans Italic", 66)) + "]");
  ASSERT_EQ(doc.updated.size(), 1u);
  EXPECT_EQ(doc.updated[0], widthsRef);

  // Without Widths: codes 0..255 in a new indirect array; FirstChar and
  // LastChar are not added.
  auto bare = Read("<< /BaseFont /KanafixSansItalic >>");
  ASSERT_TRUE(bare->CreateWidths());
  CPDFObjRef made = RefOf(*bare, "Widths");
  ASSERT_TRUE(made.IsValid());
  ASSERT_EQ(bare->Get_Widths()->Count(), 256);
  EXPECT_EQ(Written(bare->Get_Widths()->GetObj(&doc, 0x41)), "650");
  EXPECT_EQ(Written(bare->Get_Widths()->GetObj(&doc, 0x20)), "0");
  EXPECT_FALSE(bare->HasKey("FirstChar"));
  EXPECT_FALSE(bare->HasKey("LastChar"));
}

}  // namespace
}  // namespace koyo
