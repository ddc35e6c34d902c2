// The collection's order (the counted B+ tree) and its key index, without the object model,
// in the cases that random sequences (fuzz_collection_order) reach rarely: long runs at one
// end or one place, thinning out, probe runs of one hash, growing and shrinking.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lib/automation/key_index.h"
#include "lib/automation/position_tree.h"

namespace bk {
namespace {

struct Thing : PositionTree::Item {};

// A tree and the vector it must agree with; owns the items.
class Model {
public:
    explicit Model(uint64_t seed = 1) : state_(seed) {}
    ~Model() { tree_.Clear(); }

    void Insert(size_t position) {
        Thing* t = things_.emplace_back(std::make_unique<Thing>()).get();
        tree_.Insert(position, t);
        order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), t);
    }
    void EraseAt(size_t position) {
        Thing* t = order_[position];
        tree_.Erase(t);
        order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(position));
        EXPECT_EQ(t->leaf, nullptr);
    }
    size_t Random(size_t bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return bound ? static_cast<size_t>(state_ % bound) : 0;
    }
    // Every position both ways, in order and (through the finger's misses) out of order.
    void Check() {
        ASSERT_EQ(tree_.size(), order_.size());
        for (size_t i = 0; i < order_.size(); ++i) ASSERT_EQ(tree_.At(i), order_[i]) << "position " << i;
        for (size_t i = order_.size(); i-- > 0;) ASSERT_EQ(tree_.At(i), order_[i]) << "position " << i;
        for (size_t i = 0; i < order_.size(); ++i) ASSERT_EQ(tree_.PositionOf(order_[i]), i) << "item at " << i;
    }

    PositionTree tree_;
    std::vector<Thing*> order_;

private:
    std::vector<std::unique_ptr<Thing>> things_;
    uint64_t state_;
};

TEST(PositionTree, AppendsAndReadsBackEveryPosition) {
    Model m;
    for (size_t i = 0; i < 20000; ++i) m.Insert(i);
    m.Check();
    // Far apart, then the neighbours on either side (the finger's next leaf and a miss).
    for (size_t k = 0; k < 2000; ++k) {
        const size_t p = 1 + m.Random(m.order_.size() - 2);
        for (size_t q : {p, p + 1, p - 1}) ASSERT_EQ(m.tree_.At(q), m.order_[q]);
    }
}

TEST(PositionTree, DrainsFromTheFrontMiddleAndEndAndIsUsableAgain) {
    for (int where = 0; where < 3; ++where) {
        Model m(static_cast<uint64_t>(where) + 3);
        for (size_t i = 0; i < 10000; ++i) m.Insert(i);
        size_t step = 0;
        while (!m.order_.empty()) {
            const size_t n = m.order_.size();
            m.EraseAt(where == 0 ? 0 : where == 1 ? n / 2 : n - 1);
            if (++step % 997 == 0) m.Check();
        }
        m.Check();
        // Empty: the tree starts again from nothing.
        for (size_t i = 0; i < 300; ++i) m.Insert(m.Random(i + 1));
        m.Check();
    }
}

TEST(PositionTree, StaysShallowWhenThinnedOut) {
    // 200k items fill about 3200 leaves under three levels; thinned to one item in 50, the
    // emptied leaves must merge, or the tree would keep its height and its thousands of nodes.
    Model m(5);
    for (size_t i = 0; i < 200000; ++i) m.Insert(i);
    EXPECT_LE(m.tree_.Height(), 4u);
    for (size_t i = m.order_.size(); i-- > 0;)
        if (i % 50 != 0) m.EraseAt(i);
    m.Check();
    EXPECT_LE(m.tree_.Height(), 3u) << "4000 items in leaves at least a quarter full need three levels";
    while (m.order_.size() > 10) m.EraseAt(m.Random(m.order_.size()));
    EXPECT_EQ(m.tree_.Height(), 1u) << "leaves under a quarter full merge until one is left";
    m.Check();
}

