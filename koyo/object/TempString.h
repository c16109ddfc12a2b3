// The library's byte string: a NUL-terminated buffer with an explicit length
// (so it may hold NUL bytes), growing first to a small initial capacity and
// later in fixed steps. Names and strings of PDF values are built on it.
#pragma once
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

namespace koyo {

// Length and comparison of character texts for TempString.
template <class C>
struct TempStringOpe {
  // Length up to the first NUL.
  static int64_t Length(const C* s) {
    if (!s) return 0;
    int64_t n = 0;
    while (s[n] != C()) ++n;
    return n;
  }
  // Compares two texts as unsigned characters up to the first difference or
  // the first NUL; the end of a text counts as a NUL. A length of -1 means up to
  // the NUL.
  static int Compare(const C* a, int64_t la, const C* b, int64_t lb) {
    if (!a) la = 0;
    if (!b) lb = 0;
    if (la < 0) la = Length(a);
    if (lb < 0) lb = Length(b);
    using U = std::make_unsigned_t<C>;
    for (int64_t i = 0;; ++i) {
      U x = i < la ? static_cast<U>(a[i]) : U();
      U y = i < lb ? static_cast<U>(b[i]) : U();
      if (x != y) return x < y ? -1 : 1;
      if (x == U()) return 0;
    }
  }
};

// L is the type of lengths and capacities: 32-bit for ordinary strings, 64-bit
// for the large buffers built on this class.
template <class C, class Ope = TempStringOpe<C>, class L = int32_t>
class TempString {
public:
  using SizeType = L;

  TempString() = default;
  explicit TempString(const C* s, L length = -1) { Assign(s, length); }
  TempString(const TempString& other) : initial_(other.initial_), step_(other.step_) {
    Assign(other.data_, other.length_);
  }
  TempString& operator=(const TempString& other) {
    if (this != &other) Assign(other.data_, other.length_);
    return *this;
  }
  virtual ~TempString() { TempString::Free(); }

  // Makes room for n characters (terminator included). On failure the buffer
  // is released, the string is empty and the result is false.
  virtual bool Reserve(L n) {
    if (n < 0) return false;
    if (n <= capacity_) return true;
    if (!data_) {
      L size = n < initial_ ? initial_ : n;
      data_ = new (std::nothrow) C[static_cast<size_t>(size)];
      if (!data_) return false;
      capacity_ = size;
      data_[0] = C();
      length_ = 0;
      return true;
    }
    L size = RoundUp(n);
    C* grown = size >= n ? new (std::nothrow) C[static_cast<size_t>(size)] : nullptr;
    if (!grown) {
      Free();
      return false;
    }
    std::memcpy(grown, data_, static_cast<size_t>(capacity_) * sizeof(C));
    delete[] data_;
    data_ = grown;
    capacity_ = size;
    return true;
  }
  // Releases the buffer; the string becomes empty with capacity 0.
  virtual void Free() {
    delete[] data_;
    data_ = nullptr;
    capacity_ = 0;
    length_ = 0;
  }
  // The smallest multiple of the growth step that is at least n (0 when the step
  // is 0, or when the multiple does not fit L).
  virtual L RoundUp(L n) const { return RoundUpTo(n, step_); }

  // Replaces the content. A length of -1 means up to the NUL. Zero bytes leave
  // an empty string without a buffer.
  bool Assign(const C* s, L length = -1) {
    if (s && length < 0) length = ClampLength(Ope::Length(s));
    if (s && s == data_ && length <= length_) {
      // Assigning a prefix of the own text: cut it in place.
      if (length <= 0) {
        Free();
        return true;
      }
      length_ = length;
      data_[length_] = C();
      return true;
    }
    if (s && data_ && s > data_ && s < data_ + capacity_) {
      TempString copy(s, length);  // source inside our own buffer
      return Assign(copy.data_, copy.length_);
    }
    Free();
    if (!s || length <= 0) return true;
    if (length == std::numeric_limits<L>::max() || !Reserve(length + 1)) return false;
    std::memcpy(data_, s, static_cast<size_t>(length) * sizeof(C));
    length_ = length;
    data_[length_] = C();
    return true;
  }
  bool Assign(const TempString& other) { return this == &other ? true : Assign(other.data_, other.length_); }

