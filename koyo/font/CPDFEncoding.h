// An encoding dictionary of a simple font: a base encoding and the
// Differences that rename single codes. Beside the dictionary it keeps the
// differences as a code-to-glyph-name table, built on first use.
#pragma once
#include <memory>

#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFName.h"
#include "koyo/resource/EncodingTable.h"
#include "koyo/structure/CPDFDataStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFEncoding : public CPDFDataStruct, public CPDFDict {
public:
  CPDFEncoding() = default;
  CPDFEncoding(const CPDFEncoding&) = delete;
  CPDFEncoding& operator=(const CPDFEncoding&) = delete;
  ~CPDFEncoding() override = default;

  KOYO_STATIC_NAME(Name_Encoding, "Encoding")
  KOYO_STATIC_NAME(Name_StandardEncoding, "StandardEncoding")

  // A dictionary whose Type, when present, is Encoding.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // Records doc; Type Encoding.
  bool Create(ObjectTable* doc);
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET_SET(CPDFName, BaseEncoding)
  KOYO_GET_SET(CPDFArray, Differences)

  // The name of the base encoding: BaseEncoding, or StandardEncoding when it
  // is absent (or not a name).
  const char* EffectiveBaseEncoding() const;

  // Rebuilds the differences table from Differences: a number sets the
  // current code, each name is given to the current code, which then moves on
  // by one (after 255 comes 0). A number outside 0 to 255 makes the names
  // after it skipped until the next valid number. True on success; a failure
  // is recorded as ("CPDFEncoding", "UpdateDifferences", 5).
  bool UpdateDifferences();
  // The differences table, built by UpdateDifferences on first use; null when
  // that fails.
  const EncodingTable* GetDifferencesTable();

  KOYO_STRUCT_COPY(CPDFEncoding, CPDFDict)

private:
  std::unique_ptr<EncodingTable> differences_;
};

}  // namespace koyo
