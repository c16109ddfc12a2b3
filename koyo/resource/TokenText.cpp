#include "koyo/resource/TokenText.h"

#include <limits>

namespace koyo {

std::vector<std::string_view> SplitTokens(std::string_view line, std::string_view separators) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && separators.find(line[i]) != std::string_view::npos) ++i;
    size_t start = i;
    while (i < line.size() && separators.find(line[i]) == std::string_view::npos) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeLiteralString(std::string_view token) {
  if (token.size() < 2 || token.front() != '(' || token.back() != ')') return std::string(token);
  std::string_view body = token.substr(1, token.size() - 2);
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c != '\\' || i + 1 >= body.size()) {
      out += c;
      continue;
    }
    char e = body[++i];
    switch (e) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      default:
        if (e >= '0' && e <= '7') {
          int value = e - '0';
          for (int n = 1; n < 3 && i + 1 < body.size() && body[i + 1] >= '0' && body[i + 1] <= '7'; ++n)
            value = value * 8 + (body[++i] - '0');
          out += static_cast<char>(value & 0xFF);
        } else {
          out += e;  // \( \) \\ and any other escaped character stand for themselves
        }
    }
  }
  return out;
}

std::string DecodeName(std::string_view token) {
  if (token.empty() || token.front() != '/') return std::string(token);
  std::string out;
  for (size_t i = 1; i < token.size(); ++i) {
    if (token[i] == '#' && i + 2 < token.size() && HexValue(token[i + 1]) >= 0 &&
        HexValue(token[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(token[i + 1]) * 16 + HexValue(token[i + 2]));
      i += 2;
    } else {
      out += token[i];
    }
  }
  return out;
}

bool DecodeHexString(std::string_view token, std::string& out) {
  out.clear();
  if (token.size() < 2 || token.front() != '<' || token.back() != '>') return false;
  int high = -1;
  for (size_t i = 1; i + 1 < token.size(); ++i) {
    int v = HexValue(token[i]);
    if (v < 0) return false;
    if (high < 0) {
      high = v;
    } else {
      out += static_cast<char>(high * 16 + v);
      high = -1;
    }
  }
  if (high >= 0) out += static_cast<char>(high * 16);
  return true;
}

int32_t LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\f')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<int32_t>::max()) value = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) value = std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int16_t ToInt16(int32_t value) {
  if (value > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (value < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(value);
}

uint16_t ToUInt16(int32_t value) {
  if (value > 0xFFFF) return 0xFFFF;
  if (value < 0) return 0;
  return static_cast<uint16_t>(value);
}

}  // namespace koyo
