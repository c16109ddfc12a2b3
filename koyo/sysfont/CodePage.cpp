#include "koyo/sysfont/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace koyo {

namespace {

// Owns one iconv conversion descriptor.
class Converter {
public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; false when any of it cannot be converted.
  bool Convert(std::string_view in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    out.clear();
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    std::vector<char> buffer(in.size() * 4 + 16);
    while (true) {
      char* dst = buffer.data();
      size_t dstLeft = buffer.size();
      const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer.data(), buffer.size() - dstLeft);
      if (rc != static_cast<size_t>(-1)) break;
      if (errno != E2BIG) return false;
    }
    // Flush any pending shift state.
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    out.append(buffer.data(), buffer.size() - dstLeft);
    return true;
  }

private:
  iconv_t cd_;
};

SingleByteTable BuildTable(const char* codePage) {
  SingleByteTable table;
  table.fill(kNoCharacter);
  Converter converter("UTF-32BE", codePage);
  if (!converter.ok()) {
    for (char32_t c = 0; c < 0x80; ++c) table[c] = c;
    return table;
  }
  std::string out;
  for (int code = 0; code < 256; ++code) {
    const char byte = static_cast<char>(code);
    if (!converter.Convert(std::string_view(&byte, 1), out) || out.size() != 4) continue;
    const auto* u = reinterpret_cast<const unsigned char*>(out.data());
    table[code] = (char32_t{u[0]} << 24) | (char32_t{u[1]} << 16) | (char32_t{u[2]} << 8) | u[3];
  }
  return table;
}

}  // namespace

const SingleByteTable* SingleByteCodePage(uint8_t charSet) {
  switch (charSet) {
    case kAnsiCharSet: {
      static const SingleByteTable table = BuildTable("CP1252");
      return &table;
    }
    case kMacCharSet: {
      static const SingleByteTable table = BuildTable("MACINTOSH");
      return &table;
    }
    case kShiftJisCharSet: {
      static const SingleByteTable table = BuildTable("CP932");
      return &table;
    }
    default:
      return nullptr;
  }
}

std::optional<std::string> Utf8ToShiftJis(std::string_view utf8) {
  Converter converter("CP932", "UTF-8");
  std::string out;
  if (!converter.ok() || !converter.Convert(utf8, out)) return std::nullopt;
  return out;
}

}  // namespace koyo
