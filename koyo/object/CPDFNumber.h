// A PDF number, kept both as a 32-bit integer and as a float. A number read
// from PDF text sets the two separately (2.9 reads as 2 and 2.9).
#pragma once
#include <cstdint>

#include "koyo/object/CPDFObject.h"

namespace koyo {

class CPDFNumber : public CPDFObject {
public:
  CPDFNumber() : CPDFObject(kNumber, "Number") {}
  // The integer is the float cut toward zero (held to the 32-bit range).
  explicit CPDFNumber(float value) : CPDFNumber() { SetReal(value); }
  explicit CPDFNumber(int32_t value) : CPDFNumber() { SetInt(value); }
  CPDFNumber(const CPDFNumber& other) = default;
  ~CPDFNumber() override = default;

  int32_t GetInt() const { return int_; }
  float GetReal() const { return real_; }
  // Sets both numbers from an integer.
  void SetInt(int32_t value) {
    int_ = value;
    real_ = static_cast<float>(value);
  }
  // Sets both numbers from a float.
  void SetReal(float value) {
    real_ = value;
    int_ = Truncate(value);
  }
  // Sets the two numbers independently (the reader does).
  void SetBoth(int32_t intValue, float realValue) {
    int_ = intValue;
    real_ = realValue;
  }

  // The float cut toward zero; NaN gives 0, values beyond the range its limits.
  static int32_t Truncate(double value);

  CPDFObject* MakeEmpty() const override { return new CPDFNumber; }
  bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                bool overwrite) const override;
  bool Adopt(ObjectTable* doc, CPDFObject* other) override;

protected:
  CPDFNumber(int32_t type, const char* typeName) : CPDFObject(type, typeName) {}

private:
  int32_t int_ = 0;
  float real_ = 0.0f;
};

}  // namespace koyo
