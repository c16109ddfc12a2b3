#include "koyo/resource/AFMFile.h"

#include "koyo/platform/Files.h"
#include "koyo/platform/ProcessDirs.h"
#include "koyo/resource/AFMData.h"
#include "koyo/resource/LineReader.h"
#include "koyo/resource/TokenText.h"

namespace koyo {

namespace {

constexpr std::string_view kBlanks = " \t\f";

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && kBlanks.find(text.front()) != std::string_view::npos) text.remove_prefix(1);
  return text;
}

std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && kBlanks.find(text.back()) != std::string_view::npos) text.remove_suffix(1);
  return text;
}

// The value-th number after the key, or 0 when the line has fewer.
int16_t Number(const std::vector<std::string_view>& tokens, size_t index) {
  return index < tokens.size() ? ToInt16(LeadingInteger(tokens[index])) : 0;
}

bool Flag(const std::vector<std::string_view>& tokens) {
  return tokens.size() > 1 && tokens[1] == "true";
}

bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

}  // namespace

void AFMFile::Clear() { *this = AFMFile(); }

bool AFMFile::LoadFile(const std::string& path) {
  Clear();
  std::string data;
  if (!ReadWholeFile(path, data)) return false;
  return LoadData(data.data(), data.size());
}

bool AFMFile::LoadByName(const std::string& name) {
  if (IsPlainFileName(name)) {
    std::string dir = platform::ProcessAFMDirectory();
    if (!dir.empty() && dir.back() != platform::kPathSeparator) dir += platform::kPathSeparator;
    std::string path = dir + name + ".afm";
    if (platform::FileExists(path.c_str()) && LoadFile(path)) return true;
  }
  return LoadBuiltin(name);
}

bool AFMFile::LoadData(const char* data, size_t size) {
  Clear();
  if (!data) return false;
  LineReader reader(data, size);
  std::string_view line;
  if (!reader.Next(line) || line.substr(0, 16) != "StartFontMetrics") {
    Clear();
    return false;
  }
  bool inMetrics = false;
  while (reader.Next(line)) {
    if (line == "EndFontMetrics") break;
    if (inMetrics) {
      std::string_view body = SkipBlanks(line);
      if (body.empty() || body.front() == '%') continue;
      if (body.substr(0, 14) == "EndCharMetrics" &&
          (body.size() == 14 || kBlanks.find(body[14]) != std::string_view::npos)) {
        inMetrics = false;
        continue;
      }
      if (!ParseGlyphLine(body)) {
        Clear();
        return false;
      }
      continue;
    }
    if (!ParseGlobalLine(line)) inMetrics = true;
  }
  bool boxSet = fontBBox[0] || fontBBox[1] || fontBBox[2] || fontBBox[3];
  if (fontName.empty() || !boxSet) {
    Clear();
    return false;
  }
  return true;
}

// One line of the global section. False when it starts the character metrics.
bool AFMFile::ParseGlobalLine(std::string_view line) {
  std::string_view body = SkipBlanks(line);
  auto tokens = SplitTokens(body, kBlanks);
  auto starts = [&](std::string_view key) { return body.substr(0, key.size()) == key; };
  auto text = [&](std::string_view key) { return std::string(TrimEnd(SkipBlanks(body.substr(key.size())))); };

  if (starts("FontName")) fontName = text("FontName");
  else if (starts("FullName")) fullName = text("FullName");
  else if (starts("FamilyName")) familyName = text("FamilyName");
  else if (starts("Weight")) weight = text("Weight");
  else if (starts("FontBBox")) for (int k = 0; k < 4; ++k) fontBBox[k] = Number(tokens, 1 + k);
  else if (starts("Version")) version = text("Version");
  else if (starts("Notice")) notice = text("Notice");
  else if (starts("EncodingScheme")) encodingScheme = text("EncodingScheme");
  else if (starts("MappingScheme")) mappingScheme = Number(tokens, 1);
  else if (starts("EscChar")) escChar = Number(tokens, 1);
  else if (starts("CharacterSet")) characterSet = text("CharacterSet");
  else if (starts("Characters")) characters = Number(tokens, 1);
  else if (starts("IsBaseFont")) isBaseFont = Flag(tokens);
  else if (starts("VVector")) vVector[0] = Number(tokens, 1), vVector[1] = Number(tokens, 2);
  else if (starts("IsFixedV")) isFixedV = Flag(tokens);
  else if (starts("IsCIDFont")) isCIDFont = Flag(tokens);
  else if (starts("CapHeight")) capHeight = Number(tokens, 1);
  else if (starts("XHeight")) xHeight = Number(tokens, 1);
  else if (starts("Ascender")) ascender = Number(tokens, 1);
  else if (starts("Descender")) descender = Number(tokens, 1);
  else if (starts("StdHW")) stdHW = Number(tokens, 1);
  else if (starts("StdVW")) stdVW = Number(tokens, 1);
  else if (starts("UnderlinePosition")) underlinePosition = Number(tokens, 1);
  else if (starts("UnderlineThickness")) underlineThickness = Number(tokens, 1);
  else if (starts("ItalicAngle")) italicAngle = Number(tokens, 1);
  else if (starts("CharWidth")) charWidth[0] = Number(tokens, 1), charWidth[1] = Number(tokens, 2);
  else if (starts("IsFixedPitch")) isFixedPitch = Flag(tokens);
  else if (starts("stemV")) stemV = Number(tokens, 1);
  else if (!tokens.empty() && tokens[0] == "StartCharMetrics") return false;
  return true;
}

