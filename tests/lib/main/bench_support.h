// Shared pieces of the benchmark programs: a stopwatch, the figure table (each figure beside a
// baseline measured in the same run, and their ratio), late-bound calls by dispatch id, and
// the plain C++ equivalents the library's collection is compared with.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "support/win/com.h"

namespace bench {

using support::ComPtr;
using support::Variant;

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceFrequency(&frequency_); Restart(); }
    void Restart() { QueryPerformanceCounter(&start_); }
    double Seconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{}, start_{};
};

// Nanoseconds per call of `calls` calls that took `seconds`.
inline double PerCall(double seconds, size_t calls) { return calls ? seconds * 1e9 / static_cast<double>(calls) : 0; }

inline void Header() {
    std::printf("%-34s %9s %12s  %-30s %12s %8s\n", "operation", "items", "ours ns", "baseline", "base ns", "ratio");
}

// One line: our time per call beside a baseline's (a negative baseline: none).
inline void Row(const char* operation, size_t items, double oursNs, const char* baseline, double baseNs) {
    if (baseNs > 0)
        std::printf("%-34s %9zu %12.1f  %-30s %12.1f %8.2f\n", operation, items, oursNs, baseline, baseNs,
                    oursNs / baseNs);
    else
        std::printf("%-34s %9zu %12.1f  %-30s %12s %8s\n", operation, items, oursNs, baseline, "-", "-");
    std::fflush(stdout);
}

// Late-bound calls through IDispatch with member ids looked up once, as a script engine caches
// them. Arguments are given in call order.
class Late {
public:
    Late() = default;
    explicit Late(IDispatch* object) : object_(ComPtr<IDispatch>::Share(object)) {}
    IDispatch* object() const { return object_.get(); }

    DISPID Id(const wchar_t* name) const {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR n = const_cast<LPOLESTR>(name);
        object_->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
        return id;
    }
    HRESULT Call(DISPID id, WORD flags, std::initializer_list<const VARIANT*> args, VARIANT* result) const {
        VARIANTARG reversed[8];
        UINT n = 0;
        for (const VARIANT* a : args) reversed[args.size() - 1 - n++] = *a;
        DISPPARAMS params{reversed, nullptr, n, 0};
        if (result) VariantClear(result);
        return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
    }

private:
    ComPtr<IDispatch> object_;
};

// Folds a key as the collection does for plain ASCII keys.
inline void FoldAscii(std::wstring_view key, std::wstring& out) {
    out.assign(key);
    for (wchar_t& ch : out)
        if (ch >= L'A' && ch <= L'Z') ch = static_cast<wchar_t>(ch - L'A' + L'a');
}

inline uint32_t HashKey(std::wstring_view key) {
    uint64_t h = 1469598103934665603ull;
    for (wchar_t ch : key) h = (h ^ static_cast<uint16_t>(ch)) * 1099511628211ull;
    h ^= h >> 29;
    return static_cast<uint32_t>(h ^ (h >> 32));
}

// A flat open-addressing index from folded keys to numbers, with linear probing: the plain
// C++ index a keyed collection would use. Insert does one probe sequence.
class FlatIndex {
public:
    // Finds `key` or inserts it with `value`; false when it was there.
    bool Insert(std::wstring&& key, uint32_t hash, size_t value) {
        if ((count_ + 1) * 4 > slots_.size() * 3) Grow();
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& s = slots_[i];
            if (!s.used) {
                s = Slot{true, hash, std::move(key), value};
                ++count_;
                return true;
            }
            if (s.hash == hash && s.key == key) return false;
        }
    }
    const size_t* Find(std::wstring_view key, uint32_t hash) const {
        if (slots_.empty()) return nullptr;
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& s = slots_[i];
            if (!s.used) return nullptr;
            if (s.hash == hash && s.key == key) return &s.value;
        }
    }
    // Removes `key` (backward-shift deletion keeps the probe sequences whole).
    bool Erase(std::wstring_view key, uint32_t hash) {
        if (slots_.empty()) return false;
        const size_t mask = slots_.size() - 1;
        size_t i = hash & mask;
        for (;; i = (i + 1) & mask) {
            if (!slots_[i].used) return false;
            if (slots_[i].hash == hash && slots_[i].key == key) break;
        }
        for (size_t j = (i + 1) & mask;; j = (j + 1) & mask) {
            if (!slots_[j].used) break;
            const size_t home = slots_[j].hash & mask;
            if (((j - home) & mask) >= ((j - i) & mask)) {
                slots_[i] = std::move(slots_[j]);
                i = j;
            }
        }
        slots_[i] = Slot{};
        --count_;
        return true;
    }

private:
    struct Slot {
        bool used = false;
        uint32_t hash = 0;
        std::wstring key;
        size_t value = 0;
    };
    void Grow() {
        std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
        old.swap(slots_);
        count_ = 0;
        for (Slot& s : old)
            if (s.used) Insert(std::move(s.key), s.hash, s.value);
    }
    std::vector<Slot> slots_;
    size_t count_ = 0;
};

}  // namespace bench
