#include "lib/automation/position_tree.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace bk {

// The nodes an insertion may need, allocated before anything changes: a leaf split, then one
// inner node per full ancestor, and a new root. Whatever is left over is freed.
struct NodeReserve {
    PositionTree::Leaf* leaf = nullptr;
    PositionTree::Inner* inners[64] = {};
    int innerCount = 0;

    NodeReserve() = default;
    NodeReserve(const NodeReserve&) = delete;
    NodeReserve& operator=(const NodeReserve&) = delete;
    ~NodeReserve() {
        delete leaf;
        for (int i = 0; i < innerCount; ++i) delete inners[i];
    }
    PositionTree::Leaf* TakeLeaf() { return std::exchange(leaf, nullptr); }
    PositionTree::Inner* TakeInner() { return inners[--innerCount]; }
};

namespace {

using Node = PositionTree::Node;
using Leaf = PositionTree::Leaf;
using Inner = PositionTree::Inner;
using Item = PositionTree::Item;

// The index of `child` among its parent's children. Appends and removals at either end are
// the usual case, so both ends are looked at first.
uint32_t IndexIn(const Inner* parent, const Node* child) {
    const uint32_t last = parent->size - 1;
    if (parent->children[last] == child) return last;
    uint32_t i = 0;
    while (parent->children[i] != child) ++i;
    return i;
}

uint32_t ItemsBelow(const Node* node) {
    if (node->isLeaf) return node->size;
    const Inner* inner = static_cast<const Inner*>(node);
    uint32_t sum = 0;
    for (uint32_t i = 0; i < inner->size; ++i) sum += inner->counts[i];
    return sum;
}

void AdoptItems(Leaf* leaf, uint32_t from, uint32_t to) {
    for (uint32_t i = from; i < to; ++i) leaf->items[i]->leaf = leaf;
}

void AdoptChildren(Inner* inner, uint32_t from, uint32_t to) {
    for (uint32_t i = from; i < to; ++i) inner->children[i]->parent = inner;
}

// Adds `delta` to the count of every ancestor of `node`.
void AddToAncestors(Node* node, int delta) {
    for (Inner* p = node->parent; p; node = p, p = p->parent) {
        uint32_t& count = p->counts[IndexIn(p, node)];
        count = static_cast<uint32_t>(static_cast<int64_t>(count) + delta);
    }
}

}  // namespace

Item* PositionTree::Descend(size_t position) const {
    const Node* node = root_;
    size_t start = 0;
    while (!node->isLeaf) {
        const Inner* inner = static_cast<const Inner*>(node);
        uint32_t i = 0;
        while (position - start >= inner->counts[i]) start += inner->counts[i++];
        node = inner->children[i];
    }
    const Leaf* leaf = static_cast<const Leaf*>(node);
    finger_ = leaf;
    fingerStart_ = start;
    return leaf->items[position - start];
}

size_t PositionTree::PositionOf(const Item* item) const {
    const Leaf* leaf = item->leaf;
    size_t position = 0;
    while (leaf->items[position] != item) ++position;
    const Node* node = leaf;
    for (const Inner* p = node->parent; p; node = p, p = p->parent) {
        const uint32_t index = IndexIn(p, node);
        for (uint32_t i = 0; i < index; ++i) position += p->counts[i];
    }
    return position;
}

size_t PositionTree::Height() const {
    size_t levels = 0;
    for (const Node* n = root_; n; n = n->isLeaf ? nullptr : static_cast<const Inner*>(n)->children[0]) ++levels;
    return levels;
}

