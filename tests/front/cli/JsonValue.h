// A small strict JSON reader for the tests: it accepts exactly the JSON
// grammar (no trailing commas, no comments, nothing after the value) and turns
// \u escapes, surrogate pairs included, into UTF-8.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kanafix::cli::test {

struct JsonValue {
  enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;

  bool Has(const std::string& key) const { return kind == kObject && members.count(key); }
  const JsonValue& operator[](const std::string& key) const { return members.at(key); }
  const JsonValue& operator[](size_t i) const { return items.at(i); }
};

// False (with *error) when text is not one complete JSON value.
bool ParseJson(std::string_view text, JsonValue* value, std::string* error);

}  // namespace kanafix::cli::test
