#include "front/cli/DisplayText.h"

#include <cstdint>

#include "koyo/resource/SJISConvert.h"

namespace kanafix::cli {

namespace {

const char kHex[] = "0123456789ABCDEF";
const char kLowerHex[] = "0123456789abcdef";

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsControl(uint32_t cp) { return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp < 0xA0); }

// Decodes one UTF-8 sequence at text[*pos]; false for anything that is not
// the shortest form of a scalar value.
bool NextUtf8(std::string_view text, size_t* pos, uint32_t* cp) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char b = byte(*pos);
  size_t length;
  uint32_t value;
  if (b < 0x80) {
    *cp = b;
    ++*pos;
    return true;
  } else if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
    value = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    value = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    value = b & 0x07;
  } else {
    return false;
  }
  if (text.size() - *pos < length) return false;
  for (size_t i = 1; i < length; ++i) {
    unsigned char c = byte(*pos + i);
    if ((c & 0xC0) != 0x80) return false;
    value = value << 6 | (c & 0x3F);
  }
  if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
      (value >= 0xD800 && value <= 0xDFFF)) {
    return false;
  }
  *cp = value;
  *pos += length;
  return true;
}

bool DecodeShiftJis(std::string_view bytes, std::string* out) {
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    uint16_t unicode = 0;
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    if (lead) {
      if (i + 1 >= bytes.size()) return false;
      const unsigned char t = static_cast<unsigned char>(bytes[i + 1]);
      if (!((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC))) return false;
      if (!koyo::LookupSJISToUnicode(static_cast<uint16_t>(b << 8 | t), unicode)) return false;
      i += 2;
    } else {
      if (!((b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF))) return false;
      if (!koyo::LookupSJISToUnicode(b, unicode)) return false;
      ++i;
    }
    if (IsControl(unicode)) return false;
    AppendUtf8(*out, unicode);
  }
  return true;
}

}  // namespace

std::string EscapeBytes(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || b >= 0x7F || b == '#') {
      out.push_back('#');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0x0F]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string FontNameText(std::string_view bytes) {
  std::string decoded;
  if (DecodeShiftJis(bytes, &decoded)) return decoded;
  return EscapeBytes(bytes);
}

std::string PathText(std::string_view bytes) {
  for (size_t pos = 0; pos < bytes.size();) {
    uint32_t cp;
    if (!NextUtf8(bytes, &pos, &cp) || IsControl(cp)) return EscapeBytes(bytes);
  }
  return std::string(bytes);
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  const auto unit = [&out](uint32_t u) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kLowerHex[(u >> shift) & 0x0F]);
  };
  for (size_t pos = 0; pos < text.size();) {
    uint32_t cp;
    if (!NextUtf8(text, &pos, &cp)) {
      cp = 0xFFFD;
      ++pos;
    }
    switch (cp) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    if (cp >= 0x20 && cp < 0x7F) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x10000) {
      unit(cp);
    } else {
      cp -= 0x10000;
      unit(0xD800 + (cp >> 10));
      unit(0xDC00 + (cp & 0x3FF));
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace kanafix::cli
