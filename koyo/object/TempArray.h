// The library's growable array of elements (pointers in practice), with an
// optional deleter that the array calls for every element it drops. Capacity
// is always a multiple of the growth step 10.
#pragma once
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

namespace koyo {

template <class T>
class TempArray {
  static_assert(std::is_trivially_copyable_v<T>, "TempArray moves its elements bytewise");

public:
  // Called with the slot of each element the array drops.
  using Deleter = void (*)(T* slot);

  TempArray() = default;
  explicit TempArray(Deleter deleter) : deleter_(deleter) {}
  TempArray(const TempArray&) = delete;
  TempArray& operator=(const TempArray&) = delete;
  virtual ~TempArray() {
    Clear();
  }

  // Makes room for n elements. On failure the buffer is released (its elements
  // are lost without the deleter) and the result is false.
  virtual bool Reserve(int32_t n) {
    if (n < 0) return false;
    if (n <= capacity_) return true;
    int32_t size = RoundUp(n);
    T* grown = size >= n ? new (std::nothrow) T[static_cast<size_t>(size)] : nullptr;
    if (!grown) {
      Free();
      return false;
    }
    if (data_) std::memcpy(static_cast<void*>(grown), data_, static_cast<size_t>(capacity_) * sizeof(T));
    delete[] data_;
    data_ = grown;
    capacity_ = size;
    return true;
  }
  // Releases the buffer without calling the deleter.
  virtual void Free() {
    delete[] data_;
    data_ = nullptr;
    capacity_ = 0;
    count_ = 0;
  }
  // The smallest multiple of the growth step that is at least n (0 when it does
  // not fit or the step is 0).
  virtual int32_t RoundUp(int32_t n) const {
    if (step_ <= 0 || n <= 0) return 0;
    int32_t rest = n % step_;
    if (rest == 0) return n;
    if (std::numeric_limits<int32_t>::max() - n < step_ - rest) return 0;
    return n + (step_ - rest);
  }

  bool Push_Back(T element) {
    if (count_ == std::numeric_limits<int32_t>::max() || !Reserve(count_ + 1)) return false;
    data_[count_++] = element;
    return true;
  }
  bool Push_Front(T element) {
    if (count_ == std::numeric_limits<int32_t>::max() || !Reserve(count_ + 1)) return false;
    std::memmove(static_cast<void*>(data_ + 1), data_, static_cast<size_t>(count_) * sizeof(T));
    data_[0] = element;
    ++count_;
    return true;
  }
  // Replaces the element at index, giving the old one to the deleter (unless it
  // is the very element being stored). False for an index outside the array.
  bool SetAt(int32_t index, T element) {
    if (index < 0 || index >= count_) return false;
    if (deleter_ && !(data_[index] == element)) deleter_(&data_[index]);
    data_[index] = element;
    return true;
  }
  // The element at index, or a value-initialised T outside the array.
  T GetAt(int32_t index) const { return index >= 0 && index < count_ ? data_[index] : T(); }
  int32_t Count() const { return count_; }
  int32_t Capacity() const { return capacity_; }

  // Closes the gap at index; the element is not given to the deleter.
  bool RemoveAt(int32_t index) {
    if (index < 0 || index >= count_) return false;
    std::memmove(static_cast<void*>(data_ + index), data_ + index + 1,
                 static_cast<size_t>(count_ - index - 1) * sizeof(T));
    --count_;
    return true;
  }
  // Grows with value-initialised elements or shrinks, giving each dropped
  // element to the deleter.
  bool Resize(int32_t count) {
    if (count < 0) return false;
    if (count < count_) {
      if (deleter_) {
        for (int32_t i = count; i < count_; ++i) deleter_(&data_[i]);
      }
      count_ = count;
      return true;
    }
    if (!Reserve(count)) return false;
    for (int32_t i = count_; i < count; ++i) data_[i] = T();
    count_ = count;
    return true;
  }
  // Gives every element to the deleter and releases the buffer.
  void Clear() {
    if (deleter_) {
      for (int32_t i = 0; i < count_; ++i) deleter_(&data_[i]);
    }
    Free();
  }
  // Exchanges the elements (not the deleters) with other.
  void Swap(TempArray& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    std::swap(count_, other.count_);
  }

  Deleter GetDeleter() const { return deleter_; }
  void SetDeleter(Deleter deleter) { deleter_ = deleter; }

  T* begin() { return data_; }
  T* end() { return data_ + count_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + count_; }

protected:
  Deleter deleter_ = nullptr;
  int32_t step_ = 10;
  T* data_ = nullptr;
  int32_t capacity_ = 0;
  int32_t count_ = 0;
};

}  // namespace koyo
