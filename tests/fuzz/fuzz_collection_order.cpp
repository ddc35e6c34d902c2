// The collection's order (bk::PositionTree) and key index (bk::KeyIndex) under any sequence of
// insertions, removals and look-ups, against a vector and a map of the same items.
//
// Input: operations of three bytes each. The first byte chooses the operation (one of six),
// the second a position scaled to the size, the third a key of one to three letters out of
// four (for the keyed operations), so that keys repeat.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lib/automation/key_index.h"
#include "lib/automation/position_tree.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct Thing : bk::PositionTree::Item, bk::KeyIndex::Key {
    std::wstring name;
};

std::wstring KeyFrom(std::uint8_t b) {
    std::wstring key;
    const int length = 1 + b % 3;
    for (int i = 0; i < length; ++i, b = static_cast<std::uint8_t>(b / 4)) key += static_cast<wchar_t>(L'a' + b % 4);
    return key;
}

class Run {
public:
    ~Run() { tree_.Clear(); }

    void Insert(size_t position, const std::wstring* key) {
        auto thing = std::make_unique<Thing>();
        bk::KeyIndex::Place place;
        if (key) {
            thing->name = *key;
            thing->text = thing->name.data();
            thing->length = static_cast<uint32_t>(thing->name.size());
            thing->hash = bk::KeyIndex::Hash(*key);
            place = index_.Locate(*key, thing->hash);
            const auto known = keys_.find(*key);
            FUZZ_CHECK((place.found != nullptr) == (known != keys_.end()));
            if (place.found) {
                FUZZ_CHECK(place.found == known->second);
                return;
            }
        }
        tree_.Insert(position, thing.get());
        order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), thing.get());
        if (key) {
            index_.Fill(place, thing.get());
            keys_[*key] = thing.get();
        }
        owned_.push_back(std::move(thing));
    }

    void Erase(Thing* thing) {
        const size_t position = tree_.PositionOf(thing);
        FUZZ_CHECK(position < order_.size() && order_[position] == thing);
        if (thing->text) {
            index_.Erase(thing);
            keys_.erase(thing->name);
        }
        tree_.Erase(thing);
        FUZZ_CHECK(thing->leaf == nullptr);
        order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(position));
    }

    void Step(const std::uint8_t* op) {
        const size_t n = order_.size();
        const std::wstring key = KeyFrom(op[2]);
        switch (op[0] % 6) {
        case 0: Insert(op[1] * (n + 1) / 256, nullptr); break;
        case 1: Insert(op[1] * (n + 1) / 256, &key); break;
        case 2:
            if (n) Erase(order_[op[1] * n / 256]);
            break;
        case 3: {
            const bk::KeyIndex::Key* found = index_.Find(key, bk::KeyIndex::Hash(key));
            const auto known = keys_.find(key);
            FUZZ_CHECK((found != nullptr) == (known != keys_.end()));
            if (found) Erase(known->second);
            break;
        }
        case 4:
            // Neighbouring positions in both directions, as walks read them.
            if (n) {
                const size_t p = op[1] * n / 256;
                for (size_t q = p; q < n && q < p + 70; ++q) FUZZ_CHECK(tree_.At(q) == order_[q]);
                for (size_t q = p + 1; q-- > 0 && q + 70 > p;) FUZZ_CHECK(tree_.At(q) == order_[q]);
            }
            break;
        default:
            // Runs of insertions at one place split the same leaves again and again.
            for (int i = 0; i < 24; ++i) Insert(op[1] * (order_.size() + 1) / 256, nullptr);
            break;
        }
        FUZZ_CHECK(tree_.size() == order_.size());
        FUZZ_CHECK(index_.size() == keys_.size());
    }

    void CheckAll() {
        for (size_t i = 0; i < order_.size(); ++i) {
            FUZZ_CHECK(tree_.At(i) == order_[i]);
            FUZZ_CHECK(tree_.PositionOf(order_[i]) == i);
        }
        for (const auto& [name, thing] : keys_) FUZZ_CHECK(index_.Find(name, bk::KeyIndex::Hash(name)) == thing);
    }

private:
    bk::PositionTree tree_;
    bk::KeyIndex index_;
    std::vector<Thing*> order_;
    std::map<std::wstring, Thing*> keys_;
    std::vector<std::unique_ptr<Thing>> owned_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Run run;
    size_t steps = 0;
    for (size_t at = 0; at + 3 <= size; at += 3) {
        run.Step(data + at);
        if (++steps % 128 == 0) run.CheckAll();
    }
    run.CheckAll();
    return 0;
}
