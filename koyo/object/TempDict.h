// The library's ordered map: an unbalanced search tree with parent links that
// straightens three-node chains as they appear, iterated in ascending key
// order. Keys are full copies; the optional deleter receives every value that
// the map drops on replacement or Clear. Dictionaries and the document's
// reference maps are built on it.
#pragma once
#include <cstdint>
#include <new>
#include <utility>

namespace koyo {

template <class K, class V>
class TempDict {
public:
  using Deleter = void (*)(V* slot);

  struct Node {
    Node(const K& k, const V& v) : key(k), value(v) {}
    virtual ~Node() = default;
    K key;
    V value;
    Node* parent = nullptr;
    Node* left = nullptr;
    Node* right = nullptr;
  };

  // Walks the entries in ascending key order.
  class iterator {
  public:
    iterator() = default;
    explicit iterator(Node* node) : node_(node) {}
    Node& operator*() const { return *node_; }
    Node* operator->() const { return node_; }
    Node* node() const { return node_; }
    iterator& operator++() {
      node_ = Successor(node_);
      return *this;
    }
    bool operator==(const iterator& other) const { return node_ == other.node_; }
    bool operator!=(const iterator& other) const { return node_ != other.node_; }

  private:
    Node* node_ = nullptr;
  };

  TempDict() = default;
  explicit TempDict(Deleter deleter) : deleter_(deleter) {}
  TempDict(const TempDict&) = delete;
  TempDict& operator=(const TempDict&) = delete;
  TempDict(TempDict&& other) noexcept : deleter_(other.deleter_) { Swap(other); }
  virtual ~TempDict() { Clear(); }

  // Stores value under key. An existing entry keeps its key object and gets the
  // new value; the old value goes to the deleter (unless it is the same value).
  // False when a new node cannot be allocated (value not stored, not deleted).
  bool Insert(const K& key, const V& value) { return Store<false>(key, value, nullptr); }
  // Insert for a key that may give up its contents: a new entry takes them
  // over instead of copying them, leaving key empty. K needs Swap and an empty
  // copy that allocates nothing.
  bool InsertTaking(K& key, const V& value) { return Store<true>(key, value, &key); }

  iterator Find(const K& key) const {
    Node* p = root_;
    while (p) {
      if (key < p->key) {
        p = p->left;
      } else if (p->key < key) {
        p = p->right;
      } else {
        break;
      }
    }
    return iterator(p);
  }
  // Finds with a three-way comparison: cmp(nodeKey) is negative when nodeKey
  // orders before the wanted key, zero when it is the key, positive after it.
  template <class Cmp>
  iterator FindBy(Cmp cmp) const {
    Node* p = root_;
    while (p) {
      int c = cmp(p->key);
      if (c > 0) {
        p = p->left;
      } else if (c < 0) {
        p = p->right;
      } else {
        break;
      }
    }
    return iterator(p);
  }

  // Unlinks and destroys the entry (its value is not given to the deleter) and
  // returns the iterator after it.
  iterator Erase(iterator it) {
    Node* x = it.node();
    if (!x) return end();
    Node* next = Successor(x);
    if (x == first_) first_ = next;
    if (x == last_) last_ = Predecessor(x);
    if (x->left) {
      Node* s = x->left;
      while (s->right) s = s->right;
      if (s != x->left) {
        s->parent->right = s->left;
        if (s->left) s->left->parent = s->parent;
        s->left = x->left;
        x->left->parent = s;
      }
      s->right = x->right;
      if (x->right) x->right->parent = s;
      Replace(x, s);
    } else {
      Replace(x, x->right);
    }
    delete x;
    --count_;
    return iterator(next);
  }
  bool Erase(const K& key) {
    iterator it = Find(key);
    if (it == end()) return false;
    Erase(it);
    return true;
  }

  // Gives every value to the deleter in key order and destroys all entries.
  void Clear() {
    if (deleter_) {
      for (Node* n = first_; n; n = Successor(n)) deleter_(&n->value);
    }
    // Destroy the nodes without recursion: the tree may be deep.
    Node* n = root_;
    while (n) {
      if (n->left) {
        n = n->left;
      } else if (n->right) {
        n = n->right;
      } else {
        Node* up = n->parent;
        if (up) (up->left == n ? up->left : up->right) = nullptr;
        delete n;
        n = up;
      }
    }
    root_ = first_ = last_ = nullptr;
    count_ = 0;
  }