void PositionTree::Insert(size_t position, Item* item) {
    if (!root_) {
        Leaf* leaf = new Leaf();
        root_ = first_ = last_ = leaf;
    }
    // The leaf and the place in it: the end of the last leaf for an append.
    Leaf* leaf;
    uint32_t offset;
    if (position == count_) {
        leaf = last_;
        offset = leaf->size;
    } else {
        Descend(position);
        leaf = const_cast<Leaf*>(finger_);
        offset = static_cast<uint32_t>(position - fingerStart_);
    }
    finger_ = nullptr;

    if (leaf->size == kLeafCapacity) {
        NodeReserve reserve;
        reserve.leaf = new Leaf();
        for (Node* n = leaf;; n = n->parent) {
            if (n->parent && n->parent->size < kInnerCapacity) break;
            reserve.inners[reserve.innerCount++] = new Inner();
            if (!n->parent) break;
        }
        // From here on nothing allocates.
        Leaf* right = reserve.TakeLeaf();
        right->prev = leaf;
        right->next = leaf->next;
        (leaf->next ? leaf->next->prev : last_) = right;
        leaf->next = right;
        // After the last item of a full leaf (an append) the item starts the new leaf alone, so
        // that appended items fill their leaves; anywhere else the leaf splits in halves.
        Leaf* target = right;
        uint32_t targetOffset = 0;
        if (offset < leaf->size) {
            const uint32_t half = kLeafCapacity / 2;
            std::memcpy(right->items, leaf->items + half, (kLeafCapacity - half) * sizeof(Item*));
            right->size = kLeafCapacity - half;
            leaf->size = half;
            AdoptItems(right, 0, right->size);
            target = offset <= half ? leaf : right;
            targetOffset = offset <= half ? offset : offset - half;
        }
        if (leaf->parent) leaf->parent->counts[IndexIn(leaf->parent, leaf)] = leaf->size;
        InsertChild(leaf->parent, leaf, right, right->size, reserve);
        leaf = target;
        offset = targetOffset;
    }
    std::memmove(leaf->items + offset + 1, leaf->items + offset, (leaf->size - offset) * sizeof(Item*));
    leaf->items[offset] = item;
    ++leaf->size;
    item->leaf = leaf;
    AddToAncestors(leaf, 1);
    ++count_;
}

// Puts `child` (holding `childCount` items) right after `left` among the children of
// `parent`, splitting full nodes upwards; without a parent, a new root holds both.
void PositionTree::InsertChild(Inner* parent, Node* left, Node* child, uint32_t childCount, NodeReserve& reserve) {
    if (!parent) {
        Inner* root = reserve.TakeInner();
        root->isLeaf = false;
        root->size = 2;
        root->children[0] = left;
        root->children[1] = child;
        root->counts[0] = ItemsBelow(left);
        root->counts[1] = childCount;
        left->parent = child->parent = root;
        root_ = root;
        return;
    }
    const uint32_t at = IndexIn(parent, left) + 1;
    auto put = [&](Inner* into, uint32_t index) {
        std::memmove(into->children + index + 1, into->children + index, (into->size - index) * sizeof(Node*));
        std::memmove(into->counts + index + 1, into->counts + index, (into->size - index) * sizeof(uint32_t));
        into->children[index] = child;
        into->counts[index] = childCount;
        ++into->size;
        child->parent = into;
    };
    if (parent->size < kInnerCapacity) {
        put(parent, at);
        return;
    }
    Inner* right = reserve.TakeInner();
    right->isLeaf = false;
    if (at == parent->size) {
        // Appending: the new node starts with the new child alone.
        put(right, 0);
    } else {
        const uint32_t half = kInnerCapacity / 2;
        const uint32_t moved = kInnerCapacity - half;
        std::memcpy(right->children, parent->children + half, moved * sizeof(Node*));
        std::memcpy(right->counts, parent->counts + half, moved * sizeof(uint32_t));
        right->size = moved;
        parent->size = half;
        AdoptChildren(right, 0, moved);
        if (at <= half) put(parent, at);
        else put(right, at - half);
    }
    if (parent->parent) parent->parent->counts[IndexIn(parent->parent, parent)] = ItemsBelow(parent);
    InsertChild(parent->parent, parent, right, ItemsBelow(right), reserve);
}

void PositionTree::Erase(Item* item) noexcept {
    Leaf* leaf = item->leaf;
    uint32_t offset = 0;
    while (leaf->items[offset] != item) ++offset;
    std::memmove(leaf->items + offset, leaf->items + offset + 1, (leaf->size - offset - 1) * sizeof(Item*));
    --leaf->size;
    item->leaf = nullptr;
    finger_ = nullptr;
    if (--count_ == 0) {
        Clear();
        return;
    }
    AddToAncestors(leaf, -1);
    Rebalance(leaf);
}

