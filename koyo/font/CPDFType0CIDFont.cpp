#include "koyo/font/CPDFType0CIDFont.h"

#include <optional>
#include <vector>

#include "koyo/object/CPDFInt.h"
#include "koyo/font/FontCall.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

namespace {

constexpr const char* kModule = "CPDFType0CIDFont";

// Writes the W groups of CID metrics: runs "first last width" of equal
// widths and lists "first [w ...]" of differing ones, leaving out CIDs of the
// default width. CIDs are taken as they come; a gap does not end a group.
class WidthGroups {
public:
  WidthGroups(ObjectTable* doc, CPDFArray& w, int32_t dw) : doc_(doc), w_(w), dw_(dw) {}

  void Add(int32_t cid, int32_t width) {
    if (width == dw_) {
      if (prev_) Close();
      return;
    }
    if (!prev_) {
      prev_ = Entry{cid, width};
      return;
    }
    if (width == prev_->width) {
      if (listFirst_) WriteList();
      if (!run_) run_ = *prev_;
    } else if (run_) {
      WriteRun(prev_->cid);
    } else {
      if (!listFirst_) listFirst_ = prev_->cid;
      listWidths_.push_back(prev_->width);
    }
    prev_ = Entry{cid, width};
  }

  void Finish() {
    if (prev_) Close();
  }

private:
  struct Entry {
    int32_t cid;
    int32_t width;
  };

  // Ends the pending group with the previous entry.
  void Close() {
    if (run_) {
      WriteRun(prev_->cid);
    } else {
      if (!listFirst_) listFirst_ = prev_->cid;
      listWidths_.push_back(prev_->width);
      WriteList();
    }
    prev_.reset();
  }
  void WriteRun(int32_t last) {
    Append(new CPDFInt(run_->cid));
    Append(new CPDFInt(last));
    Append(new CPDFInt(run_->width));
    run_.reset();
  }
  void WriteList() {
    Append(new CPDFInt(*listFirst_));
    auto* widths = new CPDFArray;
    Append(widths);
    for (int32_t width : listWidths_) AppendTo(doc_, *widths, new CPDFInt(width), kModule, "CreateWidths");
    listFirst_.reset();
    listWidths_.clear();
  }
  void Append(CPDFObject* value) { AppendTo(doc_, w_, value, kModule, "CreateWidths"); }

  ObjectTable* doc_;
  CPDFArray& w_;
  int32_t dw_;
  std::optional<Entry> prev_;
  std::optional<Entry> run_;
  std::optional<int32_t> listFirst_;
  std::vector<int32_t> listWidths_;
};

}  // namespace

bool CPDFType0CIDFont::Verify(ObjectTable* doc, CPDFObject* value) {
  return CPDFCIDFont::Verify(doc, value) && EntryIsName(doc, *DictOf(value), "Subtype", Name_CIDFontType0());
}

bool CPDFType0CIDFont::Create(ObjectTable* doc, const char* baseFont, CPDFCIDSysInfo* cidSystemInfo,
                              CPDFFontDesc* fontDescriptor) {
  return CPDFCIDFont::Create(doc, baseFont, cidSystemInfo, fontDescriptor) &&
         StoreName(*this, "Subtype", Name_CIDFontType0());
}

bool CPDFType0CIDFont::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] { RealizeCIDEntries(doc); });
}

bool CPDFType0CIDFont::CreateWidths() {
  ObjectTable* doc = GetDoc();
  return FontBoundary<bool>(doc, kModule, "CreateWidths", false, [&]() -> bool {
    CPDFName* base = Get_BaseFont();
    FontServices* services = ServicesOf(doc);
    AFMFile* afm = base && services ? services->GetAFM(base->c_str()) : nullptr;
    if (!afm || !afm->isCIDFont) return false;
    int32_t dw = 1000;
    if (CPDFNumber* value = Get_DW()) {
      dw = value->GetInt();
    } else if (!Set_DW(new CPDFInt(dw))) {
      ThrowPDF(kModule, "CreateWidths", CPDFException::kInternal, "");
    }
    CPDFObjRef ref;
    CPDFArray* w = Get_W(&ref);
    if (w) {
      EmptyForRewrite(doc, *w, ref, kModule, "CreateWidths", "CPDFCIDFont::Get_W()");
    } else {
      w = new CPDFArray;
      if (!Set_W(w)) ThrowPDF(kModule, "CreateWidths", CPDFException::kInternal, "");
    }
    WidthGroups groups(doc, *w, dw);
    for (const auto& [cid, glyph] : afm->GlyphsByCID()) groups.Add(cid, glyph.wx);
    groups.Finish();
    return true;
  });
}

}  // namespace koyo
