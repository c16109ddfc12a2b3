// Page access of CPDFDoc: thin calls into the catalog's page tree.
#include "koyo/document/CPDFDoc.h"
#include "koyo/object/Boundary.h"
#include "koyo/structure/CPDFCatalog.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFPages.h"

namespace koyo {

namespace {

constexpr const char* kDoc = "CPDFDoc";
constexpr const char* kNoPagesInFDF = "There is no CPDFPage for FDF file.";

}  // namespace

CPDFPages* CPDFDoc::PageTreeIn(const char* method, CPDFObjRef* pagesRef) {
  CPDFTrailer* trailer = GetTrailer();
  if (!trailer) ThrowPDF(kDoc, method, CPDFException::kInternal, "CPDFDoc::GetTrailer()");
  auto* catalog = dynamic_cast<CPDFCatalog*>(trailer->Get_Root());
  if (!catalog) ThrowPDF(kDoc, method, CPDFException::kInternal, "CPDFTrailer::Get_Root()");
  CPDFPages* pages = catalog->Get_Pages(pagesRef);
  if (!pages) ThrowPDF(kDoc, method, CPDFException::kInternal, "CPDFCatalog::Get_Pages()");
  return pages;
}

int32_t CPDFDoc::GetPageCount() {
  return BoundaryValue<int32_t>(error_, kDoc, "GetPageCount", -1, [&] {
    if (IsFDF()) ThrowPDF(kDoc, "GetPageCount", CPDFException::kUser, kNoPagesInFDF);
    CPDFNumber* count = PageTreeIn("GetPageCount", nullptr)->Get_Count();
    if (!count) ThrowPDF(kDoc, "GetPageCount", CPDFException::kInternal, "CPDFPages::Get_Count()");
    return count->GetInt();
  });
}

CPDFPage* CPDFDoc::GetPage(int32_t index, CPDFObjRef* pageRef) {
  return BoundaryValue<CPDFPage*>(error_, kDoc, "GetPage", nullptr, [&] {
    // Without the final period, unlike the other page operations.
    if (IsFDF()) ThrowPDF(kDoc, "GetPage", CPDFException::kInternal, "There is no CPDFPage for FDF file");
    CPDFPage* page = PageTreeIn("GetPage", nullptr)->GetPage(index, pageRef);
    if (!page) ThrowPDF(kDoc, "GetPage", CPDFException::kInternal, "CPDFPages::GetPage()");
    return page;
  });
}

bool CPDFDoc::DeletePage(int32_t start, int32_t count) {
  return Boundary(error_, kDoc, "DeletePage", [&] {
    if (IsFDF()) ThrowPDF(kDoc, "DeletePage", CPDFException::kUser, kNoPagesInFDF);
    CPDFObjRef rootRef;
    CPDFPages* root = PageTreeIn("DeletePage", &rootRef);
    // Deleting updates the root node under its reference.
    if (!rootRef.IsValid()) ThrowPDF(kDoc, "DeletePage", CPDFException::kInternal, "CPDFCatalog::Get_Pages()");
    CPDFNumber* total = root->Get_Count();
    if (!total) ThrowPDF(kDoc, "DeletePage", CPDFException::kInternal, "CPDFPages::Get_Count()");
    int64_t n = total->GetInt();
    bool inRange = start >= 0 && start < n &&
                   (count == -1 || (count >= 0 && static_cast<int64_t>(start) + count <= n));
    if (!inRange) ThrowPDF(kDoc, "DeletePage", CPDFException::kUser, "Page position is out of range.");
    int64_t times = count == -1 ? n - start : count;
    for (int64_t i = 0; i < times; ++i) {
      if (!root->DeletePage(start, rootRef)) {
        ThrowPDF(kDoc, "DeletePage", CPDFException::kInternal, "CPDFPages::DeletePage()");
      }
    }
  });
}

}  // namespace koyo
