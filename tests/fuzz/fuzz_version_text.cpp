// The content of a downloaded version file, whatever the site sends: the page's view must
// always be one of the three verdicts with both versions, or a request-layout text; a parse
// must split into exactly three parts, each handed to the conversion, and keep nothing of a
// rejected text.
#include <cstdint>
#include <string>
#include <string_view>

#include "lib/about/update_check_logic.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace bk::about;

int g_conversions = 0;

// Digits only, at most nine of them: a stand-in for the platform conversion.
bool Convert(std::wstring_view text, std::int32_t& value) {
    ++g_conversions;
    if (text.empty() || text.size() > 9) return false;
    std::int32_t v = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
        v = v * 10 + (c - L'0');
    }
    value = v;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::WideFromBytes(fuzz::Bytes(data, size));
    size_t dots = 0;
    for (wchar_t c : text) dots += c == L'.';

    g_conversions = 0;
    VersionNumbers site{-7, -7, -7};
    const ParseOutcome outcome = ParseVersionText(text, Convert, site);
    if (dots != 2) {
        FUZZ_CHECK(outcome == ParseOutcome::WrongParts);
        FUZZ_CHECK(g_conversions == 0);
    } else {
        FUZZ_CHECK(outcome != ParseOutcome::WrongParts);
        FUZZ_CHECK(g_conversions >= 1 && g_conversions <= 3);
    }
    if (outcome != ParseOutcome::Parsed) FUZZ_CHECK(site.major == -7 && site.minor == -7 && site.revision == -7);

    VersionFetch fetch;
    fetch.text = text;
    const UpdatePageView view = UpdateCheckView(fetch, VersionNumbers{3, 8, 1}, Convert);
    FUZZ_CHECK(view.resultLayout == (outcome == ParseOutcome::Parsed));
    if (view.resultLayout) {
        FUZZ_CHECK(!view.result.empty() && !view.siteVersion.empty() && view.localVersion == L"3.08.0001");
    } else {
        FUZZ_CHECK(!view.info.empty() && view.result.empty());
    }
    return 0;
}