// After `node` lost an item or a child: an empty node goes; one under a quarter full merges
// with its smaller neighbour when both fit in one node, so that no two neighbours stay that
// small and the tree keeps O(log n) height. A root with one child gives way to the child.
void PositionTree::Rebalance(Node* node) noexcept {
    Inner* parent = node->parent;
    if (!parent) {
        while (!root_->isLeaf && root_->size == 1) {
            Inner* old = static_cast<Inner*>(root_);
            root_ = old->children[0];
            root_->parent = nullptr;
            delete old;
        }
        return;
    }
    const uint32_t capacity = node->isLeaf ? kLeafCapacity : kInnerCapacity;
    uint32_t index = IndexIn(parent, node);
    auto removeChild = [&](uint32_t at) {
        std::memmove(parent->children + at, parent->children + at + 1, (parent->size - at - 1) * sizeof(Node*));
        std::memmove(parent->counts + at, parent->counts + at + 1, (parent->size - at - 1) * sizeof(uint32_t));
        --parent->size;
    };
    if (node->size == 0) {
        removeChild(index);
        FreeNode(node);
        Rebalance(parent);
        return;
    }
    if (node->size >= capacity / 4) return;
    Node* left = index > 0 ? parent->children[index - 1] : nullptr;
    Node* right = index + 1 < parent->size ? parent->children[index + 1] : nullptr;
    Node* other = nullptr;
    if (left && left->size + node->size <= capacity) other = left;
    if (right && right->size + node->size <= capacity && (!other || right->size < other->size)) other = right;
    if (!other) return;
    // Merge the pair (a before b) into the node with more entries, moving the fewer.
    Node* a = other == left ? left : node;
    Node* b = other == left ? node : right;
    const uint32_t ia = other == left ? index - 1 : index;
    const bool intoA = a->size >= b->size;
    if (a->isLeaf) {
        Leaf* la = static_cast<Leaf*>(a);
        Leaf* lb = static_cast<Leaf*>(b);
        if (intoA) {
            std::memcpy(la->items + la->size, lb->items, lb->size * sizeof(Item*));
            AdoptItems(la, la->size, la->size + lb->size);
        } else {
            std::memmove(lb->items + la->size, lb->items, lb->size * sizeof(Item*));
            std::memcpy(lb->items, la->items, la->size * sizeof(Item*));
            AdoptItems(lb, 0, la->size);
        }
    } else {
        Inner* na = static_cast<Inner*>(a);
        Inner* nb = static_cast<Inner*>(b);
        if (intoA) {
            std::memcpy(na->children + na->size, nb->children, nb->size * sizeof(Node*));
            std::memcpy(na->counts + na->size, nb->counts, nb->size * sizeof(uint32_t));
            AdoptChildren(na, na->size, na->size + nb->size);
        } else {
            std::memmove(nb->children + na->size, nb->children, nb->size * sizeof(Node*));
            std::memmove(nb->counts + na->size, nb->counts, nb->size * sizeof(uint32_t));
            std::memcpy(nb->children, na->children, na->size * sizeof(Node*));
            std::memcpy(nb->counts, na->counts, na->size * sizeof(uint32_t));
            AdoptChildren(nb, 0, na->size);
        }
    }
    const uint32_t total = a->size + b->size;
    parent->counts[ia] += parent->counts[ia + 1];
    parent->children[ia] = intoA ? a : b;
    (intoA ? a : b)->size = total;
    (intoA ? b : a)->size = 0;
    removeChild(ia + 1);
    FreeNode(intoA ? b : a);
    Rebalance(parent);
}

void PositionTree::Unlink(Leaf* leaf) noexcept {
    (leaf->prev ? leaf->prev->next : first_) = leaf->next;
    (leaf->next ? leaf->next->prev : last_) = leaf->prev;
}

void PositionTree::FreeNode(Node* node) noexcept {
    if (node->isLeaf) {
        Unlink(static_cast<Leaf*>(node));
        delete static_cast<Leaf*>(node);
    } else {
        delete static_cast<Inner*>(node);
    }
}

void PositionTree::FreeSubtree(Node* node) noexcept {
    if (node->isLeaf) {
        delete static_cast<Leaf*>(node);
        return;
    }
    Inner* inner = static_cast<Inner*>(node);
    for (uint32_t i = 0; i < inner->size; ++i) FreeSubtree(inner->children[i]);
    delete inner;
}

void PositionTree::Clear() noexcept {
    if (root_) FreeSubtree(root_);
    root_ = nullptr;
    first_ = last_ = nullptr;
    count_ = 0;
    finger_ = nullptr;
}

}  // namespace bk
