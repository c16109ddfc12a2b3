// Listing the installed font faces from fontconfig's cached metadata, without
// opening any font file.
#pragma once
#include <string>
#include <vector>

namespace koyo {

// One face that may be a TrueType or OpenType face. Names are in the host's
// Shift-JIS bytes, empty when the face has none or it has no Shift-JIS form.
struct FontFaceEntry {
  std::string file;
  int index = 0;
  std::string fullName;        // English full name (name ID 4)
  std::string japaneseName;    // Japanese full name
  std::string postScriptName;  // name ID 6
};

// The faces of every outline font whose format can be an sfnt, ordered by file path
// and face index, so that the order does not depend on how fontconfig lists them.
// Bitmap and Type 1 fonts are left out; named instances of variable fonts too
// (their default instance is the face itself). Uses a configuration of its own,
// loaded from the usual places (FONTCONFIG_FILE included) and released before
// returning. Empty when fontconfig cannot be set up.
std::vector<FontFaceEntry> EnumerateFontFaces();

}  // namespace koyo
