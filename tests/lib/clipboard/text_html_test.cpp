// orxClipboard's text and HTML through the real system clipboard: the blocks each setter
// leaves there, what the getters make of them, and of blocks other programs placed.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/as/codepages.h"
#include "support/as/unicode.h"
#include "tests/harness/library.h"
#include "tests/lib/clipboard/raw_clipboard.h"

using namespace bktest;
using namespace cliptest;

namespace {

class ClipboardTest : public testing::Test {
protected:
    void SetUp() override {
        clip = Create<_orxClipboard>(CLSID_orxClipboard);
        ASSERT_TRUE(clip);
        EmptyAll();
    }

    bool SetText(std::wstring_view text) {
        Bstr value(text);
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, clip->SetText(value.get(), &ok));
        return ok == VARIANT_TRUE;
    }
    std::wstring GetText(bool ansi = false) {
        Bstr out;
        EXPECT_EQ(S_OK, clip->GetText(ansi ? VARIANT_TRUE : VARIANT_FALSE, out.put()));
        return out.str();
    }
    std::wstring GetHTML(long part) {
        Bstr out;
        const HRESULT hr = clip->GetHTML(static_cast<GetHTMLReturnValue>(part), out.put());
        EXPECT_EQ(S_OK, hr) << LastError(hr).description;
        return out.str();
    }

    ComPtr<_orxClipboard> clip;
};

std::wstring FromUtf8(const std::string& bytes) { return support::asUTF8ToUNICODE(bytes); }

}  // namespace

TEST_F(ClipboardTest, SetTextPlacesUnicodeAnsiOemAndLocale) {
    const std::wstring text = L"Caf\u00E9 \u00FC 1\u20AC";
    ASSERT_TRUE(SetText(text));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2), GetRaw(CF_UNICODETEXT));
    EXPECT_EQ(support::AnsiFromText(text) + '\0', GetRaw(CF_TEXT));
    EXPECT_EQ(support::asAnsiToOem(text) + '\0', GetRaw(CF_OEMTEXT));
    const LCID locale = GetThreadLocale();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&locale), 4), GetRaw(CF_LOCALE));

    EXPECT_EQ(text, GetText());
    EXPECT_EQ(support::TextFromAnsi(support::AnsiFromText(text)), GetText(true));
    // Characters the ANSI code page lacks survive only the Unicode form.
    ASSERT_TRUE(SetText(L"\u65E5\u672C \U0001F600"));
    EXPECT_EQ(L"\u65E5\u672C \U0001F600", GetText());
    EXPECT_NE(L"\u65E5\u672C \U0001F600", GetText(true));
}

TEST_F(ClipboardTest, SettersAddToTheClipboardAndOnlyClearEmptiesIt) {
    ASSERT_TRUE(PutRaw(RegisterClipboardFormatA("Basekit test mark"), "mark"));
    ASSERT_TRUE(SetText(L"text"));
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA("Basekit test mark")));
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(S_OK, clip->Clear(&ok));
    EXPECT_EQ(VARIANT_TRUE, ok);
    EXPECT_EQ(0, CountClipboardFormats());
    EXPECT_EQ(L"", GetText());
    EXPECT_EQ(L"", GetText(true));
    // An empty text is a text too.
    ASSERT_TRUE(SetText(L""));
    EXPECT_EQ(std::string(2, '\0'), GetRaw(CF_UNICODETEXT));
}

TEST_F(ClipboardTest, GetTextStopsAtTheFirstZeroOrTheBlocksEnd) {
    ASSERT_TRUE(PutRaw(CF_UNICODETEXT, std::string("a\0b\0\0\0c\0", 8)));
    EXPECT_EQ(L"ab", GetText());
    // No terminating zero: the text ends with the block. (Wine itself ends a text block with a
    // zero in place of its last character; Windows hands the block over as it was placed.)
    ASSERT_TRUE(PutRaw(CF_TEXT, "unterminated"));
    const std::string block = *GetRaw(CF_TEXT);
    EXPECT_EQ(support::TextFromAnsi(block.substr(0, block.find('\0'))), GetText(true));
    ASSERT_TRUE(PutRaw(CF_TEXT, std::string("abc\0", 4)));
    EXPECT_EQ(L"abc", GetText(true));
}

TEST_F(ClipboardTest, ReadingUnicodeTextPlacesTheReadersLocale) {
    const LCID before = GetThreadLocale();
    const LCID reader = before == 0x0419 ? 0x0407 : 0x0419;
    ASSERT_TRUE(PutRaw(CF_UNICODETEXT, std::string("u\0\0\0", 4)));
    ASSERT_TRUE(SetThreadLocale(reader));
    const std::wstring text = GetText();
    SetThreadLocale(before);
    EXPECT_EQ(L"u", text);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reader), 4), GetRaw(CF_LOCALE));
}

