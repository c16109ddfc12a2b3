// Fonts of a real document opened by the library instance: the page's
// resources hold font wrappers, measured and replaced through the instance's
// caches.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "front/CPDFLib.h"
#include "koyo/document/CPDFDoc.h"
#include "koyo/font/CPDFType0Font.h"
#include "koyo/font/CPDFType1Font.h"
#include "koyo/font/CPDFType2CIDFont.h"
#include "koyo/font/SystemFont.h"
#include "koyo/structure/CPDFPage.h"
#include "tests/document/PdfFixture.h"

namespace koyo {
namespace {

std::string FontDocument() {
  test::PdfBuilder pdf;
  pdf.Object(1, 0, "<< /Type /Catalog /Pages 2 0 R >>");
  pdf.Object(2, 0, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  pdf.Object(3, 0,
             "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
             "/Resources << /Font << /F1 4 0 R /F2 5 0 R >> >> >>");
  pdf.Object(4, 0, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
  pdf.Object(5, 0,
             "<< /Type /Font /Subtype /Type0 /BaseFont /HeiseiMin-W3 /Encoding /90ms-RKSJ-H "
             "/DescendantFonts [6 0 R] >>");
  pdf.Object(6, 0,
             "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /HeiseiMin-W3 /DW 1000 /W [264 [555]] "
             "/CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >> /FontDescriptor 7 0 R >>");
  pdf.Object(7, 0,
             "<< /Type /FontDescriptor /Ascent 723 /CapHeight 0 /Descent -241 /Flags 4 /ItalicAngle 0 /StemV 0 "
             "/FontBBox [-123 -257 1001 910] /FontName /HeiseiMin-W3 /FontFile2 8 0 R >>");
  pdf.Object(8, 0, "<< /Length 4 /Length1 4 >>\nstream\nabcd\nendstream");
  pdf.Section("/Root 1 0 R", 9);
  return pdf.Text();
}

TEST(CPDFLibFonts, PageResourcesHoldFontWrappers) {
  std::unique_ptr<CPDFLib> lib(CPDFLib::Create(nullptr, nullptr, nullptr, nullptr, nullptr));
  ASSERT_NE(lib, nullptr);
  test::ScratchDir dir;
  std::string path = dir.Write("fonts.pdf", FontDocument());
  CPDFException error;
  CPDFDoc* doc = lib->OpenDoc(path.c_str(), nullptr, &error);
  ASSERT_NE(doc, nullptr) << test::Describe(error);
  EXPECT_EQ(doc->Fonts(), lib.get());
  EXPECT_EQ(doc->ErrorRecord(), &doc->GetError());

  CPDFPage* page = doc->GetPage(0);
  ASSERT_NE(page, nullptr) << test::Describe(doc->GetError());
  CPDFResDict* resources = page->Get_Resources();
  ASSERT_NE(resources, nullptr);
  EXPECT_NE(dynamic_cast<CPDFType1Font*>(resources->Lookup("Font", "F1")), nullptr);
  CPDFObjRef ref;
  auto* type0 = dynamic_cast<CPDFType0Font*>(resources->Lookup("Font", "F2", &ref));
  ASSERT_NE(type0, nullptr);
  EXPECT_EQ(ref, CPDFObjRef(5, 0));
  ASSERT_NE(dynamic_cast<CPDFType2CIDFont*>(type0->GetDescendant()), nullptr);
  ASSERT_NE(type0->GetFontDesc(), nullptr);
  EXPECT_NE(type0->GetFontDesc()->Get_FontFile2(), nullptr);
  EXPECT_TRUE(EmbedsFontProgram(doc, *type0));

  // A through 90ms-RKSJ-H is CID 264 (555); B takes DW.
  const unsigned char text[] = {'A', 'B'};
  EXPECT_EQ(type0->CalcStringWidth(text, 2), 555 + 1000) << test::Describe(doc->GetError());

  // A replacement takes over the font's number.
  CPDFFont* replacement = CreateSystemFont(doc, "HeiseiMin-W3", "");
  ASSERT_NE(replacement, nullptr) << test::Describe(doc->GetError());
  EXPECT_TRUE(doc->GetError().IsEmpty()) << test::Describe(doc->GetError());
  ASSERT_TRUE(doc->RegistObj(replacement, &ref)) << test::Describe(doc->GetError());
  ASSERT_TRUE(doc->UpdateObj(ref)) << test::Describe(doc->GetError());
  auto* now = dynamic_cast<CPDFType0Font*>(doc->GetObj(ref));
  ASSERT_EQ(now, replacement);
  EXPECT_FALSE(EmbedsFontProgram(doc, *now));
  auto* descendant = dynamic_cast<CPDFType2CIDFont*>(now->GetDescendant());
  ASSERT_NE(descendant, nullptr);
  auto* w = descendant->Get_W();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Count(), 9);
  lib->CloseDoc(doc);
}

}  // namespace
}  // namespace koyo
