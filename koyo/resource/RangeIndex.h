// An index over a list of code ranges that finds, for a value, the matching
// range that comes first in list order, without walking the whole list.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace koyo {

class RangeIndex {
public:
  // Builds the index over [low, high] pairs given in list order; pairs with
  // include false are left out.
  template <typename Range, typename Low, typename High, typename Include>
  void Build(const std::vector<Range>& list, Low low, High high, Include include) {
    entries_.clear();
    for (size_t i = 0; i < list.size(); ++i) {
      if (include(list[i])) entries_.push_back(Entry{low(list[i]), high(list[i]), i, 0});
    }
    Finish();
  }

  // The list position of the first range holding value, or npos.
  size_t Find(uint16_t value) const;

  static constexpr size_t npos = static_cast<size_t>(-1);

private:
  struct Entry {
    uint16_t low;
    uint16_t high;
    size_t position;
    uint16_t maxHigh;  // highest high of this entry and all before it in low order
  };
  void Finish();

  std::vector<Entry> entries_;
};

}  // namespace koyo
