#include "koyo/resource/EncodingTable.h"

#include "koyo/resource/EncodingData.h"

namespace koyo {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string EncodingTable::SyntheticName(uint8_t code) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string{'G', kDigits[code >> 4], kDigits[code & 0x0F]};
}

bool EncodingTable::GetName(uint8_t code, std::string& name) const {
  if (auto it = codeToName_.find(code); it != codeToName_.end()) {
    name = it->second;
    return true;
  }
  name = SyntheticName(code);
  return nameToCode_.find(name) != nameToCode_.end();
}

bool EncodingTable::GetCode(std::string_view name, uint8_t& code) const {
  if (auto it = nameToCode_.find(name); it != nameToCode_.end()) {
    code = it->second;
    return true;
  }
  if (name.size() == 3 && name[0] == 'G') {
    int high = HexDigit(name[1]), low = HexDigit(name[2]);
    if (high >= 0 && low >= 0) {
      code = static_cast<uint8_t>(high * 16 + low);
      return true;
    }
  }
  return false;
}

void EncodingTable::Set(uint8_t code, const std::string& name) {
  auto old = codeToName_.find(code);
  if (old != codeToName_.end()) {
    // The code's earlier name no longer leads back to it.
    auto back = nameToCode_.find(old->second);
    if (back != nameToCode_.end() && back->second == code) nameToCode_.erase(back);
    old->second = name;
  } else {
    codeToName_.emplace(code, name);
  }
  nameToCode_[name] = code;
}

bool EncodingTable::LoadByName(std::string_view name) {
  for (size_t i = 0; i < resource_data::kNamedEncodingCount; ++i) {
    const auto& enc = resource_data::kNamedEncodings[i];
    if (name != enc.name) continue;
    for (size_t k = 0; k < enc.count; ++k) Set(enc.pairs[k].code, enc.pairs[k].name);
    return true;
  }
  return false;
}

}  // namespace koyo
