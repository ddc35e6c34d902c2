// Benchmark of the library's collection through its COM interface, for 1k, 10k, 100k and 1M
// items. Each operation's time per call is printed beside baselines measured in the same run:
// a plain C++ equivalent called early-bound (a vector with a flat open-addressing key index;
// for removals an order-statistic tree, libstdc++'s policy-based tree) and, late-bound,
// Scripting.Dictionary created by its programmatic id. A regression shows as a ratio. Wine's
// dictionary slows down in proportion to its size (a fixed number of hash chains), so above
// 100k items it is measured at 100k items, as its row says.
// Then the late-bound overhead of a member at the start and one at the end of _orxMain, and
// draining the largest collection from the front.
// Run: wine-run.sh collection_bench.exe [largest count, default 1000000]
#include <windows.h>

#include <ext/pb_ds/assoc_container.hpp>
#include <ext/pb_ds/tree_policy.hpp>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/harness/library.h"
#include "tests/lib/main/bench_support.h"

namespace {

using bench::Late;
using bench::PerCall;
using bench::Row;
using bench::Stopwatch;
using bktest::ComPtr;
using bktest::Variant;

std::wstring KeyOf(size_t i) { return L"key" + std::to_wstring(i); }

constexpr size_t kDictionaryMost = 100000;

// The plain C++ equivalent of a keyed collection for adding and reading: values in a vector,
// keys folded into a flat index of positions.
class StdKeyed {
public:
    HRESULT Add(const VARIANT& value, const VARIANT* key) {
        Variant copy;
        if (HRESULT hr = VariantCopyInd(copy.get(), const_cast<VARIANT*>(&value)); FAILED(hr)) return hr;
        if (key) {
            std::wstring folded;
            bench::FoldAscii(support::BstrView(V_BSTR(key)), folded);
            const uint32_t hash = bench::HashKey(folded);
            if (!index_.Insert(std::move(folded), hash, items_.size())) return 0x800A01C9;
        }
        items_.push_back(std::move(copy));
        return S_OK;
    }
    HRESULT Item(const VARIANT& index, VARIANT* out) {
        size_t at = 0;
        if (V_VT(&index) == VT_BSTR) {
            bench::FoldAscii(support::BstrView(V_BSTR(&index)), folded_);
            const size_t* found = index_.Find(folded_, bench::HashKey(folded_));
            if (!found) return 0x800A0005;
            at = *found;
        } else {
            Variant n;
            if (FAILED(VariantChangeType(n.get(), const_cast<VARIANT*>(&index), 0, VT_I4))) return 0x800A000D;
            if (V_I4(n.get()) < 1 || static_cast<size_t>(V_I4(n.get())) > items_.size()) return 0x800A0009;
            at = static_cast<size_t>(V_I4(n.get()) - 1);
        }
        return VariantCopy(out, items_[at].get());
    }
    size_t size() const { return items_.size(); }
    const VARIANT& at(size_t i) const { return *items_[i].get(); }

private:
    std::vector<Variant> items_;
    bench::FlatIndex index_;
    std::wstring folded_;
};

// The plain C++ equivalent for removals: item numbers in an order-statistic tree (rank in
// O(log n)), keys folded into a flat index of item numbers.
class StdRanked {
public:
    explicit StdRanked(size_t n) : keys_(n + 1), values_(n + 1) {
        for (size_t id = 1; id <= n; ++id) {
            bench::FoldAscii(KeyOf(id), keys_[id]);
            std::wstring copy = keys_[id];
            index_.Insert(std::move(copy), bench::HashKey(keys_[id]), id);
            values_[id] = Variant::FromLong(static_cast<LONG>(id));
            order_.insert(static_cast<uint32_t>(id));
        }
    }
    size_t size() const { return order_.size(); }
    void RemoveAt(size_t rank) {
        auto it = order_.find_by_order(rank);
        const uint32_t id = *it;
        order_.erase(it);
        index_.Erase(keys_[id], bench::HashKey(keys_[id]));
        values_[id].reset();
    }
    bool RemoveKey(const VARIANT& key) {
        bench::FoldAscii(support::BstrView(V_BSTR(&key)), folded_);
        const uint32_t hash = bench::HashKey(folded_);
        const size_t* found = index_.Find(folded_, hash);
        if (!found) return false;
        const size_t id = *found;
        order_.erase(static_cast<uint32_t>(id));
        index_.Erase(folded_, hash);
        values_[id].reset();
        return true;
    }

private:
    __gnu_pbds::tree<uint32_t, __gnu_pbds::null_type, std::less<uint32_t>, __gnu_pbds::rb_tree_tag,
                     __gnu_pbds::tree_order_statistics_node_update>
        order_;
    std::vector<std::wstring> keys_;
    std::vector<Variant> values_;
    bench::FlatIndex index_;
    std::wstring folded_;
};

struct Context {
    ComPtr<_orxMain> main;
    CLSID dictionary{};
};

ComPtr<_Collection> NewCollection(const Context& cx) {
    SAFEARRAYBOUND bound{0, 0};
    support::SafeArray none(SafeArrayCreate(VT_VARIANT, 1, &bound));
    SAFEARRAY* args = none.get();
    ComPtr<_Collection> c;
    cx.main->Collection(&args, c.put());
    return c;
}

ComPtr<IDispatch> NewDictionary(const Context& cx) {
    ComPtr<IDispatch> d;
    CoCreateInstance(cx.dictionary, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.put_void());
    return d;
}

Late LateOf(const ComPtr<_Collection>& c) {
    ComPtr<IDispatch> d;
    c->QueryInterface(IID_IDispatch, d.put_void());
    return Late(d.get());
}

long CountOf(_Collection* c) {
    long n = 0;
    c->Count(&n);
    return n;
}

// Walks an enumerator one item at a time, as For Each does; returns the items seen.
size_t Walk(IUnknown* enumerator) {
    ComPtr<IEnumVARIANT> e;
    if (FAILED(enumerator->QueryInterface(IID_IEnumVARIANT, e.put_void()))) return 0;
    size_t seen = 0;
    Variant item;
    while (e->Next(1, item.put(), nullptr) == S_OK) ++seen;
    return seen;
}

// Positions 0..n-1 in a scrambled order (the same in every run).
std::vector<long> Scrambled(size_t n) {
    std::vector<long> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = static_cast<long>(i);
    uint64_t state = 88172645463325252ull;
    for (size_t i = n; i > 1; --i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::swap(order[i - 1], order[state % i]);
    }
    return order;
}

int RunSize(const Context& cx, size_t n) {
    std::vector<Variant> keys;
    keys.reserve(n);
    for (size_t i = 1; i <= n; ++i) keys.push_back(Variant::FromString(KeyOf(i)));
    const Variant missing = Variant::Missing();
    VARIANT* none = const_cast<VARIANT*>(missing.get());
    Stopwatch w;

    // Add with key, early-bound and late-bound.
    ComPtr<_Collection> c = NewCollection(cx);
    if (!c) return 3;
    StdKeyed plain;
    w.Restart();
    for (size_t i = 1; i <= n; ++i) {
        Variant value = Variant::FromLong(static_cast<LONG>(i));
        if (FAILED(c->Add(value.get(), keys[i - 1].get(), none, none))) return 4;
    }
    double ours = PerCall(w.Seconds(), n);
    w.Restart();
    for (size_t i = 1; i <= n; ++i) {
        Variant value = Variant::FromLong(static_cast<LONG>(i));
        if (FAILED(plain.Add(*value.get(), keys[i - 1].get()))) return 4;
    }
    Row("Add with key", n, ours, "vector + flat index", PerCall(w.Seconds(), n));

    ComPtr<_Collection> lateC = NewCollection(cx);
    Late late = LateOf(lateC);
    ComPtr<IDispatch> dict = NewDictionary(cx);
    if (!dict) return 5;
    Late d(dict.get());
    const size_t dn = std::min(n, kDictionaryMost);  // the dictionary's items
    const std::string dictionaryName =
        dn < n ? "Scripting.Dictionary, " + std::to_string(dn / 1000) + "k" : std::string("Scripting.Dictionary");
    const char* const dictionary = dictionaryName.c_str();
    const DISPID cAdd = late.Id(L"Add"), cItem = late.Id(L"Item"), cCount = late.Id(L"Count"),
                 cRemove = late.Id(L"Remove");
    const DISPID dAdd = d.Id(L"Add"), dItem = d.Id(L"Item"), dCount = d.Id(L"Count"), dRemove = d.Id(L"Remove");
    w.Restart();
    for (size_t i = 1; i <= n; ++i) {
        Variant value = Variant::FromLong(static_cast<LONG>(i));
        if (FAILED(late.Call(cAdd, DISPATCH_METHOD, {value.get(), keys[i - 1].get()}, nullptr))) return 6;
    }
    ours = PerCall(w.Seconds(), n);
    w.Restart();
    for (size_t i = 1; i <= dn; ++i) {
        Variant value = Variant::FromLong(static_cast<LONG>(i));
        if (FAILED(d.Call(dAdd, DISPATCH_METHOD, {keys[i - 1].get(), value.get()}, nullptr))) return 6;
    }
    Row("Add with key, late-bound", n, ours, dictionary, PerCall(w.Seconds(), dn));

    // Add without key.
    {
        ComPtr<_Collection> unkeyed = NewCollection(cx);
        StdKeyed plainUnkeyed;
        w.Restart();
        for (size_t i = 1; i <= n; ++i) {
            Variant value = Variant::FromLong(static_cast<LONG>(i));
            if (FAILED(unkeyed->Add(value.get(), none, none, none))) return 7;
        }
        ours = PerCall(w.Seconds(), n);
        w.Restart();
        for (size_t i = 1; i <= n; ++i) {
            Variant value = Variant::FromLong(static_cast<LONG>(i));
            plainUnkeyed.Add(*value.get(), nullptr);
        }
        Row("Add without key", n, ours, "vector", PerCall(w.Seconds(), n));
    }

    // Item by position, in order and scrambled.
    long long sum = 0, plainSum = 0;
    {
        Variant item;
        w.Restart();
        for (size_t i = 1; i <= n; ++i) {
            Variant index = Variant::FromLong(static_cast<LONG>(i));
            if (FAILED(c->Item(index.get(), item.put()))) return 8;
            sum += V_I4(item.get());
        }
        ours = PerCall(w.Seconds(), n);
        w.Restart();
        for (size_t i = 1; i <= n; ++i) {
            Variant index = Variant::FromLong(static_cast<LONG>(i));
            plain.Item(*index.get(), item.put());
            plainSum += V_I4(item.get());
        }
        Row("Item by position, in order", n, ours, "vector", PerCall(w.Seconds(), n));

        const std::vector<long> order = Scrambled(n);
        w.Restart();
        for (long p : order) {
            Variant index = Variant::FromLong(p + 1);
            if (FAILED(c->Item(index.get(), item.put()))) return 8;
            sum += V_I4(item.get());
        }
        ours = PerCall(w.Seconds(), n);
        w.Restart();
        for (long p : order) {
            Variant index = Variant::FromLong(p + 1);
            plain.Item(*index.get(), item.put());
            plainSum += V_I4(item.get());
        }
        Row("Item by position, scrambled", n, ours, "vector", PerCall(w.Seconds(), n));
    }

    // Item by key, early-bound and late-bound (keys in scrambled order).
    {
        const std::vector<long> order = Scrambled(n);
        Variant item;
        w.Restart();
        for (long p : order) {
            if (FAILED(c->Item(keys[static_cast<size_t>(p)].get(), item.put()))) return 9;
            sum += V_I4(item.get());
        }
        ours = PerCall(w.Seconds(), n);
        w.Restart();
        for (long p : order) {
            plain.Item(*keys[static_cast<size_t>(p)].get(), item.put());
            plainSum += V_I4(item.get());
        }
        Row("Item by key", n, ours, "flat index", PerCall(w.Seconds(), n));

        w.Restart();
        for (long p : order) {
            if (FAILED(late.Call(cItem, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {keys[static_cast<size_t>(p)].get()},
                                 item.get())))
                return 9;
        }
        ours = PerCall(w.Seconds(), n);
        const std::vector<long> dictionaryOrder = Scrambled(dn);
        w.Restart();
        for (long p : dictionaryOrder)
            d.Call(dItem, DISPATCH_PROPERTYGET, {keys[static_cast<size_t>(p)].get()}, item.get());
        Row("Item by key, late-bound", n, ours, dictionary, PerCall(w.Seconds(), dn));
    }

    // Enumeration one item at a time; late-bound through DISPID_NEWENUM.
    {
        ComPtr<IUnknown> enumerator;
        w.Restart();
        if (FAILED(c->_NewEnum(enumerator.put())) || Walk(enumerator.get()) != n) return 10;
        ours = PerCall(w.Seconds(), n);
        Variant item;
        w.Restart();
        for (size_t i = 0; i < plain.size(); ++i) {
            VariantCopy(item.put(), const_cast<VARIANT*>(&plain.at(i)));
        }
        Row("Enumeration", n, ours, "vector walk", PerCall(w.Seconds(), n));

        Variant e;
        w.Restart();
        if (FAILED(late.Call(DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, e.get())) ||
            Walk(V_UNKNOWN(e.get())) != n)
            return 10;
        ours = PerCall(w.Seconds(), n);
        w.Restart();
        if (FAILED(d.Call(DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, e.get()))) return 10;
        Walk(V_UNKNOWN(e.get()));
        Row("Enumeration, late-bound", n, ours, dictionary, PerCall(w.Seconds(), dn));
    }

    // Late-bound Count.
    {
        const size_t calls = 200000;
        Variant result;
        w.Restart();
        for (size_t i = 0; i < calls; ++i)
            if (FAILED(late.Call(cCount, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, result.get()))) return 11;
        ours = PerCall(w.Seconds(), calls);
        if (V_I4(result.get()) != static_cast<long>(n)) return 11;
        w.Restart();
        for (size_t i = 0; i < calls; ++i) d.Call(dCount, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, result.get());
        Row("Count, late-bound", n, ours, dictionary, PerCall(w.Seconds(), calls));
    }

    // Removals: each kind `k` times from the keyed collection, beside the order-statistic tree.
    // By key first, by the numbers of the items at the front, in the middle and at the end.
    {
        const size_t k = std::min<size_t>(n / 10, 5000);
        StdRanked ranked(n);
        auto byKey = [&](const char* what, size_t firstId, bool downwards) -> int {
            w.Restart();
            for (size_t j = 0; j < k; ++j) {
                const size_t id = downwards ? firstId - j : firstId + j;
                if (FAILED(c->Remove(keys[id - 1].get()))) return 12;
            }
            const double t = PerCall(w.Seconds(), k);
            w.Restart();
            for (size_t j = 0; j < k; ++j) ranked.RemoveKey(*keys[(downwards ? firstId - j : firstId + j) - 1].get());
            Row(what, n, t, "order-statistic tree", PerCall(w.Seconds(), k));
            return 0;
        };
        if (int rc = byKey("Remove by key, front", 1, false)) return rc;
        if (int rc = byKey("Remove by key, middle", n / 2, false)) return rc;
        if (int rc = byKey("Remove by key, end", n, true)) return rc;

        enum class Where { Front, Middle, End };
        auto byPosition = [&](const char* what, Where where) -> int {
            w.Restart();
            for (size_t j = 0; j < k; ++j) {
                const long count = CountOf(c.get());
                const long at = where == Where::Front ? 1 : where == Where::Middle ? count / 2 + 1 : count;
                Variant index = Variant::FromLong(at);
                if (FAILED(c->Remove(index.get()))) return 13;
            }
            const double t = PerCall(w.Seconds(), k);
            w.Restart();
            for (size_t j = 0; j < k; ++j) {
                const size_t count = ranked.size();
                ranked.RemoveAt(where == Where::Front ? 0 : where == Where::Middle ? count / 2 : count - 1);
            }
            Row(what, n, t, "order-statistic tree", PerCall(w.Seconds(), k));
            return 0;
        };
        if (int rc = byPosition("Remove by position, front", Where::Front)) return rc;
        if (int rc = byPosition("Remove by position, middle", Where::Middle)) return rc;
        if (int rc = byPosition("Remove by position, end", Where::End)) return rc;

        // Late-bound removal by key from the front.
        w.Restart();
        for (size_t j = 0; j < k; ++j)
            if (FAILED(late.Call(cRemove, DISPATCH_METHOD, {keys[j].get()}, nullptr))) return 14;
        ours = PerCall(w.Seconds(), k);
        w.Restart();
        for (size_t j = 0; j < k; ++j) d.Call(dRemove, DISPATCH_METHOD, {keys[j].get()}, nullptr);
        Row("Remove by key, front, late-bound", n, ours, dictionary, PerCall(w.Seconds(), k));
    }
    if (sum != plainSum) std::printf("the collection and the vector read different items\n");
    return 0;
}

// Drains a keyed collection of n items from the front; stops early, with a projection, when
// the whole would take more than a minute.
void Drain(const Context& cx, size_t n) {
    ComPtr<_Collection> c = NewCollection(cx);
    const Variant missing = Variant::Missing();
    VARIANT* none = const_cast<VARIANT*>(missing.get());
    for (size_t i = 1; i <= n; ++i) {
        Variant value = Variant::FromLong(static_cast<LONG>(i)), key = Variant::FromString(KeyOf(i));
        c->Add(value.get(), key.get(), none, none);
    }
    StdRanked ranked(n);
    Variant first = Variant::FromLong(1);
    Stopwatch w;
    size_t done = 0;
    for (; done < n; ++done) {
        if (FAILED(c->Remove(first.get()))) break;
        if (done == 1000 && w.Seconds() * static_cast<double>(n) / 1000.0 > 60.0) break;
    }
    const double seconds = w.Seconds();
    w.Restart();
    while (ranked.size() > 0) ranked.RemoveAt(0);
    const double plain = w.Seconds();
    if (done == n)
        std::printf("Drain %zu items from the front: %.2f s (order-statistic tree %.2f s, ratio %.2f)\n", n, seconds,
                    plain, seconds / plain);
    else
        std::printf("Drain %zu items from the front: stopped after %zu calls, %.1f s projected "
                    "(order-statistic tree %.2f s)\n",
                    n, done, seconds * static_cast<double>(n) / static_cast<double>(done), plain);
}

// The late-bound overhead (late-bound time less early-bound time of the same call) of the
// first member of _orxMain and of one at its end, and the time to look up their names (a
// script engine may look a name up for every call).
void MemberPositions(const Context& cx) {
    const size_t calls = 200000;
    Late late;
    {
        ComPtr<IDispatch> d;
        cx.main->QueryInterface(IID_IDispatch, d.put_void());
        late = Late(d.get());
    }
    Stopwatch w;
    auto lookup = [&](const wchar_t* name) {
        w.Restart();
        for (size_t i = 0; i < calls / 10; ++i) late.Id(name);
        return PerCall(w.Seconds(), calls / 10);
    };
    const double firstName = lookup(L"CommandLine"), lastName = lookup(L"JoinCollection");

    w.Restart();
    for (size_t i = 0; i < calls; ++i) {
        ComPtr<_CommandLineParser> parser;
        cx.main->CommandLine(parser.put());
    }
    const double firstEarly = PerCall(w.Seconds(), calls);
    const DISPID commandLine = late.Id(L"CommandLine");
    Variant result;
    w.Restart();
    for (size_t i = 0; i < calls; ++i) late.Call(commandLine, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, result.get());
    const double firstLate = PerCall(w.Seconds(), calls);

    ComPtr<_Collection> empty = NewCollection(cx);
    support::Bstr comma(L",");
    w.Restart();
    for (size_t i = 0; i < calls; ++i) {
        _Collection* raw = empty.get();
        support::Bstr joined;
        cx.main->JoinCollection(&raw, comma.get(), VARIANT_FALSE, joined.put());
    }
    const double lastEarly = PerCall(w.Seconds(), calls);
    const DISPID join = late.Id(L"JoinCollection");
    IDispatch* raw = nullptr;
    empty->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&raw));
    ComPtr<IDispatch> owner = ComPtr<IDispatch>::Attach(raw);
    VARIANT collectionRef;
    V_VT(&collectionRef) = VT_DISPATCH | VT_BYREF;
    V_DISPATCHREF(&collectionRef) = &raw;
    Variant delimiter = Variant::FromString(L","), no = Variant::FromBool(false);
    w.Restart();
    for (size_t i = 0; i < calls; ++i)
        late.Call(join, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {&collectionRef, delimiter.get(), no.get()}, result.get());
    const double lastLate = PerCall(w.Seconds(), calls);
    std::printf("Late-bound overhead (late less early), first member of _orxMain (CommandLine, no arguments): %.1f ns "
                "(early %.1f, late %.1f)\n",
                firstLate - firstEarly, firstEarly, firstLate);
    std::printf("Late-bound overhead (late less early), a last member of _orxMain (JoinCollection, 3 arguments): "
                "%.1f ns (early %.1f, late %.1f)\n",
                lastLate - lastEarly, lastEarly, lastLate);
    std::printf("GetIDsOfNames: first member %.1f ns, last member %.1f ns, ratio %.2f\n", firstName, lastName,
                lastName / firstName);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    support::ComApartment apartment;
    const long largest = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1000000;
    Context cx;
    cx.main = bktest::Create<_orxMain>(CLSID_orxMain);
    if (!cx.main) {
        std::printf("failed: no orxMain\n");
        return 2;
    }
    if (FAILED(CLSIDFromProgID(L"Scripting.Dictionary", &cx.dictionary))) {
        std::printf("failed: Scripting.Dictionary is not registered\n");
        return 2;
    }
    bench::Header();
    for (size_t n = 1000; n <= static_cast<size_t>(largest > 0 ? largest : 1000000); n *= 10) {
        if (int rc = RunSize(cx, n)) {
            std::printf("failed (%d) at %zu items\n", rc, n);
            return rc;
        }
    }
    MemberPositions(cx);
    Drain(cx, static_cast<size_t>(largest > 0 ? largest : 1000000));
    return 0;
}
