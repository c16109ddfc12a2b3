// A node of the page tree: its kids (nodes or pages, always indirect), the
// number of pages below it, its parent, and the boxes and resources the pages
// below inherit. GetPage and DeletePage walk the tree from here.
#pragma once
#include <vector>

#include "koyo/object/CPDFArray.h"
#include "koyo/object/CPDFDict.h"
#include "koyo/object/CPDFNumber.h"
#include "koyo/structure/CPDFDocStruct.h"
#include "koyo/structure/StructAccess.h"

namespace koyo {

class CPDFPage;

class CPDFPages : public CPDFDocStruct, public CPDFDict {
public:
  // Deepest page tree the walks descend into. A deeper tree, or one whose
  // kids lead back to a node on the way down, gives no page.
  static constexpr int32_t kMaxDepth = 256;

  CPDFPages() = default;
  ~CPDFPages() override = default;

  KOYO_STATIC_NAME(Name_Pages, "Pages")

  // Type is the name Pages, Kids an array and Count a number.
  static bool Verify(ObjectTable* doc, CPDFObject* value);
  // A new empty node: Type, Parent when parent is valid, Kids [], Count 0.
  bool Create(ObjectTable* doc, const CPDFObjRef& parent);
  // Count becomes a CPDFInt; the boxes and Resources are realized. The kids
  // are left to the walks.
  bool Realize(ObjectTable* doc, CPDFObject* value) noexcept;

  KOYO_GET(CPDFArray, Kids)
  KOYO_GET(CPDFNumber, Count)
  // Replacing Kids or Count forgets the position of the last page found.
  bool Set_Kids(CPDFArray* value, bool indirect = false, CPDFObjRef* ref = nullptr);
  bool Set_Count(CPDFNumber* value, bool indirect = false, CPDFObjRef* ref = nullptr);
  KOYO_GET(CPDFPages, Parent)
  // Stores a copy of parent directly under Parent.
  bool Set_Parent(const CPDFObjRef& parent);
  bool SetType();

  // The page at the zero-based position index among the pages below this
  // node, or null. Nodes and pages passed on the way are realized in place.
  // pageRef, when given, receives the page's reference. The way to the page
  // found is remembered, so that asking for the next position goes on from
  // there instead of walking down past every earlier kid again; the answer is
  // the same as that of a walk from here.
  CPDFPage* GetPage(int32_t index, CPDFObjRef* pageRef = nullptr);
  // Removes the page at index; self is this node's reference. Every Count on
  // the way drops by one and an emptied node below this one is removed and
  // deleted from the document. Every node whose Kids or Count changed is
  // registered as updated, so that a save writes it.
  bool DeletePage(int32_t index, const CPDFObjRef& self);

private:
  // The nodes on the way down from where the walk started.
  using Path = std::vector<const CPDFPages*>;
  class PathStep;
  struct Kid;
  // One level of the way to the last page found: the node's position asked
  // for, its Count and number of kids then, and the kid taken.
  struct Step {
    int32_t index = 0;
    int64_t total = 0;
    int32_t kidCount = 0;
    int32_t kid = 0;
    int64_t start = 0;    // the position of the kid's first page in the node
    int64_t below = 0;    // pages under the kid: its Count, or 1
    bool last = false;    // taken as the last kid for the node's last page
    CPDFObjRef kidRef;
  };
  using Trail = std::vector<Step>;
  // The way to the last page found from this node, by position; emptied by
  // every change this class makes to the tree. Not part of the value: a copy
  // starts without one.
  struct Cursor {
    Cursor() = default;
    Cursor(const Cursor&) {}
    Cursor& operator=(const Cursor&) { return *this; }
    int32_t index = -1;
    Trail trail;
  };

  // Walks from this node to the page at index, looking at the kids from
  // firstKid on, where firstPosition is the position of firstKid's first page
  // (the last page of the node is always reached through its last kid).
  // Each level passed is added to trail.
  CPDFPage* PageAt(int32_t index, CPDFObjRef* pageRef, Path& path, Trail& trail, int32_t firstKid = 0,
                   int64_t firstPosition = 0);
  // The page at cursor_.index + 1 when the way down to the last page found is
  // still as remembered, going on from there (the way taken goes to trail);
  // resumed is false when it is not and a full walk must answer.
  CPDFPage* NextPage(CPDFObjRef* pageRef, Trail& trail, bool& resumed);
  void ForgetCursor();
  bool DeleteAt(int32_t index, const CPDFObjRef& self, Path& path);
  // The kid at index i of Kids; null when it cannot be resolved.
  bool ResolveKid(int32_t i, Kid& kid);
  // The kid as a typed node or page, realized and put in place when read.
  template <class C>
  C* Reach(Kid& kid);
  // Removes kid i from Kids and deletes its object; registers this node.
  void RemoveKid(int32_t i, const CPDFObjRef& self, bool& registered);
  // Count drops by one; this node is registered as updated.
  void LowerCount(const CPDFObjRef& self, bool& registered);
  // This node's Count; a missing one fails the walk.
  int32_t CountValue() const;

  Cursor cursor_;
};

}  // namespace koyo
