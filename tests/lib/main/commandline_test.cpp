// orxMain.CommandLine and its CommandLineParser, early-bound and late-bound, and the parser
// of a real process started with a quoted argument.
#include <gtest/gtest.h>

#include <vector>

#include "support/es/fileops.h"
#include "tests/lib/main/main_test_util.h"

using namespace bktest;

namespace {

using Args = std::vector<std::wstring>;
const HRESULT kSubscript = 0x800A0009;

ComPtr<_CommandLineParser> NewParser() {
    auto main = Create<_orxMain>(CLSID_orxMain);
    ComPtr<_CommandLineParser> parser;
    if (main) main->CommandLine(parser.put());
    return parser;
}

// Program name (-1) and arguments, read early-bound.
Args Early(_CommandLineParser* p, const wchar_t* text, bool addDummy) {
    Bstr line(text);
    EXPECT_EQ(S_OK, p->SetNewCommandLine(line.get(), addDummy ? VARIANT_TRUE : VARIANT_FALSE));
    LONG count = -1;
    EXPECT_EQ(S_OK, p->get_Count(&count));
    Args out;
    for (LONG i = -1; i < count; ++i) {
        Bstr item;
        EXPECT_EQ(S_OK, p->get_Item(i, item.put())) << i;
        out.push_back(item.str());
    }
    Bstr past;
    EXPECT_EQ(kSubscript, p->get_Item(count, past.put()));
    return out;
}

// The same through IDispatch by name; Item is also reached as the default member.
Args Late(_CommandLineParser* p, const wchar_t* text, bool addDummy) {
    Dispatch late(ComPtr<_CommandLineParser>::Share(p));
    Variant line = Variant::FromString(text), flag = Variant::FromBool(addDummy), result;
    EXPECT_EQ(S_OK, late.Method(L"SetNewCommandLine", {line.get(), flag.get()}));
    EXPECT_EQ(S_OK, late.Get(L"Count", {}, result.get()));
    const LONG count = V_I4(result.get());
    Args out;
    for (LONG i = -1; i < count; ++i) {
        Variant index = Variant::FromLong(i);
        EXPECT_EQ(S_OK, late.Get(L"Item", {index.get()}, result.get())) << i;
        out.push_back(Text(*result.get()));
    }
    Variant past = Variant::FromLong(count);
    DISPPARAMS params{past.get(), nullptr, 1, 0};
    support::ExcepInfo info;
    EXPECT_EQ(DISP_E_EXCEPTION, late.object()->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &params,
                                                    result.put(), info.put(), nullptr));
    EXPECT_EQ(kSubscript, info.get().scode);
    EXPECT_STREQ(L"Subscript out of range", info.get().bstrDescription);
    return out;
}

std::wstring ExeName() { return support::esGetModuleFileName(nullptr, true); }

TEST(CommandLineParser, SplitRulesThroughBothBindings) {
    auto parser = NewParser();
    ASSERT_TRUE(parser);
    const std::wstring exe = ExeName();
    struct Row {
        const wchar_t* text;
        Args args;
    } rows[] = {
        {L"a\"b c", {L"a\"b", L"c"}},      // a quote inside an unquoted argument stays
        {L"\"a\"b", {L"a", L"b"}},         // text after a closing quote starts a new argument
        {L"\"\"", {L""}},                  // one empty argument
        {L"\"a b", {L"a b"}},              // a missing closing quote takes the rest
        {L"a\\\"b", {L"a\\\"b"}},          // no escape character
        {L"a   b", {L"a", L"b"}},          // runs of blanks are one separator
        {L"a\tb", {L"a\tb"}},              // a tab is no separator
        {L"  \"x y\"  z  ", {L"x y", L"z"}},
    };
    for (const Row& row : rows) {
        Args expected{exe};
        expected.insert(expected.end(), row.args.begin(), row.args.end());
        EXPECT_EQ(expected, Early(parser.get(), row.text, true)) << "early: " << testing::PrintToString(row.text);
        EXPECT_EQ(expected, Late(parser.get(), row.text, true)) << "late: " << testing::PrintToString(row.text);
    }
}

TEST(CommandLineParser, ProgramNameAndEmptyLines) {
    auto parser = NewParser();
    ASSERT_TRUE(parser);
    const std::wstring exe = ExeName();
    EXPECT_EQ((Args{exe, L"a", L"b"}), Early(parser.get(), L"a b", true));
    EXPECT_EQ((Args{L"a", L"b"}), Early(parser.get(), L"a b", false));
    EXPECT_EQ((Args{L"a", L"b"}), Late(parser.get(), L"a b", false));
    for (const wchar_t* empty : {L"", L"   "}) {
        EXPECT_EQ(Args{exe}, Early(parser.get(), empty, false));  // Item(0) fails: checked inside
        EXPECT_EQ(Args{exe}, Late(parser.get(), empty, false));
        EXPECT_EQ(Args{exe}, Early(parser.get(), empty, true));
    }
    // AddDummyEXEModuleName defaults to true for late-bound callers.
    Dispatch late(parser);
    Variant line = Variant::FromString(L"x"), result;
    ASSERT_EQ(S_OK, late.Method(L"SetNewCommandLine", {line.get()}));
    ASSERT_EQ(S_OK, late.Get(L"Count", {}, result.get()));
    EXPECT_EQ(1, V_I4(result.get()));
}

