#include "koyo/platform/Locale.h"

#include <clocale>

namespace koyo::platform {

bool SelectJapaneseLocale() {
  static const char* const kNames[] = {"ja_JP.SJIS", "ja_JP.UTF-8", "C.UTF-8"};
  for (const char* name : kNames) {
    if (std::setlocale(LC_ALL, name)) return true;
  }
  return false;
}

}  // namespace koyo::platform
