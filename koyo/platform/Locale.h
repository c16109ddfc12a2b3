// Selection of the process's Japanese locale (multi-byte host text is Shift-JIS
// where the system offers it).
#pragma once

namespace koyo::platform {

// Sets every locale category to the first of ja_JP.SJIS, ja_JP.UTF-8, C.UTF-8
// that the system accepts. False when none can be set (the locale is unchanged).
bool SelectJapaneseLocale();

}  // namespace koyo::platform
