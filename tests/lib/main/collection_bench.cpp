// Benchmark of the library's collection through its COM interface: one million items with
// keys, then Item by position, Item by key, Count and enumeration. Prints items per second.
// Run: wine-run.sh collection_bench.exe [items]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/harness/library.h"

namespace {

using bktest::ComPtr;
using bktest::Variant;

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceFrequency(&frequency_); QueryPerformanceCounter(&start_); }
    double Seconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{}, start_{};
};

void Report(const char* what, long count, double seconds) {
    std::printf("%-22s %9ld items %8.3f s %14.0f items/s\n", what, count, seconds,
                seconds > 0 ? count / seconds : 0.0);
}

std::wstring KeyOf(long i) { return L"key" + std::to_wstring(i); }

int Run(long count) {
    auto main = bktest::Create<_orxMain>(CLSID_orxMain);
    if (!main) return 2;
    // An empty collection from orxMain.Collection, then Add through the interface.
    SAFEARRAYBOUND bound{0, 0};
    support::SafeArray none(SafeArrayCreate(VT_VARIANT, 1, &bound));
    SAFEARRAY* args = none.get();
    ComPtr<_Collection> c;
    if (FAILED(main->Collection(&args, c.put())) || !c) return 3;

    Variant missing = Variant::Missing();
    {
        Stopwatch w;
        for (long i = 1; i <= count; ++i) {
            Variant value = Variant::FromLong(i), key = Variant::FromString(KeyOf(i));
            if (FAILED(c->Add(value.get(), key.get(), missing.get(), missing.get()))) return 4;
        }
        Report("Add with key", count, w.Seconds());
    }
    long long sum = 0;
    {
        Stopwatch w;
        for (long i = 1; i <= count; ++i) {
            Variant index = Variant::FromLong(i), item;
            if (FAILED(c->Item(index.get(), item.put()))) return 5;
            sum += V_I4(item.get());
        }
        Report("Item by position", count, w.Seconds());
    }
    {
        std::vector<Variant> keys;
        keys.reserve(static_cast<size_t>(count));
        for (long i = 1; i <= count; ++i) keys.push_back(Variant::FromString(KeyOf(count + 1 - i)));
        Stopwatch w;
        for (auto& key : keys) {
            Variant item;
            if (FAILED(c->Item(key.get(), item.put()))) return 6;
            sum += V_I4(item.get());
        }
        Report("Item by key", count, w.Seconds());
    }
    {
        Stopwatch w;
        long n = 0;
        for (long i = 0; i < count; ++i) c->Count(&n);
        Report("Count", count, w.Seconds());
    }
    {
        Stopwatch w;
        ComPtr<IUnknown> unknown;
        ComPtr<IEnumVARIANT> e;
        if (FAILED(c->_NewEnum(unknown.put())) || FAILED(unknown.As(e))) return 7;
        VARIANT batch[256];
        ULONG fetched = 0;
        long seen = 0;
        while (SUCCEEDED(e->Next(256, batch, &fetched)) && fetched > 0) {
            for (ULONG k = 0; k < fetched; ++k) {
                sum += V_I4(&batch[k]);
                VariantClear(&batch[k]);
            }
            seen += static_cast<long>(fetched);
        }
        Report("Enumeration", seen, w.Seconds());
        if (seen != count) return 8;
    }
    std::printf("checksum %lld\n", sum);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    support::ComApartment apartment;
    const long count = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1000000;
    const int rc = Run(count > 0 ? count : 1000000);
    if (rc != 0) std::printf("failed (%d)\n", rc);
    return rc;
}