TEST_F(ClipboardTest, HtmlHeaderOfOneLetterAndTheContextsHandedBack) {
    Bstr fragment(L"x");
    Bstr startHolder(L"<HTML><BODY>"), endHolder(L"</BODY></HTML>");
    BSTR start = startHolder.detach(), end = endHolder.detach();
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(S_OK, clip->SetHTML(fragment.get(), &start, &end, &ok));
    Bstr startBack = Bstr::Attach(start), endBack = Bstr::Attach(end);
    EXPECT_EQ(VARIANT_TRUE, ok);
    EXPECT_EQ(L"<HTML><BODY><!--StartFragment-->", startBack.str());
    EXPECT_EQ(L"<!--EndFragment--></BODY></HTML>", endBack.str());

    const std::string expected =
        "Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0000000170\r\n"
        "StartFragment:0000000137\r\nEndFragment:0000000138\r\n"
        "<HTML><BODY><!--StartFragment-->x<!--EndFragment--></BODY></HTML>";
    EXPECT_EQ(expected + '\0', GetRaw(HtmlFormatId()));
    LONG id = 0;
    ASSERT_EQ(S_OK, clip->get_CF_HTML(&id));
    EXPECT_EQ(static_cast<LONG>(HtmlFormatId()), id);

    EXPECT_EQ(L"x", GetHTML(4));
    EXPECT_EQ(FromUtf8(expected), GetHTML(0));
    EXPECT_EQ(FromUtf8(expected.substr(105)), GetHTML(1));
    EXPECT_EQ(L"<HTML><BODY><!--StartFragment-->", GetHTML(2));
    EXPECT_EQ(L"<!--EndFragment--></BODY></HTML>", GetHTML(3));
    EXPECT_EQ(L"", GetHTML(5));
    EXPECT_EQ(L"", GetHTML(6));
    EXPECT_EQ(L"", GetHTML(7));
    EXPECT_EQ(L"", GetHTML(-1));
}

TEST_F(ClipboardTest, HtmlDefaultsForContextsLeftOutEarlyAndLateBound) {
    // Early-bound without the references: the declared defaults.
    Bstr fragment(L"<b>y</b>");
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(S_OK, clip->SetHTML(fragment.get(), nullptr, nullptr, &ok));
    EXPECT_EQ(VARIANT_TRUE, ok);
    EXPECT_EQ(L"<HTML><BODY><!--StartFragment-->", GetHTML(2));
    // Late-bound with both left out: the type library's defaults.
    EmptyAll();
    Dispatch late(clip);
    Variant text = Variant::FromString(L"z"), result;
    ASSERT_EQ(S_OK, late.Method(L"SetHTML", {text.get()}, result.get()));
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(result.get()));
    EXPECT_EQ(L"<!--EndFragment--></BODY></HTML>", GetHTML(3));
    EXPECT_EQ(L"z", GetHTML(4));
    // Late-bound with a variable: it receives the context in its UTF-8 form.
    Variant variable = Variant::FromString(L"<p class=\"\u00E9\">");
    Variant byRef;
    V_VT(byRef.get()) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(byRef.get()) = variable.get();
    ASSERT_EQ(S_OK, late.Method(L"SetHTML", {text.get(), byRef.get()}, result.get()));
    EXPECT_EQ(L"<p class=\"\u00C3\u00A9\"><!--StartFragment-->", Text(*variable.get()));
    EXPECT_EQ(L"<p class=\"\u00E9\"><!--StartFragment-->", GetHTML(2));
}