  // Exchanges the entries (not the deleters) with other.
  void Swap(TempDict& other) noexcept {
    std::swap(root_, other.root_);
    std::swap(count_, other.count_);
    std::swap(first_, other.first_);
    std::swap(last_, other.last_);
  }

  int32_t Count() const { return count_; }
  Node* Root() const { return root_; }
  Node* First() const { return first_; }
  Node* Last() const { return last_; }
  iterator begin() const { return iterator(first_); }
  iterator end() const { return iterator(); }
  Deleter GetDeleter() const { return deleter_; }
  void SetDeleter(Deleter deleter) { deleter_ = deleter; }

  static Node* Successor(Node* n) {
    if (!n) return nullptr;
    if (n->right) {
      n = n->right;
      while (n->left) n = n->left;
      return n;
    }
    while (n->parent && n->parent->right == n) n = n->parent;
    return n->parent;
  }
  static Node* Predecessor(Node* n) {
    if (!n) return nullptr;
    if (n->left) {
      n = n->left;
      while (n->right) n = n->right;
      return n;
    }
    while (n->parent && n->parent->left == n) n = n->parent;
    return n->parent;
  }

private:
  // Insert; with Take, a new node takes the contents of give (the key itself).
  template <bool Take>
  bool Store(const K& key, const V& value, K* give) {
    Node* parent = nullptr;
    bool left = false;
    for (Node* p = root_; p;) {
      parent = p;
      if (key < p->key) {
        left = true;
        p = p->left;
      } else if (p->key < key) {
        left = false;
        p = p->right;
      } else {
        if (deleter_ && !(p->value == value)) deleter_(&p->value);
        p->value = value;
        return true;
      }
    }
    Node* n = nullptr;
    if constexpr (Take) {
      K contents;
      contents.Swap(*give);  // give keeps everything but its contents
      n = new (std::nothrow) Node(*give, value);
      give->Swap(contents);
      if (n) n->key.Swap(*give);
    } else {
      n = new (std::nothrow) Node(key, value);
    }
    if (!n) return false;
    n->parent = parent;
    if (!parent) {
      root_ = n;
    } else if (left) {
      parent->left = n;
    } else {
      parent->right = n;
    }
    Straighten(n);
    ++count_;
    if (!first_ || n->key < first_->key) first_ = n;
    if (!last_ || last_->key < n->key) last_ = n;
    return true;
  }

  // Puts child in node's place under node's parent (or as the root).
  void Replace(Node* node, Node* child) {
    Node* up = node->parent;
    if (child) child->parent = up;
    if (!up) {
      root_ = child;
    } else if (up->left == node) {
      up->left = child;
    } else {
      up->right = child;
    }
  }

  // After n was linked below p: when p and p's parent g have no other child,
  // the chain g-p-n becomes a triple whose middle key takes g's place and whose
  // other two nodes become its leaf children.
  void Straighten(Node* n) {
    Node* p = n->parent;
    if (!p || (p->left && p->right)) return;
    Node* g = p->parent;
    if (!g || (g->left && g->right)) return;
    bool nLeft = p->left == n;
    bool pLeft = g->left == p;
    Node* lo;
    Node* mid;
    Node* hi;
    if (nLeft && pLeft) {
      lo = n, mid = p, hi = g;
    } else if (!nLeft && !pLeft) {
      lo = g, mid = p, hi = n;
    } else if (nLeft) {
      lo = g, mid = n, hi = p;
    } else {
      lo = p, mid = n, hi = g;
    }
    Replace(g, mid);
    mid->left = lo;
    mid->right = hi;
    lo->parent = hi->parent = mid;
    lo->left = lo->right = hi->left = hi->right = nullptr;
  }

  Deleter deleter_ = nullptr;
  Node* root_ = nullptr;
  int32_t count_ = 0;
  Node* first_ = nullptr;
  Node* last_ = nullptr;
};

}  // namespace koyo
