// The keys of a collection: a flat open-addressing table (linear probing, deletion by backward
// shift, so no tombstones) from folded keys to the items that hold them. Adding a key costs
// one probe sequence: Locate finds the key or the free slot that Fill then takes. Platform-
// free; the keys' text lives in the items.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace bk {

class KeyIndex {
public:
    // Base of the items that hold a key: its folded text and hash.
    struct Key {
        const wchar_t* text = nullptr;
        uint32_t length = 0;
        uint32_t hash = 0;
        std::wstring_view view() const { return {text, length}; }
    };

    static uint32_t Hash(std::wstring_view folded);

    size_t size() const { return count_; }

    const Key* Find(std::wstring_view folded, uint32_t hash) const;

    // Where a key is or would go. `found` is the key's holder, else `slot` is the free slot
    // for it, valid until the table changes.
    struct Place {
        const Key* found = nullptr;
        size_t slot = 0;
    };
    // Makes room for one more key first, so it may throw std::bad_alloc (nothing changed).
    Place Locate(std::wstring_view folded, uint32_t hash);
    // Stores `key` (whose text and hash are those located) in the free slot found.
    void Fill(const Place& place, const Key* key) noexcept;

    // Takes out a key the table holds.
    void Erase(const Key* key) noexcept;

private:
    struct Slot {
        uint32_t hash = 0;
        const Key* key = nullptr;  // null: free
    };
    size_t Home(uint32_t hash) const { return static_cast<size_t>((hash * 2654435769u) >> shift_); }
    void Rehash(size_t capacity);

    std::vector<Slot> slots_;  // empty, or a power of two in size
    size_t count_ = 0;
    unsigned shift_ = 32;  // 32 - log2(capacity)
};

}  // namespace bk