TEST_F(ClipboardTest, HtmlOfEveryScriptComesBackWithByteOffsets) {
    const std::wstring fragment = L"\u041F\u0440\u0438\u0432\u0435\u0442, \u65E5\u672C\u8A9E \U0001F600!";
    Bstr text(fragment), start(L"<div lang=\"ru\">"), end(L"</div>");
    BSTR s = start.detach(), e = end.detach();
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(S_OK, clip->SetHTML(text.get(), &s, &e, &ok));
    SysFreeString(s);
    SysFreeString(e);
    ASSERT_EQ(VARIANT_TRUE, ok);
    EXPECT_EQ(fragment, GetHTML(4));
    const std::string raw = *GetRaw(HtmlFormatId());
    const size_t startFragment = raw.find("<!--StartFragment-->") + 20;
    EXPECT_NE(std::string::npos,
              raw.find("StartFragment:" + std::string(10 - std::to_string(startFragment).size(), '0') +
                       std::to_string(startFragment)));
    EXPECT_EQ(support::asUNICODEToUTF8(fragment), raw.substr(startFragment, support::asUNICODEToUTF8(fragment).size()));
    // An empty fragment places nothing.
    EmptyAll();
    Bstr empty(L"");
    ASSERT_EQ(S_OK, clip->SetHTML(empty.get(), nullptr, nullptr, &ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
    EXPECT_FALSE(IsClipboardFormatAvailable(HtmlFormatId()));
}

TEST_F(ClipboardTest, HtmlOfOtherProgramsSourceUrlAndSelection) {
    const std::string page =
        "Version:0.9\r\nStartHTML:0000000191\r\nEndHTML:0000000265\r\n"
        "StartFragment:0000000223\r\nEndFragment:0000000233\r\n"
        "StartSelection:0000000223\r\nEndSelection:0000000233\r\n"
        "SourceURL:https://example.org/\xD1\x8F\r\n"
        "<html><body><!--StartFragment--><i>one</i><!--EndFragment--></body></html>";
    ASSERT_EQ(191u, page.find("<html>"));
    ASSERT_TRUE(PutRaw(HtmlFormatId(), page + '\0'));
    EXPECT_EQ(L"<i>one</i>", GetHTML(4));
    EXPECT_EQ(L"<i>one</i>", GetHTML(5));
    EXPECT_EQ(L"https://example.org/\u044F", GetHTML(6));
    // A SourceURL line inside the HTML is not the header's.
    const std::string inside = "Version:1.0\r\nStartHTML:0000000035\r\nSourceURL:http://page/\r\n";
    ASSERT_TRUE(PutRaw(HtmlFormatId(), inside));
    EXPECT_EQ(L"", GetHTML(6));
}

TEST_F(ClipboardTest, HostileHtmlBlocksGiveOnlyWhatTheBlockHolds) {
    const std::string header =
        "Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0999999999\r\n"
        "StartFragment:0000000090\r\nEndFragment:0000000080\r\n";
    // No zero byte at all, an end far past the block, an end before the start.
    ASSERT_TRUE(PutRaw(HtmlFormatId(), header + "<p>tail"));
    EXPECT_EQ(L"<p>tail", GetHTML(1));                                // cut back to the block's end
    EXPECT_EQ(L"", GetHTML(4));                                       // end before start
    EXPECT_EQ(FromUtf8(header.substr(80)) + L"<p>tail", GetHTML(3));  // from inside the header to the end
    // Negative numbers, and offsets behind the first zero byte.
    ASSERT_TRUE(
        PutRaw(HtmlFormatId(), std::string("StartFragment:-000000001\r\nEndFragment:0000000060\r\n\0hidden html", 62)));
    EXPECT_EQ(L"", GetHTML(4));
    ASSERT_TRUE(
        PutRaw(HtmlFormatId(), std::string("StartFragment:0000000051\r\nEndFragment:0000000060\r\n\0hidden html", 62)));
    EXPECT_EQ(L"", GetHTML(4));
    // Invalid UTF-8 is replaced, not passed on.
    ASSERT_TRUE(PutRaw(HtmlFormatId(), "StartFragment:0000000050\r\nEndFragment:0000000052\r\n\xFF\x80"));
    EXPECT_EQ(L"\uFFFD\uFFFD", GetHTML(4));
    // Ten characters that are no number fail the call with a type mismatch.
    ASSERT_TRUE(PutRaw(HtmlFormatId(), "StartFragment:12345abcde\r\nEndFragment:0000000060\r\n"));
    Bstr out;
    EXPECT_EQ(13, LastError(clip->GetHTML(static_cast<GetHTMLReturnValue>(4), out.put())).number);
    EXPECT_EQ(L"StartFragment:12345abcde\r\nEndFragment:0000000060\r\n", GetHTML(0));  // the raw data needs no number
}

TEST_F(ClipboardTest, FormatNamesCountAndList) {
    ASSERT_TRUE(SetText(L"t"));
    LONG count = 0;
    ASSERT_EQ(S_OK, clip->GetFormatsCount(&count));
    EXPECT_EQ(CountClipboardFormats(), count);
    EXPECT_GE(count, 4);
    ComPtr<_Collection> formats;
    ASSERT_EQ(S_OK, clip->GetFormats(formats.put()));
    ASSERT_TRUE(formats);
    long items = 0;
    formats->Count(&items);
    EXPECT_EQ(count, items);
    std::vector<LONG> ids;
    for (long i = 1; i <= items; ++i) {
        Variant item;
        formats->Item(Variant::FromLong(i).get(), item.put());
        ASSERT_EQ(VT_I4, item.vt());
        ids.push_back(V_I4(item.get()));
    }
    for (LONG f : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT, CF_LOCALE})
        EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), f)) << f;

    VARIANT_BOOL available = VARIANT_FALSE;
    clip->IsFormatAvailable(CF_OEMTEXT, &available);
    EXPECT_EQ(VARIANT_TRUE, available);
    clip->IsFormatAvailable(CF_HDROP, &available);
    EXPECT_EQ(VARIANT_FALSE, available);

    Bstr name;
    LONG html = 0;
    clip->get_CF_HTML(&html);
    ASSERT_EQ(S_OK, clip->GetFormatName(html, name.put()));
    EXPECT_EQ(L"HTML Format", name.str());
    ASSERT_EQ(S_OK, clip->GetFormatName(CF_TEXT, name.put()));  // built in: no name
    EXPECT_EQ(L"", name.str());
    ASSERT_EQ(S_OK, clip->GetFormatName(0xBFFF, name.put()));
    EXPECT_EQ(L"", name.str());
    // An empty clipboard lists no formats, but still a collection.
    EmptyAll();
    ASSERT_EQ(S_OK, clip->GetFormats(formats.put()));
    ASSERT_TRUE(formats);
    formats->Count(&items);
    EXPECT_EQ(0, items);
}
