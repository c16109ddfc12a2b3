// A PDF string: its decoded bytes (NUL bytes allowed; the length counts) and
// whether it is written literally in parentheses or as hexadecimal.
#pragma once
#include "koyo/object/CPDFObject.h"
#include "koyo/object/TempString.h"

namespace koyo {

class CPDFString : public CPDFObject, public TempString<char> {
public:
  CPDFString() : CPDFObject(kString, "String") {}
  explicit CPDFString(const char* text, int32_t length = -1) : CPDFObject(kString, "String") {
    Assign(text, length);
  }
  ~CPDFString() override = default;

  // True: written in parentheses; false: in angle brackets.
  bool IsLiteral() const { return literal_ != 0; }
  void SetLiteral(bool on) { literal_ = on ? 1 : 0; }

  CPDFObject* MakeEmpty() const override { return new CPDFString; }
  bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                bool overwrite) const override;
  bool Adopt(ObjectTable* doc, CPDFObject* other) override;

protected:
  CPDFString(int32_t type, const char* typeName) : CPDFObject(type, typeName) {}

private:
  uint8_t literal_ = 1;
};

}  // namespace koyo