// One glyph: items "key values" separated by ";". False when it has no name.
bool AFMFile::ParseGlyphLine(std::string_view line) {
  AFMGlyphMetric g;
  bool named = false;
  for (std::string_view item : SplitTokens(line, ";")) {
    auto t = SplitTokens(item, kBlanks);
    if (t.empty()) continue;
    std::string_view key = t[0];
    if (key == "C") {
      g.code = Number(t, 1);
    } else if (key == "CH") {
      std::string bytes;
      if (t.size() > 1 && DecodeHexString(t[1], bytes) && !bytes.empty() && bytes.size() <= 2) {
        uint16_t v = static_cast<unsigned char>(bytes[0]);
        if (bytes.size() == 2) v = static_cast<uint16_t>(v << 8 | static_cast<unsigned char>(bytes[1]));
        g.code = static_cast<int16_t>(v);
      }
    } else if (key == "WX" || key == "W0X") {
      g.wx = Number(t, 1);
    } else if (key == "WY" || key == "W0Y") {
      g.wy = Number(t, 1);
    } else if (key == "W" || key == "W0") {
      g.wx = Number(t, 1);
      g.wy = Number(t, 2);
    } else if (key == "VV") {
      g.vv[0] = Number(t, 1);
      g.vv[1] = Number(t, 2);
    } else if (key == "N") {
      if (t.size() > 1) {
        g.name = std::string(t[1]);
        named = true;
      }
    } else if (key == "B") {
      for (int k = 0; k < 4; ++k) g.bbox[k] = Number(t, 1 + k);
    }
  }
  if (!named) return false;
  if (isCIDFont) {
    byCID_[ToUInt16(LeadingInteger(g.name))] = std::move(g);
  } else {
    std::string key = g.name;
    byName_[std::move(key)] = std::move(g);
  }
  return true;
}

bool AFMFile::LoadBuiltin(const std::string& name) {
  Clear();
  const resource_data::BuiltinAFM* found = nullptr;
  for (size_t i = 0; i < resource_data::kBuiltinAFMCount; ++i) {
    if (name == resource_data::kBuiltinAFMs[i].fontName) found = &resource_data::kBuiltinAFMs[i];
  }
  if (!found) return false;
  const auto& f = *found;
  fontName = f.fontName;
  fullName = f.fullName;
  familyName = f.familyName;
  weight = f.weight;
  for (int k = 0; k < 4; ++k) fontBBox[k] = f.fontBBox[k];
  version = f.version;
  notice = f.notice;
  encodingScheme = f.encodingScheme;
  characterSet = f.characterSet;
  characters = f.characters;
  isBaseFont = f.isBaseFont;
  isCIDFont = f.isCIDFont;
  isFixedPitch = f.isFixedPitch;
  capHeight = f.capHeight;
  xHeight = f.xHeight;
  ascender = f.ascender;
  descender = f.descender;
  stdHW = f.stdHW;
  stdVW = f.stdVW;
  underlinePosition = f.underlinePosition;
  underlineThickness = f.underlineThickness;
  italicAngle = f.italicAngle;
  for (size_t i = 0; i < f.glyphCount; ++i) {
    const auto& row = f.glyphs[i];
    AFMGlyphMetric g;
    g.code = row.code;
    g.wx = row.wx;
    g.name = row.name;
    for (int k = 0; k < 4; ++k) g.bbox[k] = row.bbox[k];
    byName_[g.name] = g;
  }
  for (size_t cid = 0; cid < f.cidCount; ++cid) {
    AFMGlyphMetric g;
    g.wx = static_cast<int16_t>(f.cidWidths[cid]);
    byCID_.emplace_hint(byCID_.end(), static_cast<uint16_t>(cid), std::move(g));
  }
  return true;
}

const AFMGlyphMetric* AFMFile::GlyphByName(std::string_view name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : &it->second;
}

const AFMGlyphMetric* AFMFile::GlyphByCID(uint16_t cid) const {
  auto it = byCID_.find(cid);
  return it == byCID_.end() ? nullptr : &it->second;
}

}  // namespace koyo