TEST(PositionTree, InsertsRepeatedlyAtOnePlace) {
    // Each insertion lands in the leaf just split, before the items moved to its new sibling.
    Model m(11);
    for (size_t i = 0; i < 5000; ++i) m.Insert(0);
    m.Check();
    for (size_t i = 0; i < 5000; ++i) m.Insert(2500);
    m.Check();
    for (size_t i = 0; i < 5000; ++i) m.Insert(m.order_.size() - 1);
    m.Check();
}

struct Named : KeyIndex::Key {
    explicit Named(std::wstring s, uint32_t forcedHash = 0) : name(std::move(s)) {
        text = name.data();
        length = static_cast<uint32_t>(name.size());
        hash = forcedHash ? forcedHash : KeyIndex::Hash(name);
    }
    std::wstring name;
};

bool Add(KeyIndex& index, Named& key) {
    const KeyIndex::Place place = index.Locate(key.view(), key.hash);
    if (place.found) return false;
    index.Fill(place, &key);
    return true;
}

TEST(KeyIndex, FindsLocatesDuplicatesAndForgetsErasedKeys) {
    KeyIndex index;
    EXPECT_EQ(index.Find(L"a", KeyIndex::Hash(L"a")), nullptr) << "an empty index finds nothing";
    Named a(L"alpha"), b(L"beta"), again(L"alpha");
    ASSERT_TRUE(Add(index, a));
    ASSERT_TRUE(Add(index, b));
    EXPECT_FALSE(Add(index, again));
    EXPECT_EQ(index.Locate(again.view(), again.hash).found, &a);
    EXPECT_EQ(index.Find(L"beta", KeyIndex::Hash(L"beta")), &b);
    EXPECT_EQ(index.Find(L"bet", KeyIndex::Hash(L"bet")), nullptr);
    index.Erase(&a);
    EXPECT_EQ(index.Find(L"alpha", a.hash), nullptr);
    EXPECT_TRUE(Add(index, again)) << "an erased key is free again";
    EXPECT_EQ(index.size(), 2u);
}

TEST(KeyIndex, KeysSharingAHashStayApartThroughErasures) {
    // One hash for all: a single probe run, where erasing from the middle must move the later
    // keys back without losing one.
    KeyIndex index;
    std::vector<std::unique_ptr<Named>> keys;
    for (int i = 0; i < 12; ++i) keys.push_back(std::make_unique<Named>(L"k" + std::to_wstring(i), 0x12345678u));
    for (auto& k : keys) ASSERT_TRUE(Add(index, *k));
    for (int i : {5, 0, 11, 6}) index.Erase(keys[static_cast<size_t>(i)].get());
    for (int i = 0; i < 12; ++i) {
        const bool erased = i == 5 || i == 0 || i == 11 || i == 6;
        const KeyIndex::Key* found = index.Find(keys[static_cast<size_t>(i)]->view(), 0x12345678u);
        EXPECT_EQ(found, erased ? nullptr : keys[static_cast<size_t>(i)].get()) << i;
    }
}

TEST(KeyIndex, GrowsAndShrinksKeepingEveryKey) {
    KeyIndex index;
    std::vector<std::unique_ptr<Named>> keys;
    const int n = 50000;
    for (int i = 0; i < n; ++i) {
        keys.push_back(std::make_unique<Named>(L"key" + std::to_wstring(i)));
        ASSERT_TRUE(Add(index, *keys.back()));
    }
    // Erase all but every tenth: the table shrinks on the way.
    for (int i = 0; i < n; ++i)
        if (i % 10 != 0) index.Erase(keys[static_cast<size_t>(i)].get());
    EXPECT_EQ(index.size(), static_cast<size_t>(n / 10));
    for (int i = 0; i < n; ++i) {
        const Named& k = *keys[static_cast<size_t>(i)];
        EXPECT_EQ(index.Find(k.view(), k.hash), i % 10 == 0 ? &k : nullptr) << i;
    }
    for (int i = 0; i < n; i += 10) index.Erase(keys[static_cast<size_t>(i)].get());
    EXPECT_EQ(index.size(), 0u);
    ASSERT_TRUE(Add(index, *keys[3]));
    EXPECT_EQ(index.Find(keys[3]->view(), keys[3]->hash), keys[3].get());
}

}  // namespace
}  // namespace bk
