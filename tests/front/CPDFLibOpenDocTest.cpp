// Opening and closing documents through the library instance.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "front/CPDFLib.h"
#include "koyo/document/CPDFDoc.h"
#include "koyo/object/CPDFException.h"
#include "tests/document/PdfFixture.h"

namespace koyo {
namespace {

TEST(CPDFLibOpenDoc, OpensAndClosesADocumentOfTheInstance) {
  std::unique_ptr<CPDFLib> lib(CPDFLib::Create("/tmp", nullptr, nullptr, nullptr, nullptr));
  ASSERT_NE(lib, nullptr);
  test::PdfBuilder pdf;
  test::AddMinimalDocument(pdf);
  pdf.Section("/Root 1 0 R", 4);
  test::ScratchDir dir;
  std::string path = dir.Write("ok.pdf", pdf.Text());
  CPDFException error("stale", "stale", CPDFException::kUser, "stale");
  CPDFDoc* doc = lib->OpenDoc(path.c_str(), nullptr, &error);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetLibrary(), lib.get());
  EXPECT_EQ(doc->RealizeOptions(), lib->GetRealizeOptions());
  EXPECT_NE(doc->GetObj(CPDFObjRef(3, 0)), nullptr);
  lib->CloseDoc(doc);
  lib->CloseDoc(nullptr);  // nothing to do
}

TEST(CPDFLibOpenDoc, FailureCopiesTheDocumentRecord) {
  std::unique_ptr<CPDFLib> lib(CPDFLib::Create(nullptr, nullptr, nullptr, nullptr, nullptr));
  ASSERT_NE(lib, nullptr);
  test::ScratchDir dir;
  CPDFException error;
  EXPECT_EQ(lib->OpenDoc(dir.Path("missing.pdf").c_str(), nullptr, &error), nullptr);
  EXPECT_EQ(error.Module, "CPDFDoc");
  EXPECT_EQ(error.Method, "Open");
  EXPECT_EQ(error.Type, CPDFException::kRuntimeLibrary);
  EXPECT_FALSE(error.Factor.empty());

  std::string gif = dir.Write("image.pdf", "GIF89a\nrest");
  EXPECT_EQ(lib->OpenDoc(gif.c_str(), nullptr, &error), nullptr);
  EXPECT_EQ(error.Module, "CPDFHeader");
  EXPECT_EQ(error.Factor, "invalidheader: GIF89a");
  EXPECT_EQ(lib->OpenDoc(gif.c_str(), nullptr, nullptr), nullptr);  // no record asked for
}

}  // namespace
}  // namespace koyo
