// Factories: class-level functions that choose, by a value's type entries,
// which wrapper class among a list of candidates a read value becomes. Each
// candidate has a mask bit; only candidates whose bit is in the mask are
// tried (-1 allows all).
#pragma once
#include <cstdint>
#include <span>

#include "koyo/object/CPDFObject.h"

namespace koyo {

// One candidate class of a factory whose results are seen as Base.
template <class Base>
struct FactoryCandidate {
  int32_t bit;
  bool (*verify)(ObjectTable* doc, CPDFObject* value);
  // A new object of the class realized from value, or null when Realize fails.
  Base* (*make)(ObjectTable* doc, CPDFObject* value);
};

template <class Base, class C>
Base* NewRealized(ObjectTable* doc, CPDFObject* value) {
  C* made = new C;
  if (made->Realize(doc, value)) return made;
  delete made;
  return nullptr;
}

// The candidate row for class C.
template <class Base, class C>
constexpr FactoryCandidate<Base> CandidateOf(int32_t bit) {
  return FactoryCandidate<Base>{bit, &C::Verify, &NewRealized<Base, C>};
}

// Tries the candidates in order: the first one allowed by mask whose check
// accepts the value decides. Its realized object is returned, or null when its
// Realize fails (later candidates are not tried). When no candidate accepts
// the value, after (when given) decides. Never throws.
template <class Base>
Base* RunFactory(ObjectTable* doc, CPDFObject* value, int32_t mask,
                 std::span<const FactoryCandidate<Base>> candidates,
                 Base* (*after)(ObjectTable* doc, CPDFObject* value) = nullptr) noexcept {
  if (!value) return nullptr;
  try {
    for (const auto& candidate : candidates) {
      if ((mask & candidate.bit) && candidate.verify(doc, value)) return candidate.make(doc, value);
    }
    return after ? after(doc, value) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace koyo
