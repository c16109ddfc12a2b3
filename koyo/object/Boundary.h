// The boundary of a public library operation: failures raised inside it end
// in the caller's error record (the first, innermost one wins) and turn into a
// false or fallback result. No exception leaves a boundary.
#pragma once
#include <type_traits>
#include <utility>

#include "koyo/object/CPDFException.h"

namespace koyo {

namespace detail {
// Keeps the first failure: a record that already holds one is left alone.
inline void KeepFirst(CPDFException& record, const CPDFException& failure) noexcept {
  if (!record.IsEmpty()) return;
  try {
    record = failure;
  } catch (...) {
    record.Type = failure.Type;  // the texts could not be copied; keep the category
  }
}
inline void KeepFirstInternal(CPDFException& record, const char* module, const char* method) noexcept {
  if (!record.IsEmpty()) return;
  try {
    record = CPDFException(module, method, CPDFException::kInternal, "");
  } catch (...) {
    record.Type = CPDFException::kInternal;
  }
}
}  // namespace detail

// Clears record, runs body and returns true when it succeeds. body may return
// void (success unless it throws) or something testable as bool (false is a
// failure that leaves the record as the body left it). A thrown CPDFException
// is kept in record unless a failure is already recorded there; any other
// exception records (module, method, Internal Error, "") under the same rule.
template <class F>
bool Boundary(CPDFException& record, const char* module, const char* method, F&& body) noexcept {
  record.Clear();
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<F&>>) {
      body();
      return true;
    } else {
      return static_cast<bool>(body());
    }
  } catch (const CPDFException& failure) {
    detail::KeepFirst(record, failure);
  } catch (...) {
    detail::KeepFirstInternal(record, module, method);
  }
  return false;
}

// The same rule for operations that return a value: body's result, or
// fallback (a null pointer, -1, ...) when body throws.
template <class T, class F>
T BoundaryValue(CPDFException& record, const char* module, const char* method, T fallback, F&& body) noexcept {
  record.Clear();
  try {
    return static_cast<T>(body());
  } catch (const CPDFException& failure) {
    detail::KeepFirst(record, failure);
  } catch (...) {
    detail::KeepFirstInternal(record, module, method);
  }
  return fallback;
}

}  // namespace koyo
