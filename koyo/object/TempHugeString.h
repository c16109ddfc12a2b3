// A byte buffer for large data (stream contents, written output): a heap
// string growing in 4096-byte steps that moves into a memory-mapped temporary
// file once it needs more than its mapping threshold. Sizes are 64-bit, so the
// buffer can hold more than 2 GiB when the file system allows it.
#pragma once
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "koyo/object/FileMap.h"
#include "koyo/object/TempString.h"
#include "koyo/platform/ProcessDirs.h"

namespace koyo {

template <class C>
class TempHugeString : public TempString<C, TempStringOpe<C>, int64_t> {
  using Base = TempString<C, TempStringOpe<C>, int64_t>;

public:
  static constexpr int64_t kStep = 4096;
  static constexpr int64_t kDefaultThreshold = 40960;

  // Sizes above threshold live in a temporary file; 0 or less keeps everything
  // on the heap.
  explicit TempHugeString(int64_t threshold = kDefaultThreshold) : threshold_(threshold) {
    this->step_ = kStep;
  }
  TempHugeString(const TempHugeString& other) : Base(), threshold_(other.threshold_) {
    this->step_ = kStep;
    this->Assign(other.c_str(), other.Length());
  }
  TempHugeString& operator=(const TempHugeString& other) {
    if (this != &other) this->Assign(other.c_str(), other.Length());
    return *this;
  }
  ~TempHugeString() override { Free(); }

  bool Reserve(int64_t n) override {
    if (n < 0) return false;
    if (n <= this->capacity_) return true;
    if (!map_ && (threshold_ <= 0 || n <= threshold_)) return Base::Reserve(n);
    if (map_) {
      int64_t size = this->RoundUp(n);
      if (size < n || !map_->Resize(size, 0, false)) {
        Free();
        return false;
      }
      this->data_ = reinterpret_cast<C*>(map_->View());
      this->capacity_ = size;
      return true;
    }
    // First move into a file: from the heap rounded up, from nothing exactly n.
    int64_t size = this->data_ ? this->RoundUp(n) : n;
    FileMap* map = size >= n ? new (std::nothrow) FileMap : nullptr;
    if (!map || !map->OpenTemp(platform::ProcessTempDirectory().c_str(), platform::kTempPrefix,
                               size * static_cast<int64_t>(sizeof(C)), 0, false, true)) {
      delete map;
      Free();
      return false;
    }
    C* view = reinterpret_cast<C*>(map->View());
    if (this->data_) {
      std::memcpy(view, this->data_, static_cast<size_t>(this->capacity_) * sizeof(C));
      delete[] this->data_;
    } else {
      view[0] = C();
      this->length_ = 0;
    }
    map_ = map;
    this->data_ = view;
    this->capacity_ = size;
    return true;
  }

  // Removes the temporary file (if any) and releases the heap buffer.
  void Free() override {
    if (map_) {
      delete map_;
      map_ = nullptr;
    } else {
      delete[] this->data_;
    }
    this->data_ = nullptr;
    this->capacity_ = 0;
    this->length_ = 0;
  }

  void Swap(TempHugeString& other) noexcept {
    Base::Swap(other);
    std::swap(threshold_, other.threshold_);
    std::swap(map_, other.map_);
  }

  int64_t Threshold() const { return threshold_; }
  void SetThreshold(int64_t threshold) { threshold_ = threshold; }
  // The backing file while the data lives in one, else null.
  const FileMap* Map() const { return map_; }

private:
  int64_t threshold_;
  FileMap* map_ = nullptr;
};

}  // namespace koyo
