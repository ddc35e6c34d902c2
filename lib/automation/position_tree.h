// The order of a collection's items: a counted B+ tree. Leaves hold pointers to the items in
// order; inner nodes hold, per child, the number of items below it. Finding the item at a
// 0-based position, inserting at a position and removing an item take O(log n); an item finds
// its own position in O(log n) through the leaf it records. Reading positions one after the
// other (a walk, an enumeration) costs O(1) each through a finger on the last leaf read.
// Platform-free; the items belong to the caller.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bk {

class PositionTree {
public:
    struct Leaf;
    // Base of the items: the tree keeps the leaf holding the item here.
    struct Item {
        Leaf* leaf = nullptr;
    };

    static constexpr uint32_t kLeafCapacity = 64;
    static constexpr uint32_t kInnerCapacity = 64;

    struct Inner;
    struct Node {
        Inner* parent = nullptr;
        uint32_t size = 0;  // items of a leaf, children of an inner node
        bool isLeaf = true;
    };
    struct Leaf : Node {
        Leaf* prev = nullptr;
        Leaf* next = nullptr;
        Item* items[kLeafCapacity];
    };
    struct Inner : Node {
        uint32_t counts[kInnerCapacity];  // items below each child
        Node* children[kInnerCapacity];
    };

    PositionTree() = default;
    ~PositionTree() { Clear(); }
    PositionTree(const PositionTree&) = delete;
    PositionTree& operator=(const PositionTree&) = delete;

    size_t size() const { return count_; }

    // The item at `position` (< size()).
    Item* At(size_t position) const {
        if (const Leaf* f = finger_) {
            const size_t offset = position - fingerStart_;  // wraps for positions before the leaf
            if (offset < f->size) return f->items[offset];
            if (offset == f->size && f->next) {
                fingerStart_ += f->size;
                finger_ = f->next;
                return finger_->items[0];
            }
        }
        return Descend(position);
    }

    // The 0-based position of an item the tree holds.
    size_t PositionOf(const Item* item) const;

    // Puts `item` at `position` (<= size()); the items from there on move one place up. On
    // std::bad_alloc nothing has changed.
    void Insert(size_t position, Item* item);

    // Takes out an item the tree holds; the items after it move one place down.
    void Erase(Item* item) noexcept;

    // Levels from the root to the leaves (0 when empty).
    size_t Height() const;

    // Drops every node (the items are left to their owner).
    void Clear() noexcept;

private:
    Item* Descend(size_t position) const;
    void InsertChild(Inner* parent, Node* left, Node* child, uint32_t childCount, struct NodeReserve& reserve);
    void Rebalance(Node* node) noexcept;
    void Unlink(Leaf* leaf) noexcept;
    void FreeNode(Node* node) noexcept;
    static void FreeSubtree(Node* node) noexcept;

    Node* root_ = nullptr;
    Leaf* first_ = nullptr;
    Leaf* last_ = nullptr;
    size_t count_ = 0;
    // The last leaf found by position and the position of its first item; reset by changes.
    mutable const Leaf* finger_ = nullptr;
    mutable size_t fingerStart_ = 0;
};

}  // namespace bk
