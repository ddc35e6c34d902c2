// Benchmark of orxMain.SplitCollection and orxMain.JoinCollection on 10 million characters
// (one million pieces), beside a plain C++ split into a vector of strings and a plain join of
// that vector, measured in the same run. The split comparing text (vbTextCompare) is measured
// on a tenth of it, beside a plain split that asks the same locale comparison at every place.
// Run: wine-run.sh split_join_bench.exe [pieces, default 1000000]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "tests/harness/library.h"
#include "tests/lib/main/bench_support.h"

namespace {

using bench::Stopwatch;
using bktest::ComPtr;
using bktest::Variant;

std::wstring Text(size_t pieces) {
    std::wstring text;
    text.reserve(pieces * 10);
    wchar_t piece[16];
    for (size_t i = 0; i < pieces; ++i) {
        if (i) text += L',';
        std::swprintf(piece, 16, L"w%08zu", i);
        text += piece;
    }
    return text;
}

std::vector<std::wstring> PlainSplit(std::wstring_view text, std::wstring_view delimiter) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (size_t at; (at = text.find(delimiter, start)) != std::wstring_view::npos; start = at + delimiter.size())
        pieces.emplace_back(text.substr(start, at - start));
    pieces.emplace_back(text.substr(start));
    return pieces;
}

bool LocaleEquals(std::wstring_view a, std::wstring_view b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::vector<std::wstring> PlainSplitText(std::wstring_view text, std::wstring_view delimiter) {
    std::vector<std::wstring> pieces;
    size_t start = 0, at = 0;
    while (at + delimiter.size() <= text.size()) {
        if (LocaleEquals(text.substr(at, delimiter.size()), delimiter)) {
            pieces.emplace_back(text.substr(start, at - start));
            at += delimiter.size();
            start = at;
        } else {
            ++at;
        }
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

std::wstring PlainJoin(const std::vector<std::wstring>& pieces, std::wstring_view delimiter) {
    size_t length = 0;
    for (const auto& p : pieces) length += p.size() + delimiter.size();
    std::wstring text;
    text.reserve(length);
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i) text += delimiter;
        text += pieces[i];
    }
    return text;
}

void Line(const char* what, size_t chars, double ours, const char* baseline, double base) {
    std::printf("%-28s %10zu chars %9.3f s   %-28s %9.3f s   ratio %.2f\n", what, chars, ours, baseline, base,
                ours / base);
    std::fflush(stdout);
}

long CountOf(_Collection* c) {
    long n = 0;
    if (c) c->Count(&n);
    return n;
}

int Run(size_t pieces) {
    auto main = bktest::Create<_orxMain>(CLSID_orxMain);
    if (!main) return 2;
    const std::wstring text = Text(pieces);
    support::Bstr expression(text), comma(L",");
    const Variant delimiter = Variant::FromString(L",");
    Stopwatch w;

    // Binary comparison.
    ComPtr<_Collection> c;
    w.Restart();
    if (FAILED(main->SplitCollection(expression.get(), *delimiter.get(), -1, vbBinaryCompare, VARIANT_FALSE, c.put())))
        return 3;
    const double ours = w.Seconds();
    w.Restart();
    std::vector<std::wstring> plain = PlainSplit(text, L",");
    const double base = w.Seconds();
    if (CountOf(c.get()) != static_cast<long>(plain.size()) || plain.size() != pieces) return 4;
    Line("SplitCollection", text.size(), ours, "plain split", base);

    support::Bstr joined;
    _Collection* raw = c.get();
    w.Restart();
    if (FAILED(main->JoinCollection(&raw, comma.get(), VARIANT_FALSE, joined.put()))) return 5;
    const double oursJoin = w.Seconds();
    w.Restart();
    const std::wstring plainJoined = PlainJoin(plain, L",");
    const double baseJoin = w.Seconds();
    if (joined.view() != text || plainJoined != text) return 6;
    Line("JoinCollection", text.size(), oursJoin, "plain join", baseJoin);
    c.reset();
    plain.clear();

    // Text comparison, on a tenth of the pieces.
    const std::wstring small = Text(pieces / 10);
    support::Bstr smallExpression(small);
    const Variant letter = Variant::FromString(L"W");  // every piece starts with w: found ignoring case
    w.Restart();
    if (FAILED(main->SplitCollection(smallExpression.get(), *letter.get(), -1, vbTextCompare, VARIANT_FALSE, c.put())))
        return 7;
    const double oursText = w.Seconds();
    w.Restart();
    plain = PlainSplitText(small, L"W");
    const double baseText = w.Seconds();
    if (CountOf(c.get()) != static_cast<long>(plain.size())) return 8;
    Line("SplitCollection, text", small.size(), oursText, "plain split, locale", baseText);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    support::ComApartment apartment;
    const long pieces = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1000000;
    const int rc = Run(pieces > 10 ? static_cast<size_t>(pieces) : 1000000);
    if (rc != 0) std::printf("failed (%d)\n", rc);
    return rc;
}
