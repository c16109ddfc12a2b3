// A PDF boolean (true or false).
#pragma once
#include "koyo/object/CPDFObject.h"

namespace koyo {

class CPDFBool : public CPDFObject {
public:
  CPDFBool() : CPDFObject(kBool, "Bool") {}
  explicit CPDFBool(bool value) : CPDFObject(kBool, "Bool"), value_(value ? 1 : 0) {}
  ~CPDFBool() override = default;

  bool GetValue() const { return value_ != 0; }
  void SetValue(bool value) { value_ = value ? 1 : 0; }

  CPDFObject* MakeEmpty() const override { return new CPDFBool; }
  bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                bool overwrite) const override;
  bool Adopt(ObjectTable* doc, CPDFObject* other) override;

private:
  uint8_t value_ = 0;
};

}  // namespace koyo
