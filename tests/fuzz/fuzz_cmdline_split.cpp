// bk::SplitCommandLine on any line: every argument is text of the line, in order, and a line
// built from arguments by the splitting rules gives those arguments back.
#include <string>
#include <string_view>
#include <vector>

#include "lib/main/cmdline_split.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::vector<std::wstring> Split(std::wstring_view line) {
    std::vector<std::wstring> out;
    bk::SplitCommandLine(line, out);
    return out;
}

// An argument that can stand bare: not empty, no blank, and not starting with a double quote
// (that would open a quoted argument).
bool CanStandBare(std::wstring_view arg) {
    return !arg.empty() && arg.find(L' ') == std::wstring_view::npos && arg.front() != L'"';
}

// An argument that can be quoted: there is no escape, so it must not hold a double quote.
bool CanBeQuoted(std::wstring_view arg) { return arg.find(L'"') == std::wstring_view::npos; }

// The line that carries `args`: each bare where it can stand bare, else in double quotes;
// one blank between them.
std::wstring LineOf(const std::vector<std::wstring>& args) {
    std::wstring line;
    for (const std::wstring& arg : args) {
        if (!line.empty()) line += L' ';
        if (CanStandBare(arg)) {
            line += arg;
        } else {
            line += L'"';
            line += arg;
            line += L'"';
        }
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring line = fuzz::WideFromBytes(fuzz::Bytes(data, size));

    // Arguments are appended: what the vector held stays.
    std::vector<std::wstring> appended{L"before"};
    bk::SplitCommandLine(line, appended);
    FUZZ_CHECK(!appended.empty() && appended.front() == L"before");
    const std::vector<std::wstring> args(appended.begin() + 1, appended.end());

    // Each argument is a piece of the line, after the previous one.
    std::size_t from = 0;
    for (const std::wstring& arg : args) {
        const std::size_t at = line.find(arg, from);
        FUZZ_CHECK(at != std::wstring::npos);
        from = at + arg.size();
    }

    // Whatever a split gives can be written again: quoting where needed gives the same split.
    for (const std::wstring& arg : args) FUZZ_CHECK(CanStandBare(arg) || CanBeQuoted(arg));
    FUZZ_CHECK(Split(LineOf(args)) == args);

    // The input's lines as arguments of their own: those the rules can carry come back
    // (one with a double quote that cannot stand bare has no way onto a line).
    std::vector<std::wstring> chosen;
    for (std::wstring_view field = line;;) {
        const std::size_t end = field.find(L'\n');
        const std::wstring_view arg = field.substr(0, end);
        if (CanStandBare(arg) || CanBeQuoted(arg)) chosen.emplace_back(arg);
        if (end == std::wstring_view::npos) break;
        field.remove_prefix(end + 1);
    }
    FUZZ_CHECK(Split(LineOf(chosen)) == chosen);
    return 0;
}