TEST(CommandLineParser, IndexesBelowMinusOneAndFarPastTheEndFail) {
    auto parser = NewParser();
    ASSERT_TRUE(parser);
    for (bool addDummy : {false, true}) {
        Bstr line(L"a b c");
        ASSERT_EQ(S_OK, parser->SetNewCommandLine(line.get(), addDummy ? VARIANT_TRUE : VARIANT_FALSE));
        for (LONG index : {-2L, LONG_MIN, LONG_MAX, LONG_MAX - 1}) {
            Bstr item;
            EXPECT_EQ(kSubscript, parser->get_Item(index, item.put())) << index;
            CallError e = LastError(kSubscript);
            EXPECT_EQ(9, e.number);
            EXPECT_EQ(L"Subscript out of range", e.description);
        }
    }
    Dispatch late(parser);
    Variant index = Variant::FromLong(-2), result;
    EXPECT_EQ(DISP_E_EXCEPTION, late.Get(L"Item", {index.get()}, result.get()));
    EXPECT_EQ(kSubscript, late.exception.scode);
    EXPECT_STREQ(L"Subscript out of range", late.exception.bstrDescription);
    EXPECT_STREQ(L"Basekit0308.CommandLineParser", late.exception.bstrSource);

    // Past the last argument the parser raises the same error as its own.
    Variant past = Variant::FromLong(99);
    EXPECT_EQ(DISP_E_EXCEPTION, late.Get(L"Item", {past.get()}, result.put()));
    EXPECT_EQ(kSubscript, late.exception.scode);
    EXPECT_STREQ(L"Subscript out of range", late.exception.bstrDescription);
    EXPECT_STREQ(L"Basekit0308.CommandLineParser", late.exception.bstrSource);
}

TEST(CommandLineParser, OneParserPerOrxMain) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    ComPtr<_CommandLineParser> first, second;
    ASSERT_EQ(S_OK, main->CommandLine(first.put()));
    Bstr line(L"changed once");
    ASSERT_EQ(S_OK, first->SetNewCommandLine(line.get(), VARIANT_TRUE));
    ASSERT_EQ(S_OK, main->CommandLine(second.put()));
    EXPECT_EQ(first.get(), second.get());
    Bstr item;
    ASSERT_EQ(S_OK, second->get_Item(1, item.put()));
    EXPECT_EQ(L"once", item.str());

    // Late-bound: the same object comes back as well.
    Dispatch late(main);
    Variant a, b;
    ASSERT_EQ(S_OK, late.Method(L"CommandLine", {}, a.get()));
    ASSERT_EQ(S_OK, late.Method(L"CommandLine", {}, b.get()));
    ASSERT_EQ(VT_DISPATCH, a.vt());
    EXPECT_EQ(V_DISPATCH(a.get()), V_DISPATCH(b.get()));

    // Another orxMain has its own parser, which took this process's command line.
    auto other = Create<_orxMain>(CLSID_orxMain);
    ComPtr<_CommandLineParser> third;
    ASSERT_EQ(S_OK, other->CommandLine(third.put()));
    EXPECT_NE(first.get(), third.get());
}

// Lines of the helper program's output after it parsed `arguments` behind `programAsWritten`.
std::vector<std::string> ChildLines(const std::wstring& programAsWritten, const std::wstring& arguments) {
    std::string output;
    EXPECT_EQ(0, RunCaptured(programAsWritten + L" " + arguments, output));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(output.substr(start, end - start));
    return lines;
}

std::string Utf8(const std::wstring& s) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

TEST(CommandLineParser, ProcessStartedWithOneQuotedPathContainingABlank) {
    const std::wstring child = BinFile(L"cmdline_child.exe");
    const std::wstring file = L"C:\\Some Folder\\photo 1.jpg";
    // The program path quoted, as the shell writes it.
    EXPECT_EQ((std::vector<std::string>{"Count=1", "Item(-1)=" + Utf8(child), "Item(0)=" + Utf8(file)}),
              ChildLines(L"\"" + child + L"\"", L"\"" + file + L"\""));
    // Unquoted, with blanks around the argument.
    if (child.find(L' ') == std::wstring::npos) {
        EXPECT_EQ((std::vector<std::string>{"Count=1", "Item(-1)=" + Utf8(child), "Item(0)=" + Utf8(file)}),
                  ChildLines(child, L"  \"" + file + L"\"  "));
    }
}

}  // namespace
