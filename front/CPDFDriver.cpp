#include "front/CPDFDriver.h"

#include <cstdarg>
#include <map>
#include <optional>
#include <utility>

#include "front/CPDFLib.h"
#include "front/DriverMessage.h"
#include "front/Log.h"
#include "front/RepairObserver.h"
#include "koyo/document/CPDFDoc.h"
#include "koyo/font/SystemFont.h"
#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/object/CPDFObjRef.h"
#include "koyo/object/CPDFException.h"
#include "koyo/platform/Files.h"
#include "koyo/platform/Format.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFResDict.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/sysfont/FontName.h"
#include "koyo/sysfont/TrueTypeInfo.h"

namespace kanafix {

using koyo::CPDFArray;
using koyo::CPDFDict;
using koyo::CPDFDoc;
using koyo::CPDFException;
using koyo::CPDFName;
using koyo::CPDFObject;
using koyo::CPDFObjRef;

namespace {

constexpr uint8_t kShiftJisCharSet = 128;

// The name stored under key, or an empty text.
std::string NameOf(CPDFDoc* doc, const CPDFDict* dict, const char* key) {
  CPDFObject* value = dict ? dict->GetValue(doc, key) : nullptr;
  if (value && value->IsType(CPDFObject::kName)) return static_cast<CPDFName*>(value)->c_str();
  return std::string();
}

}  // namespace

CPDFDriver* CPDFDriver::Create(const char* tempDir) {
  koyo::CPDFLib* library = koyo::CPDFLib::Create(tempDir, nullptr, nullptr, nullptr, koyo::CPDFLib::kVersion);
  if (!library) {
    LogLine("cannot initialize libkoyo");
    return nullptr;
  }
  // A repair looks only at the pages' fonts: pages realize just their boxes
  // and resources, and resource dictionaries just their Font category.
  library->SetRealizeOptions(koyo::kRealizeMinimal);
  return new CPDFDriver(library);
}

CPDFDriver::CPDFDriver(koyo::CPDFLib* library) : library_(library) {}

CPDFDriver::~CPDFDriver() = default;

bool CPDFDriver::Fail(const CPDFException* record, const char* fmt, ...) {
  char text[kDriverMessageSize];
  va_list ap;
  va_start(ap, fmt);
  koyo::platform::FormatBoundedV(text, sizeof text, fmt, ap);
  va_end(ap);
  message_ = text;
  LogLine("%%%%[ Error: %s ]%%%%", message_.c_str());
  if (record) LogException(*record);
  return false;
}

bool CPDFDriver::Run(const char* path) {
  message_.clear();
  const std::string file = path ? path : "";
  // The name messages give the file: the caller's name for it when the run
  // works on a stand-in.
  const std::string shown = displayPath_.empty() ? file : displayPath_;


  std::string probe = file;
  if (!probe.empty() && probe.back() == koyo::platform::kPathSeparator && probe.size() > 1) probe.pop_back();
  if (probe.empty() || (!koyo::platform::FileExists(probe.c_str()) && !koyo::platform::IsDirectory(probe.c_str()))) {
    return Fail(nullptr, "file not found: %s", shown.c_str());
  }

  CPDFException openError;
  CPDFDoc* doc = library_->OpenDoc(file.c_str(), nullptr, &openError);
  if (!doc) return Fail(&openError, "cannot open PDF Document: %s", shown.c_str());

  // From here on every exit closes the document. A failed run that was going
  // to update the caller's own file keeps it as it was: the document must know
  // before the save is prepared, because a failing Flush gives up the save
  // (and with it the appended file) before the driver sees the failure.
  doc->SetKeepOutputOnClose(keepFileOnFailure_);
  auto close = [&]() {
    library_->CloseDoc(doc);
    doc = nullptr;
  };

  const int32_t pageCount = doc->GetPageCount();
  if (observer_) observer_->OnDocument(pageCount);

  if (!dryRun_ && !doc->Save(file.c_str(), true, false)) {
    bool result = Fail(&doc->GetError(), "cannot save PDF Document: %s", shown.c_str());
    close();
    return result;
  }

  // What became of each indirect font met so far, so that a font shared by
  // many pages is examined once: replaced (no value), or left for a reason.
  std::map<std::pair<int32_t, int32_t>, std::optional<SkipReason>> met;
  for (int32_t i = 0; i < pageCount; ++i) {
    CPDFObjRef pageRef;
    koyo::CPDFPage* page = doc->GetPage(i, &pageRef);
    if (!page) {
      bool result = Fail(&doc->GetError(), "cannot get PDF Page: %d", i + 1);
      close();
      return result;
    }
    koyo::CPDFResDict* resources = page->Get_Resources();
    CPDFObject* fonts = resources ? resources->GetValue(doc, "Font") : nullptr;
    if (!fonts || !fonts->IsType(CPDFObject::kDict)) {
      bool result = Fail(&doc->GetError(), "cannot get PDF Resources");
      close();
      return result;
    }
    CPDFDict* fontDict = static_cast<CPDFDict*>(fonts);
    for (auto& entry : *fontDict) {
      if (entry.value && entry.value->IsReference()) {
        const CPDFObjRef& known = *static_cast<const CPDFObjRef*>(entry.value);
        auto seen = met.find({known.GetObjNum(), known.GetGenNum()});
        if (seen != met.end()) {
          // Replaced already, or left for the same reason as before.
          if (!seen->second || !observer_) continue;
          FontVisit visit;
          visit.page = i + 1;
          visit.resourceName = entry.key.c_str();
          CPDFObject* loaded = doc->GetObj(known);
          auto* font = loaded && loaded->IsType(CPDFObject::kDict) ? static_cast<CPDFDict*>(loaded) : nullptr;
          visit.subtype = NameOf(doc, font, "Subtype");
          visit.baseFont = NameOf(doc, font, "BaseFont");
          visit.objectNumber = known.GetObjNum();
          visit.generation = known.GetGenNum();
          observer_->OnSkipped(visit, *seen->second);
          continue;
        }
      }
      const std::string resourceName = entry.key.c_str();
      CPDFObjRef ref;
      doc->ClearError();
      CPDFObject* value = CPDFObject::Resolve(doc, entry.value, &ref);
      if (!value) {
        bool result = Fail(&doc->GetError(), "cannot get PDF Font: %s", resourceName.c_str());
        close();
        return result;
      }
      FontVisit visit;
      visit.page = i + 1;
      visit.resourceName = resourceName;
      if (!value->IsType(CPDFObject::kDict)) {
        // Not a font dictionary at all: it names no font to look up.
        if (observer_) observer_->OnSkipped(visit, SkipReason::kNotInstalled);
        continue;
      }
      CPDFDict* font = static_cast<CPDFDict*>(value);
      visit.subtype = NameOf(doc, font, "Subtype");
      visit.baseFont = NameOf(doc, font, "BaseFont");
      if (!ref.IsValid()) {
        if (observer_) observer_->OnSkipped(visit, SkipReason::kDirect);
        continue;
      }
      visit.objectNumber = ref.GetObjNum();
      visit.generation = ref.GetGenNum();
      // Left alone, for this and every later use of the font.
      auto skip = [&](SkipReason reason) {
        met[{ref.GetObjNum(), ref.GetGenNum()}] = reason;
        if (observer_) observer_->OnSkipped(visit, reason);
      };

      // The name is copied: replacing the font destroys the old dictionary.
      const std::string baseFont = visit.baseFont;
      char normalised[koyo::kFontNameBufferSize];
      koyo::TrueTypeInfo* info =
          koyo::NormalizeFontName(normalised, baseFont.c_str()) ? library_->GetTrueTypeInfo(normalised) : nullptr;
      if (!info) {
        skip(SkipReason::kNotInstalled);
        continue;
      }
      if (info->lfCharSet != kShiftJisCharSet) {
        skip(SkipReason::kNotJapanese);
        continue;
      }
      if (koyo::EmbedsFontProgram(doc, *font)) {
        skip(SkipReason::kEmbedded);
        continue;
      }
      // A composite font keeps the CMap its text is coded for; one with an
      // embedded CMap cannot be rebuilt from a name.
      std::string encoding;
      if (visit.subtype == "Type0") {
        CPDFObject* enc = font->GetValue(doc, "Encoding");
        if (enc && enc->IsType(CPDFObject::kStream)) {
          skip(SkipReason::kEncodingStream);
          continue;
        }
        if (enc && enc->IsType(CPDFObject::kName)) encoding = static_cast<CPDFName*>(enc)->c_str();
      }

      CPDFDict* replacement = koyo::CreateSystemFont(doc, baseFont.c_str(), encoding.c_str());
      if (!replacement) {
        bool result = Fail(&doc->GetError(), "cannot create PDF Font: %s", baseFont.c_str());
        close();
        return result;
      }
      const std::string newEncoding = NameOf(doc, replacement, "Encoding");
      if (dryRun_) {
        delete replacement;
      } else {
        if (!doc->RegistObj(replacement, &ref, &ref)) {
          delete replacement;
          bool result = Fail(&doc->GetError(), "cannot regist PDF Font: %s", baseFont.c_str());
          close();
          return result;
        }
        if (!doc->UpdateObj(ref)) {
          bool result = Fail(&doc->GetError(), "cannot update PDF Font: %s", baseFont.c_str());
          close();
          return result;
        }
      }
      met[{ref.GetObjNum(), ref.GetGenNum()}] = std::nullopt;
      if (observer_) observer_->OnReplaced(visit, newEncoding);
    }
    // Nothing of the page is needed any more: it goes, with what it holds
    // directly (its own resources, usually), and is read and realized again
    // if asked for. Indirect resource dictionaries stay: a Pages node may
    // hold the same one, realized, for the pages that inherit it.
    (void)doc->UnloadObj(pageRef);
  }

  if (!dryRun_ && !doc->Flush()) {
    bool result = Fail(&doc->GetError(), "cannot flush PDF Document: %s", shown.c_str());
    close();
    return result;
  }
  close();
  return true;
}

}  // namespace kanafix
