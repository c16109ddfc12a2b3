#include "koyo/structure/CPDFPages.h"

#include <algorithm>
#include <new>

#include "koyo/object/CPDFInt.h"
#include "koyo/structure/CPDFPage.h"
#include "koyo/structure/CPDFRect.h"
#include "koyo/structure/CPDFResDict.h"
#include "koyo/structure/StructRealize.h"
#include "koyo/structure/StructVerify.h"

namespace koyo {

// Puts a node on the path for the time of one level of a walk. A node that is
// already on it (the kids loop back) or a path of kMaxDepth nodes fails.
class CPDFPages::PathStep {
public:
  PathStep(Path& path, const CPDFPages* node) : path_(path) {
    if (static_cast<int32_t>(path.size()) >= kMaxDepth || std::find(path.begin(), path.end(), node) != path.end()) {
      FailStruct();
    }
    path.push_back(node);
  }
  ~PathStep() { path_.pop_back(); }
  PathStep(const PathStep&) = delete;
  PathStep& operator=(const PathStep&) = delete;

private:
  Path& path_;
};

struct CPDFPages::Kid {
  int32_t index = 0;
  CPDFObject* object = nullptr;
  CPDFObjRef ref;
  bool node = false;  // Type Pages; otherwise Type Page
};

bool CPDFPages::Verify(ObjectTable* doc, CPDFObject* value) {
  const CPDFDict* dict = DictOf(value);
  return dict && EntryIsName(doc, *dict, "Type", Name_Pages()) && EntryHasType(doc, *dict, "Kids", kArray) &&
         EntryHasType(doc, *dict, "Count", kNumber);
}

bool CPDFPages::SetType() { return StoreName(*this, "Type", Name_Pages()); }

bool CPDFPages::Set_Parent(const CPDFObjRef& parent) {
  auto* ref = new (std::nothrow) CPDFObjRef(parent);
  return ref && Insert("Parent", ref);
}

bool CPDFPages::Create(ObjectTable* doc, const CPDFObjRef& parent) {
  SetDoc(doc);
  if (!SetType()) return false;
  if (parent.IsValid() && !Set_Parent(parent)) return false;
  auto* kids = new (std::nothrow) CPDFArray;
  if (!kids || !Set_Kids(kids)) return false;
  auto* count = new (std::nothrow) CPDFInt(0);
  return count && Set_Count(count);
}

bool CPDFPages::Realize(ObjectTable* doc, CPDFObject* value) noexcept {
  return RealizeStruct(*this, doc, value, [&] {
    RealizeEntries(doc, *this,
                   {
                       {"Count", kNumber, MakeInt},
                       {"MediaBox", kArray, MakeAs<CPDFRect>},
                       {"Resources", kDict, MakeAs<CPDFResDict>},
                       {"CropBox", kArray, MakeAs<CPDFRect>},
                       {"ArtBox", kArray, MakeAs<CPDFRect>},
                       {"TrimBox", kArray, MakeAs<CPDFRect>},
                       {"BleedBox", kArray, MakeAs<CPDFRect>},
                   });
  });
}

int32_t CPDFPages::CountValue() const {
  CPDFNumber* count = Get_Count();
  if (!count) FailStruct();
  return count->GetInt();
}

bool CPDFPages::ResolveKid(int32_t i, Kid& kid) {
  CPDFArray* kids = Get_Kids();
  if (!kids) FailStruct();
  kid.index = i;
  kid.object = kids->GetObj(GetDoc(), i, &kid.ref);
  if (!kid.object) return false;
  // A kid is an indirect dictionary whose own Type is a direct name, Pages or Page.
  auto* dict = dynamic_cast<CPDFDict*>(kid.object);
  if (!kid.ref.IsValid() || !dict) FailStruct();
  auto type = dict->FindKey("Type");
  if (type == dict->end() || !type->value || !type->value->IsObject()) FailStruct();
  auto* name = dynamic_cast<CPDFName*>(static_cast<CPDFObject*>(type->value));
  if (!name) FailStruct();
  if (*name == "Pages") {
    kid.node = true;
  } else if (*name == "Page") {
    kid.node = false;
  } else {
    FailStruct();
  }
  return true;
}

template <class C>
C* CPDFPages::Reach(Kid& kid) {
  if (!kid.object->IsDefined()) {
    auto* typed = dynamic_cast<C*>(kid.object);
    if (!typed) FailStruct();
    return typed;
  }
  if (!C::Verify(GetDoc(), kid.object)) FailStruct();
  C* made = new C;
  if (!made->Realize(GetDoc(), kid.object)) {
    delete made;
    FailStruct();
  }
  // The realized object takes over the kid's number; the read one is gone.
  CPDFArray* kids = Get_Kids();
  if (!kids || !kids->SetObj(GetDoc(), kid.index, made, true, &kid.ref)) FailStruct();
  kid.object = made;
  return made;
}

CPDFPage* CPDFPages::GetPage(int32_t index, CPDFObjRef* pageRef) {
  Trail trail;
  CPDFPage* page = nullptr;
  try {
    bool resumed = false;
    if (cursor_.index >= 0 && static_cast<int64_t>(index) == static_cast<int64_t>(cursor_.index) + 1) {
      page = NextPage(pageRef, trail, resumed);
    }
    if (!resumed) {
      trail.clear();
      Path path;
      page = PageAt(index, pageRef, path, trail);
    }
  } catch (...) {
    page = nullptr;
  }
  if (page) {
    cursor_.trail = std::move(trail);
    cursor_.index = index;
  } else {
    ForgetCursor();
  }
  return page;
}

void CPDFPages::ForgetCursor() {
  cursor_.index = -1;
  cursor_.trail.clear();
}

bool CPDFPages::Set_Kids(CPDFArray* value, bool indirect, CPDFObjRef* ref) {
  ForgetCursor();
  return SetEntry<CPDFArray>(*this, GetDoc(), "Kids", value, indirect, ref);
}

bool CPDFPages::Set_Count(CPDFNumber* value, bool indirect, CPDFObjRef* ref) {
  ForgetCursor();
  return SetEntry<CPDFNumber>(*this, GetDoc(), "Count", value, indirect, ref);
}

// The walk to position p + 1 passes the same kids as the walk to p, up to the
// kid that held p at each level: a walk stops at the first kid whose range
// holds the position, and no kid before that one holds p + 1 either. So the
// new walk follows the remembered way down as long as the kid taken at a level
// also holds p + 1, and from the first level where it does not, it goes on
// with the next kid at the position after that kid's pages. The node's last
// page is always looked for through its last kid, as a walk from the top does.
CPDFPage* CPDFPages::NextPage(CPDFObjRef* pageRef, Trail& trail, bool& resumed) {
  resumed = false;
  const Trail& way = cursor_.trail;
  Path path;
  CPDFPages* node = this;
  int64_t index = static_cast<int64_t>(cursor_.index) + 1;
  size_t level = 0;
  bool fromLast = false;
  // Checks the way down against what the nodes hold now; anything changed, or
  // failing, leaves the answer to a full walk.
  try {
    for (;; ++level) {
      if (level >= way.size()) return nullptr;
      const Step& step = way[level];
      CPDFArray* kids = node->Get_Kids();
      CPDFNumber* count = node->Get_Count();
      if (step.last || !kids || !count || count->GetInt() != step.total || kids->Count() != step.kidCount ||
          static_cast<int64_t>(step.index) + 1 != index) {
        return nullptr;
      }
      if (index == step.total - 1) {
        fromLast = true;
        break;
      }
      // The kid is compared as the reference in Kids: a page passed before
      // need not be loaded again (its holder may have unloaded it).
      CPDFAtom* atom = kids->GetAt(step.kid);
      if (!atom || !atom->IsReference() || *static_cast<const CPDFObjRef*>(atom) != step.kidRef) return nullptr;
      bool descend = index < step.start + step.below;
      if (level + 1 < way.size()) {
        // A node: the way went on below it.
        Kid kid;
        if (!node->ResolveKid(step.kid, kid) || !kid.node) return nullptr;
        CPDFPages* below = node->Reach<CPDFPages>(kid);
        if (below->CountValue() != step.below) return nullptr;
        if (descend) {
          path.push_back(node);
          trail.push_back(step);
          trail.back().index = static_cast<int32_t>(index);
          node = below;
          index -= step.start;
          continue;
        }
      } else if (descend || step.below != 1) {
        return nullptr;
      }
      break;
    }
  } catch (...) {
    trail.clear();
    return nullptr;
  }
  resumed = true;
  const Step& step = way[level];
  if (fromLast) return node->PageAt(static_cast<int32_t>(index), pageRef, path, trail);
  return node->PageAt(static_cast<int32_t>(index), pageRef, path, trail, step.kid + 1, step.start + step.below);
}

CPDFPage* CPDFPages::PageAt(int32_t index, CPDFObjRef* pageRef, Path& path, Trail& trail, int32_t firstKid,
                            int64_t firstPosition) {
  PathStep pathStep(path, this);
  CPDFArray* kids = Get_Kids();
  CPDFNumber* count = Get_Count();
  if (!kids || !count) return nullptr;
  int64_t total = count->GetInt();
  if (index < 0 || index > total - 1) return nullptr;

  // Records the kid taken at this level.
  auto take = [&](const Kid& kid, int64_t start, int64_t below, bool last) {
    Step step;
    step.index = index;
    step.total = total;
    CPDFArray* now = Get_Kids();
    step.kidCount = now ? now->Count() : 0;
    step.kid = kid.index;
    step.start = start;
    step.below = below;
    step.last = last;
    step.kidRef = kid.ref;
    trail.push_back(step);
  };

  Kid kid;
  if (index == total - 1) {
    // The last page is the last kid's last page.
    int32_t last = kids->Count() - 1;
    if (last < 0 || !ResolveKid(last, kid)) return nullptr;
    if (kid.node) {
      CPDFPages* node = Reach<CPDFPages>(kid);
      take(kid, 0, 0, true);
      return node->PageAt(node->CountValue() - 1, pageRef, path, trail);
    }
    CPDFPage* page = Reach<CPDFPage>(kid);
    take(kid, 0, 1, true);
    if (pageRef) *pageRef = kid.ref;
    return page;
  }

  int64_t position = firstPosition;
  for (int32_t i = std::max(firstKid, 0); i < kids->Count(); ++i) {
    if (!ResolveKid(i, kid)) {
      // A kid that cannot be loaded counts as one page.
      if (position == index) return nullptr;
      ++position;
    } else if (kid.node) {
      CPDFPages* node = Reach<CPDFPages>(kid);
      int64_t below = node->CountValue();
      if (index < position + below) {
        take(kid, position, below, false);
        return node->PageAt(static_cast<int32_t>(index - position), pageRef, path, trail);
      }
      position += below;
    } else if (position == index) {
      CPDFPage* page = Reach<CPDFPage>(kid);
      take(kid, position, 1, false);
      if (pageRef) *pageRef = kid.ref;
      return page;
    } else {
      ++position;
    }
    kids = Get_Kids();  // realizing a kid may have replaced the array
    if (!kids) return nullptr;
  }
  return nullptr;
}

bool CPDFPages::DeletePage(int32_t index, const CPDFObjRef& self) {
  ForgetCursor();
  try {
    Path path;
    return DeleteAt(index, self, path);
  } catch (...) {
    return false;
  }
}

void CPDFPages::RemoveKid(int32_t i, const CPDFObjRef& self, bool& registered) {
  ObjectTable* doc = GetDoc();
  if (!doc || !doc->UpdateObj(self)) FailStruct();
  registered = true;
  CPDFArray* kids = Get_Kids();
  if (!kids || !kids->RemoveObj(doc, i)) FailStruct();
}

void CPDFPages::LowerCount(const CPDFObjRef& self, bool& registered) {
  ObjectTable* doc = GetDoc();
  CPDFObjRef countRef;
  CPDFNumber* count = Get_Count(&countRef);
  if (!count) FailStruct();
  // A save writes only registered objects: the node (and an indirect Count)
  // must be written with the Count lowered.
  if (!registered) {
    if (!doc || !doc->UpdateObj(self)) FailStruct();
    registered = true;
  }
  if (countRef.IsValid() && (!doc || !doc->UpdateObj(countRef))) FailStruct();
  count->SetInt(count->GetInt() - 1);
}

bool CPDFPages::DeleteAt(int32_t index, const CPDFObjRef& self, Path& path) {
  PathStep step(path, this);
  ForgetCursor();
  CPDFArray* kids = Get_Kids();
  CPDFNumber* count = Get_Count();
  if (!kids || !count) return false;
  int64_t total = count->GetInt();
  if (index < 0 || index > total - 1) return false;

  bool registered = false;
  Kid kid;
  // Removes the page or node found at kid.index below this node.
  auto removeFrom = [&](CPDFPages* node, int32_t position) {
    if (!node->DeleteAt(position, kid.ref, path)) FailStruct();
    if (node->CountValue() == 0) RemoveKid(kid.index, self, registered);
    LowerCount(self, registered);
  };
  auto removePage = [&] {
    Reach<CPDFPage>(kid);
    RemoveKid(kid.index, self, registered);
    LowerCount(self, registered);
  };

  if (index == total - 1) {
    int32_t last = kids->Count() - 1;
    if (last < 0 || !ResolveKid(last, kid)) return false;
    if (kid.node) {
      CPDFPages* node = Reach<CPDFPages>(kid);
      removeFrom(node, node->CountValue() - 1);
    } else {
      removePage();
    }
    return true;
  }

  int64_t position = 0;
  for (int32_t i = 0; i < kids->Count(); ++i) {
    if (!ResolveKid(i, kid)) {
      if (position == index) return false;
      ++position;
    } else if (kid.node) {
      CPDFPages* node = Reach<CPDFPages>(kid);
      int64_t below = node->CountValue();
      if (index < position + below) {
        removeFrom(node, static_cast<int32_t>(index - position));
        return true;
      }
      position += below;
    } else if (position == index) {
      removePage();
      return true;
    } else {
      ++position;
    }
    kids = Get_Kids();
    if (!kids) return false;
  }
  return true;  // the kids never reach the position: nothing to delete
}

}  // namespace koyo
