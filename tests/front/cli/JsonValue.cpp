#include "JsonValue.h"

#include <cstdint>
#include <charconv>

namespace kanafix::cli::test {

namespace {

class Parser {
public:
  explicit Parser(std::string_view text) : text_(text) {}

  bool Document(JsonValue* value, std::string* error) {
    bool ok = Value(value, 0) && (Space(), pos_ == text_.size());
    if (!ok) *error = "invalid JSON at offset " + std::to_string(pos_);
    return ok;
  }

private:
  void Space() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r')) ++pos_;
  }
  bool Eat(char c) {
    Space();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }
  bool Hex4(uint32_t* out) {
    if (text_.size() - pos_ < 4) return false;
    *out = 0;
    for (int i = 0; i < 4; ++i) {
      char c = text_[pos_++];
      int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (d < 0) return false;
      *out = *out << 4 | static_cast<uint32_t>(d);
    }
    return true;
  }
  static void Utf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | cp >> 18));
      out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  bool String(std::string* out) {
    if (!Eat('"')) return false;
    while (pos_ < text_.size()) {
      const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') {
        out->push_back(static_cast<char>(c));
        continue;
      }
      if (pos_ >= text_.size()) return false;
      const char e = text_[pos_++];
      switch (e) {
        case '"': case '\\': case '/': out->push_back(e); break;
        case 'b': out->push_back('\b'); break;
        case 'f': out->push_back('\f'); break;
        case 'n': out->push_back('\n'); break;
        case 'r': out->push_back('\r'); break;
        case 't': out->push_back('\t'); break;
        case 'u': {
          uint32_t cp;
          if (!Hex4(&cp)) return false;
          if (cp >= 0xDC00 && cp <= 0xDFFF) return false;  // a low surrogate alone
          if (cp >= 0xD800 && cp <= 0xDBFF) {
            uint32_t low;
            if (!Literal("\\u") || !Hex4(&low) || low < 0xDC00 || low > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          }
          Utf8(*out, cp);
          break;
        }
        default: return false;
      }
    }
    return false;
  }
  bool Value(JsonValue* v, int depth) {
    if (depth > 64) return false;
    Space();
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_];
    if (c == '{') {
      ++pos_;
      v->kind = JsonValue::kObject;
      if (Eat('}')) return true;
      do {
        std::string key;
        Space();
        if (!String(&key) || !Eat(':')) return false;
        JsonValue member;
        if (!Value(&member, depth + 1)) return false;
        if (!v->members.emplace(key, std::move(member)).second) return false;  // duplicate key
      } while (Eat(','));
      return Eat('}');
    }
    if (c == '[') {
      ++pos_;
      v->kind = JsonValue::kArray;
      if (Eat(']')) return true;
      do {
        JsonValue item;
        if (!Value(&item, depth + 1)) return false;
        v->items.push_back(std::move(item));
      } while (Eat(','));
      return Eat(']');
    }
    if (c == '"') {
      v->kind = JsonValue::kString;
      return String(&v->text);
    }
    if (Literal("null")) return v->kind = JsonValue::kNull, true;
    if (Literal("true")) return v->kind = JsonValue::kBool, v->boolean = true, true;
    if (Literal("false")) return v->kind = JsonValue::kBool, v->boolean = false, true;
    // A number: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    const size_t start = pos_;
    auto digits = [&]() {
      size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '0') {
      ++pos_;
    } else if (!digits()) {
      return false;
    }
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      if (!digits()) return false;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (!digits()) return false;
    }
    v->kind = JsonValue::kNumber;
    v->number = 0;
    return std::from_chars(text_.data() + start, text_.data() + pos_, v->number).ec == std::errc();
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

bool ParseJson(std::string_view text, JsonValue* value, std::string* error) {
  *value = JsonValue();
  return Parser(text).Document(value, error);
}

}  // namespace kanafix::cli::test
