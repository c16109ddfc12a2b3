#include "koyo/resource/SJISConvert.h"

#include <algorithm>

#include "koyo/resource/SJISData.h"

namespace koyo {

namespace {

using resource_data::CodePair;

// Bisection over a table closed by the pair FFFF FFFF, which is never a result.
bool Find(const CodePair* table, size_t size, uint16_t key, uint16_t& value) {
  const CodePair* end = table + (size > 0 ? size - 1 : 0);
  const CodePair* it = std::lower_bound(table, end, key,
                                        [](const CodePair& p, uint16_t k) { return p.from < k; });
  if (it == end || it->from != key) return false;
  value = it->to;
  return true;
}

bool ConvertibleSingle(unsigned char b, bool withKana) {
  return (b >= 0x01 && b <= 0x0D) || (b >= 0x10 && b <= 0x1A) || (b >= 0x1C && b <= 0x7F) ||
         (withKana && b >= 0xA1 && b <= 0xDF);
}

using ByteLookup = bool (*)(uint16_t, uint16_t&);

size_t FromUnicode(unsigned char* out, size_t limit, const uint16_t* text, size_t length,
                   ByteLookup lookup) {
  size_t written = 0;
  for (size_t i = 0; i < length; ++i) {
    uint16_t unit = text[i];
    if (unit == 0) {
      if (written < limit) out[written] = 0;
      break;
    }
    uint16_t code;
    if (!lookup(unit, code)) continue;
    size_t need = code < 0x100 ? 1 : 2;
    if (written + need > limit) break;
    if (need == 2) out[written++] = static_cast<unsigned char>(code >> 8);
    out[written++] = static_cast<unsigned char>(code & 0xFF);
  }
  return written;
}

}  // namespace

bool LookupSJISToUnicode(uint16_t code, uint16_t& unicode) {
  return Find(resource_data::kSJISToUnicode, resource_data::kSJISToUnicodeSize, code, unicode);
}
bool LookupUnicodeToSJIS(uint16_t unicode, uint16_t& code) {
  return Find(resource_data::kUnicodeToSJIS, resource_data::kUnicodeToSJISSize, unicode, code);
}
bool LookupEUCToUnicode(uint16_t code, uint16_t& unicode) {
  return Find(resource_data::kEUCToUnicode, resource_data::kEUCToUnicodeSize, code, unicode);
}
bool LookupUnicodeToEUC(uint16_t unicode, uint16_t& code) {
  return Find(resource_data::kUnicodeToEUC, resource_data::kUnicodeToEUCSize, unicode, code);
}

size_t SJISToUnicode(uint16_t* out, size_t limit, const unsigned char* text, size_t length) {
  size_t written = 0;
  size_t i = 0;
  while (i < length && written < limit) {
    unsigned char b = text[i];
    if (b == 0) {
      out[written] = 0;
      break;
    }
    bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF) || (b >= 0xFA && b <= 0xFC);
    uint16_t unicode;
    if (lead && i + 1 < length) {
      unsigned char t = text[i + 1];
      if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) {
        if (LookupSJISToUnicode(static_cast<uint16_t>(b << 8 | t), unicode)) out[written++] = unicode;
        i += 2;
        continue;
      }
    }
    if (ConvertibleSingle(b, true) && LookupSJISToUnicode(b, unicode)) out[written++] = unicode;
    ++i;
  }
  return written;
}

size_t UnicodeToSJIS(unsigned char* out, size_t limit, const uint16_t* text, size_t length) {
  return FromUnicode(out, limit, text, length, LookupUnicodeToSJIS);
}

size_t EUCToUnicode(uint16_t* out, size_t limit, const unsigned char* text, size_t length) {
  size_t written = 0;
  size_t i = 0;
  while (i < length && written < limit) {
    unsigned char b = text[i];
    if (b == 0) {
      out[written] = 0;
      break;
    }
    uint16_t unicode;
    if (i + 1 < length) {
      unsigned char t = text[i + 1];
      bool pair = (b >= 0xA1 && b <= 0xFE && t >= 0xA1 && t <= 0xFE) ||
                  (b == 0x8E && t >= 0xA1 && t <= 0xDF);
      if (pair) {
        if (LookupEUCToUnicode(static_cast<uint16_t>(b << 8 | t), unicode)) out[written++] = unicode;
        i += 2;
        continue;
      }
      if (b == 0x8F && i + 2 < length && t >= 0xA1 && t <= 0xFE && text[i + 2] >= 0xA1 &&
          text[i + 2] <= 0xFE) {
        i += 3;  // JIS X 0212: not in the table
        continue;
      }
    }
    if (ConvertibleSingle(b, false) && LookupEUCToUnicode(b, unicode)) out[written++] = unicode;
    ++i;
  }
  return written;
}

size_t UnicodeToEUC(unsigned char* out, size_t limit, const uint16_t* text, size_t length) {
  return FromUnicode(out, limit, text, length, LookupUnicodeToEUC);
}

}  // namespace koyo
