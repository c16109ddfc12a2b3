// A rectangle: an array of exactly four numbers x1, y1, x2, y2 (page boxes,
// bounding boxes).
#pragma once
#include "koyo/object/CPDFArray.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFRect : public CPDFDataStruct, public CPDFArray {
public:
  // Four zeros.
  CPDFRect();
  CPDFRect(float x1, float y1, float x2, float y2);
  ~CPDFRect() override = default;
  // Copies the four numbers of other as new numbers.
  CPDFRect& operator=(const CPDFRect& other);

  // True for an array of exactly four elements, whatever they hold.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  // Each number takes the float and, as its integer, the float cut toward zero.
  bool Set(float x1, float y1, float x2, float y2);
  // Element i's value: its float when its integer lies within -32767..32767,
  // else its integer; 0 for an element that is no number.
  float Value(int32_t i) const;
  // x2 - x1 and y2 - y1, not normalised.
  float Width() const { return Value(2) - Value(0); }
  float Height() const { return Value(3) - Value(1); }

  KOYO_STRUCT_COPY(CPDFRect, CPDFArray)

private:
  bool SetNumbers(const float (&values)[4]);
};

}  // namespace koyo
