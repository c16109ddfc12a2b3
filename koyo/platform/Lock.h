// Re-entrant lock of the library instance: one thread at a time in the caches,
// and a cache lookup may take it again while it already holds it.
#pragma once
#include <mutex>

namespace koyo::platform {

class Lock {
public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }

private:
  std::recursive_mutex mutex_;
};

// Holds a Lock for the lifetime of a scope; a null lock is not taken.
class ScopedLock {
public:
  explicit ScopedLock(Lock* lock) : lock_(lock) {
    if (lock_) lock_->Enter();
  }
  ~ScopedLock() {
    if (lock_) lock_->Leave();
  }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;

private:
  Lock* lock_;
};

}  // namespace koyo::platform
