#include "lib/automation/key_index.h"

#include <new>

namespace bk {

namespace {
constexpr size_t kMinCapacity = 16;
}

uint32_t KeyIndex::Hash(std::wstring_view folded) {
    // FNV-1a over the characters, then a finalizer so that every bit of the result depends on
    // every character (Home takes the high bits).
    uint32_t h = 2166136261u;
    for (wchar_t ch : folded) h = (h ^ static_cast<uint32_t>(ch)) * 16777619u;
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

const KeyIndex::Key* KeyIndex::Find(std::wstring_view folded, uint32_t hash) const {
    if (slots_.empty()) return nullptr;
    const size_t mask = slots_.size() - 1;
    for (size_t i = Home(hash);; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (!s.key) return nullptr;
        if (s.hash == hash && s.key->view() == folded) return s.key;
    }
}

KeyIndex::Place KeyIndex::Locate(std::wstring_view folded, uint32_t hash) {
    // At most three quarters full, so that probe sequences stay short.
    if ((count_ + 1) * 4 > slots_.size() * 3) Rehash(slots_.empty() ? kMinCapacity : slots_.size() * 2);
    const size_t mask = slots_.size() - 1;
    for (size_t i = Home(hash);; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (!s.key) return Place{nullptr, i};
        if (s.hash == hash && s.key->view() == folded) return Place{s.key, i};
    }
}

void KeyIndex::Fill(const Place& place, const Key* key) noexcept {
    slots_[place.slot] = Slot{key->hash, key};
    ++count_;
}

void KeyIndex::Erase(const Key* key) noexcept {
    const size_t mask = slots_.size() - 1;
    size_t hole = Home(key->hash);
    while (slots_[hole].key != key) hole = (hole + 1) & mask;
    // Move back every later key of the run whose home does not lie between the hole and it.
    for (size_t j = (hole + 1) & mask; slots_[j].key; j = (j + 1) & mask) {
        const size_t home = Home(slots_[j].hash);
        if (((j - home) & mask) >= ((j - hole) & mask)) {
            slots_[hole] = slots_[j];
            hole = j;
        }
    }
    slots_[hole] = Slot{};
    --count_;
    if (count_ == 0) {
        std::vector<Slot>().swap(slots_);
        shift_ = 32;
    } else if (slots_.size() > kMinCapacity && count_ * 8 < slots_.size()) {
        // Mostly empty: a smaller table, when the memory for it can be had.
        try {
            Rehash(slots_.size() / 2);
        } catch (const std::bad_alloc&) {
        }
    }
}

void KeyIndex::Rehash(size_t capacity) {
    std::vector<Slot> old(capacity);
    old.swap(slots_);
    unsigned bits = 0;
    while ((size_t{1} << bits) < capacity) ++bits;
    shift_ = 32 - bits;
    const size_t mask = capacity - 1;
    for (const Slot& s : old) {
        if (!s.key) continue;
        size_t i = Home(s.hash);
        while (slots_[i].key) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

}  // namespace bk
