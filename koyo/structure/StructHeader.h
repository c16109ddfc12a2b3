// The header every typed wrapper carries in front of its value: the document
// (object table) the wrapper belongs to, not owned. Set by Create, Realize and
// Duplicate; null after construction.
#pragma once

namespace koyo {

class ObjectTable;

class StructHeader {
public:
  virtual ~StructHeader() = default;

  ObjectTable* GetDoc() const { return doc_; }
  void SetDoc(ObjectTable* doc) { doc_ = doc; }

protected:
  StructHeader() = default;
  StructHeader(const StructHeader&) = default;
  StructHeader& operator=(const StructHeader&) = default;

private:
  ObjectTable* doc_ = nullptr;
};

}  // namespace koyo
