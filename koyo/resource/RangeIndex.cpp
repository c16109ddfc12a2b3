#include "koyo/resource/RangeIndex.h"

#include <algorithm>

namespace koyo {

void RangeIndex::Finish() {
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.low < b.low; });
  uint16_t maxHigh = 0;
  for (Entry& e : entries_) {
    maxHigh = std::max(maxHigh, e.high);
    e.maxHigh = maxHigh;
  }
}

size_t RangeIndex::Find(uint16_t value) const {
  // Entries after the last one with low <= value cannot hold it; walking back,
  // once no earlier entry reaches value, none can hold it either.
  auto it = std::upper_bound(entries_.begin(), entries_.end(), value,
                             [](uint16_t v, const Entry& e) { return v < e.low; });
  size_t best = npos;
  while (it != entries_.begin()) {
    --it;
    if (it->maxHigh < value) break;
    if (it->high >= value && it->low <= value) best = std::min(best, it->position);
  }
  return best;
}

}  // namespace koyo
