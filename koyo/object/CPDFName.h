// A PDF name: its bytes without the slash, escapes already decoded. Names
// compare bytewise as unsigned characters and are the keys of dictionaries.
#pragma once
#include "koyo/object/CPDFObject.h"
#include "koyo/object/TempString.h"

namespace koyo {

class CPDFName : public CPDFObject, public TempString<char> {
public:
  CPDFName() : CPDFObject(kName, "Name") {}
  explicit CPDFName(const char* name, int32_t length = -1) : CPDFObject(kName, "Name") { Assign(name, length); }
  CPDFName(const CPDFName& other) = default;
  CPDFName& operator=(const CPDFName& other) = default;
  ~CPDFName() override = default;

  bool operator<(const CPDFName& other) const { return LessThan(other); }
  bool operator==(const CPDFName& other) const { return Compare(other) == 0; }
  bool operator==(const char* name) const { return Compare(name) == 0; }

  CPDFObject* MakeEmpty() const override { return new CPDFName; }
  bool CopyInto(CPDFObject* target, CopyContext& context, ObjectTable* targetDoc, ObjectTable* sourceDoc,
                bool overwrite) const override;
  bool Adopt(ObjectTable* doc, CPDFObject* other) override;
};

}  // namespace koyo
