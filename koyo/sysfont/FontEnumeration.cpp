#include "koyo/sysfont/FontEnumeration.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "koyo/sysfont/CodePage.h"

namespace koyo {

namespace {

const char* GetString(FcPattern* pattern, const char* object, int n) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch) return nullptr;
  return reinterpret_cast<const char*>(value);
}

bool LanguageIs(const char* lang, std::string_view wanted) {
  if (!lang) return false;
  const std::string_view l(lang);
  return l == wanted || (l.size() > wanted.size() && l.substr(0, wanted.size()) == wanted &&
                         l[wanted.size()] == '-');
}

std::string ShiftJisOrEmpty(const char* utf8) {
  if (!utf8) return std::string();
  return Utf8ToShiftJis(utf8).value_or(std::string());
}

// Formats FreeType reads that may be wrapped in an sfnt.
bool MayBeSfnt(const char* format) {
  return format && (std::strcmp(format, "TrueType") == 0 || std::strcmp(format, "CFF") == 0);
}

// Owns what a fontconfig listing allocates.
struct Listing {
  FcConfig* config = nullptr;
  FcPattern* pattern = nullptr;
  FcObjectSet* objects = nullptr;
  FcFontSet* fonts = nullptr;
  ~Listing() {
    if (fonts) FcFontSetDestroy(fonts);
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    if (config) FcConfigDestroy(config);
  }
};

}  // namespace

std::vector<FontFaceEntry> EnumerateFontFaces() {
  std::vector<FontFaceEntry> faces;
  Listing listing;
  listing.config = FcInitLoadConfigAndFonts();
  if (!listing.config) return faces;
  listing.pattern = FcPatternCreate();
  listing.objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FONTFORMAT, FC_OUTLINE, FC_FULLNAME,
                                     FC_FULLNAMELANG, FC_POSTSCRIPT_NAME, static_cast<char*>(nullptr));
  if (!listing.pattern || !listing.objects) return faces;
  listing.fonts = FcFontList(listing.config, listing.pattern, listing.objects);
  if (!listing.fonts) return faces;

  for (int i = 0; i < listing.fonts->nfont; ++i) {
    FcPattern* font = listing.fonts->fonts[i];
    const char* file = GetString(font, FC_FILE, 0);
    int index = 0;
    FcBool outline = FcFalse;
    if (!file || FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch) continue;
    if (FcPatternGetBool(font, FC_OUTLINE, 0, &outline) == FcResultMatch && !outline) continue;
    if (!MayBeSfnt(GetString(font, FC_FONTFORMAT, 0))) continue;
    if (index < 0 || (index >> 16) != 0) continue;  // named instances carry the instance above bit 16

    FontFaceEntry entry;
    entry.file = file;
    entry.index = index;
    const char* english = nullptr;
    const char* japanese = nullptr;
    const char* firstName = GetString(font, FC_FULLNAME, 0);
    for (int n = 0;; ++n) {
      const char* name = GetString(font, FC_FULLNAME, n);
      if (!name) break;
      const char* lang = GetString(font, FC_FULLNAMELANG, n);
      if (!english && LanguageIs(lang, "en")) english = name;
      if (!japanese && LanguageIs(lang, "ja")) japanese = name;
    }
    entry.fullName = ShiftJisOrEmpty(english ? english : firstName);
    entry.japaneseName = ShiftJisOrEmpty(japanese);
    entry.postScriptName = ShiftJisOrEmpty(GetString(font, FC_POSTSCRIPT_NAME, 0));
    faces.push_back(std::move(entry));
  }
  std::sort(faces.begin(), faces.end(), [](const FontFaceEntry& a, const FontFaceEntry& b) {
    return a.file != b.file ? a.file < b.file : a.index < b.index;
  });
  // A face listed twice (the same folder configured twice) counts once.
  faces.erase(std::unique(faces.begin(), faces.end(),
                          [](const FontFaceEntry& a, const FontFaceEntry& b) {
                            return a.file == b.file && a.index == b.index;
                          }),
              faces.end());
  return faces;
}

}  // namespace koyo