  // Appends length characters (-1: up to the NUL).
  bool Append(const C* s, L length = -1) {
    if (!s) return length <= 0;
    if (length < 0) length = ClampLength(Ope::Length(s));
    if (length == 0) return true;
    if (data_ && s >= data_ && s < data_ + capacity_) {
      TempString copy(s, length);
      return Append(copy.data_, copy.length_);
    }
    if (!Grow(length)) return false;
    std::memcpy(data_ + length_, s, static_cast<size_t>(length) * sizeof(C));
    length_ += length;
    data_[length_] = C();
    return true;
  }
  // Appends count copies of c.
  bool Append(L count, C c) {
    if (count <= 0) return true;
    if (!Grow(count)) return false;
    for (L i = 0; i < count; ++i) data_[length_ + i] = c;
    length_ += count;
    data_[length_] = C();
    return true;
  }
  bool Append(C c) { return Append(1, c); }

  // Replaces the content by count copies of c; nothing happens for count <= 0.
  bool Fill(L count, C c) {
    if (count <= 0) return true;
    Free();
    return Append(count, c);
  }

  // Inserts length characters before position; -1 or a position beyond the end
  // means the end. Other negative positions, length <= 0 or null do nothing.
  bool Insert(L position, const C* s, L length) {
    if (!s || length <= 0 || position < -1) return true;
    if (position == -1 || position >= length_) return Append(s, length);
    if (data_ && s >= data_ && s < data_ + capacity_) {
      TempString copy(s, length);
      return Insert(position, copy.data_, copy.length_);
    }
    if (!Grow(length)) return false;
    std::memmove(data_ + position + length, data_ + position,
                 static_cast<size_t>(length_ - position) * sizeof(C));
    std::memcpy(data_ + position, s, static_cast<size_t>(length) * sizeof(C));
    length_ += length;
    data_[length_] = C();
    return true;
  }

  // Makes the string exactly length characters long (content beyond the old
  // length is unspecified until written); length <= 0 does nothing.
  bool Truncate(L length) {
    if (length <= 0) return true;
    if (length == std::numeric_limits<L>::max() || !Reserve(length + 1)) return false;
    data_[length] = C();
    length_ = length;
    return true;
  }

  void Clear() { Free(); }

  const C* c_str() const {
    static const C empty[1] = {C()};
    return data_ ? data_ : empty;
  }
  C* Data() { return data_; }
  L Length() const { return length_; }
  L Capacity() const { return capacity_; }
  bool IsEmpty() const { return length_ == 0; }

  int Compare(const C* s, L length = -1) const { return Ope::Compare(c_str(), length_, s, length); }
  int Compare(const TempString& other) const { return Compare(other.c_str(), other.length_); }
  bool LessThan(const TempString& other) const { return Compare(other) < 0; }
  bool operator==(const TempString& other) const { return Compare(other) == 0; }
  bool operator<(const TempString& other) const { return LessThan(other); }

  void Swap(TempString& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    std::swap(length_, other.length_);
    std::swap(initial_, other.initial_);
    std::swap(step_, other.step_);
  }

protected:
  static L RoundUpTo(L n, L step) {
    if (step <= 0 || n <= 0) return 0;
    L rest = n % step;
    if (rest == 0) return n;
    L room = std::numeric_limits<L>::max() - n;
    if (room < step - rest) return 0;  // does not fit: the caller sees too small a size
    return n + (step - rest);
  }
  static L ClampLength(int64_t n) {
    return n > static_cast<int64_t>(std::numeric_limits<L>::max()) ? std::numeric_limits<L>::max()
                                                                    : static_cast<L>(n);
  }
  // Room for count more characters and the terminator.
  bool Grow(L count) {
    if (count > std::numeric_limits<L>::max() - length_ - 1) return false;
    L keep = length_;
    if (!Reserve(length_ + count + 1)) return false;
    length_ = keep;
    return true;
  }

  L initial_ = 10;  // first allocation when less is asked for
  L step_ = 100;    // later allocations are multiples of it
  C* data_ = nullptr;
  L capacity_ = 0;
  L length_ = 0;
};

}  // namespace koyo
