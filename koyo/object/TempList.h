// The library's doubly linked list of values with an optional deleter that
// receives each value the list clears.
#pragma once
#include <cstdint>
#include <new>

namespace koyo {

template <class T>
class TempList {
public:
  using Deleter = void (*)(T* slot);

  struct Node {
    explicit Node(const T& v) : value(v) {}
    T value;
    Node* prev = nullptr;
    Node* next = nullptr;
  };

  TempList() = default;
  explicit TempList(Deleter deleter) : deleter_(deleter) {}
  TempList(const TempList&) = delete;
  TempList& operator=(const TempList&) = delete;
  virtual ~TempList() { Clear(); }

  bool PushFront(const T& value) {
    Node* n = new (std::nothrow) Node(value);
    if (!n) return false;
    n->next = head_;
    if (head_) head_->prev = n; else tail_ = n;
    head_ = n;
    ++count_;
    return true;
  }
  bool PushBack(const T& value) {
    Node* n = new (std::nothrow) Node(value);
    if (!n) return false;
    n->prev = tail_;
    if (tail_) tail_->next = n; else head_ = n;
    tail_ = n;
    ++count_;
    return true;
  }
  // Drops up to n nodes from the tail; their values do not go to the deleter.
  void PopBack(int32_t n) {
    while (n-- > 0 && tail_) {
      Node* t = tail_;
      tail_ = t->prev;
      if (tail_) tail_->next = nullptr; else head_ = nullptr;
      delete t;
      --count_;
    }
  }
  // Gives each value to the deleter from the head on and drops every node.
  void Clear() {
    while (head_) {
      Node* n = head_;
      if (deleter_) deleter_(&n->value);
      head_ = n->next;
      delete n;
    }
    tail_ = nullptr;
    count_ = 0;
  }

  Node* Head() const { return head_; }
  Node* Tail() const { return tail_; }
  int32_t Count() const { return count_; }

private:
  Deleter deleter_ = nullptr;
  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  int32_t count_ = 0;
};

}  // namespace koyo
