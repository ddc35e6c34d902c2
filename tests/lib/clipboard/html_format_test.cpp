// The HTML clipboard document: its header of byte offsets, the parts a reader takes, and what
// a reader makes of headers other programs wrote.
#include <gtest/gtest.h>

#include "lib/clipboard/html_format.h"
#include "support/as/unicode.h"

using namespace bk::clipboard;

namespace {

std::string Utf8(const std::wstring& text) { return support::asUNICODEToUTF8(text); }

std::string Part(std::string_view data, HtmlPart part) {
    const auto piece = SelectHtmlPart(data, part);
    EXPECT_TRUE(piece.has_value());
    return piece ? std::string(*piece) : std::string("<no number>");
}

// A header of the given lines (each ended by CR LF) followed by `body`.
std::string Block(std::initializer_list<std::string_view> lines, std::string_view body) {
    std::string data;
    for (auto line : lines) data.append(line).append("\r\n");
    return data.append(body);
}

}  // namespace

TEST(HtmlDocument, OneLetterBetweenTheDefaultContexts) {
    const HtmlDocument doc = BuildHtmlDocument("x", "<HTML><BODY>", "</BODY></HTML>");
    EXPECT_EQ(
        "Version:1.0\r\nStartHTML:0000000105\r\nEndHTML:0000000170\r\n"
        "StartFragment:0000000137\r\nEndFragment:0000000138\r\n"
        "<HTML><BODY><!--StartFragment-->x<!--EndFragment--></BODY></HTML>",
        doc.data);
    EXPECT_EQ(170u, doc.data.size());
    EXPECT_EQ("<HTML><BODY><!--StartFragment-->", doc.startContext);
    EXPECT_EQ("<!--EndFragment--></BODY></HTML>", doc.endContext);

    EXPECT_EQ("x", Part(doc.data, HtmlPart::Fragment));
    EXPECT_EQ(doc.data, Part(doc.data, HtmlPart::Raw));
    EXPECT_EQ(doc.data.substr(105), Part(doc.data, HtmlPart::Html));
    EXPECT_EQ(doc.startContext, Part(doc.data, HtmlPart::ContextStart));
    EXPECT_EQ(doc.endContext, Part(doc.data, HtmlPart::ContextEnd));
    EXPECT_EQ("", Part(doc.data, HtmlPart::Selection));  // no selection keys
    EXPECT_EQ("", Part(doc.data, HtmlPart::SourceUrl));
}

TEST(HtmlDocument, OffsetsCountBytesOfNonAsciiText) {
    const std::wstring fragment =
        L"\u041F\u0440\u0438\u0432\u0435\u0442 \u65E5\u672C "
        L"\U0001F600";  // Cyrillic, Japanese, an emoji
    const std::wstring start = L"<p title=\"\u00E9\">";
    const HtmlDocument doc = BuildHtmlDocument(Utf8(fragment), Utf8(start), "</p>");
    const size_t startFragment = 105 + Utf8(start).size() + 20;
    const size_t endFragment = startFragment + Utf8(fragment).size();
    EXPECT_EQ(startFragment, static_cast<size_t>(*HtmlHeaderNumber(doc.data, "StartFragment:")));
    EXPECT_EQ(endFragment, static_cast<size_t>(*HtmlHeaderNumber(doc.data, "EndFragment:")));
    EXPECT_EQ(doc.data.size(), static_cast<size_t>(*HtmlHeaderNumber(doc.data, "EndHTML:")));
    EXPECT_EQ(fragment, support::asUTF8ToUNICODE(Part(doc.data, HtmlPart::Fragment)));
    EXPECT_EQ(start + L"<!--StartFragment-->", support::asUTF8ToUNICODE(Part(doc.data, HtmlPart::ContextStart)));
    // Empty contexts leave just the marks.
    const HtmlDocument bare = BuildHtmlDocument("y", "", "");
    EXPECT_EQ("<!--StartFragment-->y<!--EndFragment-->", Part(bare.data, HtmlPart::Html));
}

TEST(HtmlHeader, NumbersAreTenCharactersAfterTheFirstKey) {
    EXPECT_EQ(105, HtmlHeaderNumber("StartHTML:0000000105\r\n", "StartHTML:"));
    EXPECT_EQ(0, HtmlHeaderNumber("Version:1.0\r\n", "StartHTML:"));  // missing key
    EXPECT_EQ(97, HtmlHeaderNumber("StartHTML:97      \r\n", "StartHTML:"));
    EXPECT_EQ(97, HtmlHeaderNumber("StartHTML:00000097\r\n", "StartHTML:"));  // eight digits, then the line end
    EXPECT_EQ(-1, HtmlHeaderNumber("StartHTML:-000000001", "StartHTML:"));
    EXPECT_EQ(9999999999LL, HtmlHeaderNumber("EndHTML:9999999999", "EndHTML:"));
    EXPECT_EQ(12, HtmlHeaderNumber("EndHTML:12", "EndHTML:"));                               // data ends early
    EXPECT_EQ(1, HtmlHeaderNumber("EndHTML:0000000001\r\nEndHTML:0000000002", "EndHTML:"));  // the first one
    // Case matters: "starthtml:" is not the key.
    EXPECT_EQ(0, HtmlHeaderNumber("starthtml:0000000105", "StartHTML:"));
    // Ten characters that are no number.
    EXPECT_FALSE(HtmlHeaderNumber("StartHTML:105\r\nEndHTML:0000000170", "StartHTML:"));
    EXPECT_FALSE(HtmlHeaderNumber("StartHTML:0x00000069", "StartHTML:"));
    EXPECT_FALSE(HtmlHeaderNumber("StartHTML:", "StartHTML:"));
    EXPECT_FALSE(HtmlHeaderNumber("StartHTML:   -      ", "StartHTML:"));
    EXPECT_FALSE(HtmlHeaderNumber("StartHTML:1 2", "StartHTML:"));
}

TEST(HtmlParts, MissingNumbersGiveNothingButTheWholeDataForTheHtml) {
    const std::string data = Block({"Version:1.0", "StartFragment:0000000066", "EndFragment:0000000068"}, "<b>ab</b>");
    EXPECT_EQ(data, Part(data, HtmlPart::Html));        // no StartHTML: all of it, header included
    EXPECT_EQ("", Part(data, HtmlPart::ContextStart));  // no StartHTML
    EXPECT_EQ("", Part(data, HtmlPart::ContextEnd));    // no EndHTML
    EXPECT_EQ("ab", Part(data, HtmlPart::Fragment));
    // A number that is no number fails only the parts that need it.
    const std::string broken = Block({"StartHTML:abcdefghij", "StartFragment:0000000072", "EndFragment:0000000073"},
                                     "xyz");
    EXPECT_FALSE(SelectHtmlPart(broken, HtmlPart::Html));
    EXPECT_FALSE(SelectHtmlPart(broken, HtmlPart::ContextStart));
    EXPECT_EQ("x", Part(broken, HtmlPart::Fragment));
    EXPECT_EQ(broken, Part(broken, HtmlPart::Raw));
}

TEST(HtmlParts, SelectionRangeWhenTheHeaderHasOne) {
    const std::string data = Block({"Version:1.0", "StartSelection:0000000068", "EndSelection:0000000071"},
                                   "<i>one</i>");
    EXPECT_EQ("one", Part(data, HtmlPart::Selection));
}

TEST(HtmlParts, SourceUrlOfTheHeaderOnly) {
    const std::string inHeader = Block(
        {"Version:1.0", "StartHTML:0000000091", "EndHTML:0000000099", "SourceURL:http://example.com/a?b=1"},
        "<p>x</p>");
    EXPECT_EQ("http://example.com/a?b=1", Part(inHeader, HtmlPart::SourceUrl));

    // A key inside the HTML (at or after StartHTML) is the page's text, not the header's.
    const std::string inHtml = Block({"Version:1.0", "StartHTML:0000000035"}, "SourceURL:http://no/\r\n");
    ASSERT_EQ(35u, inHtml.find("SourceURL:"));
    EXPECT_EQ("", Part(inHtml, HtmlPart::SourceUrl));
    const std::string afterStart = Block({"Version:1.0", "StartHTML:0000000035"}, "<p>SourceURL:http://no/\r\n");
    EXPECT_EQ("", Part(afterStart, HtmlPart::SourceUrl));
    // Without StartHTML, or with it 0, the key counts wherever it is.
    EXPECT_EQ("http://yes/", Part(Block({"Version:1.0"}, "SourceURL:http://yes/\r\n"), HtmlPart::SourceUrl));
    EXPECT_EQ("u", Part(Block({"StartHTML:0000000000"}, "SourceURL:u\r\n"), HtmlPart::SourceUrl));
    // The value ends at CR LF; without one there is no value.
    EXPECT_EQ("", Part("Version:1.0\r\nSourceURL:http://cut", HtmlPart::SourceUrl));
    EXPECT_EQ("", Part("SourceURL:\r\n", HtmlPart::SourceUrl));
    EXPECT_FALSE(SelectHtmlPart("StartHTML:??????????\r\nSourceURL:x\r\n", HtmlPart::SourceUrl));
}

TEST(HtmlParts, HeaderNumbersNeverReachPastTheData) {
    const std::string body = "<p>hello</p>";
    auto withFragment = [&](std::string_view start, std::string_view end) {
        return Block({"Version:1.0", std::string("StartFragment:") + std::string(start),
                      std::string("EndFragment:") + std::string(end)},
                     body);
    };
    const std::string pastEnd = withFragment("0000000060", "0000009999");
    EXPECT_EQ(pastEnd.substr(60), Part(pastEnd, HtmlPart::Fragment));  // cut back to the data's end
    EXPECT_EQ("", Part(withFragment("0000009000", "0000009999"), HtmlPart::Fragment));
    EXPECT_EQ("", Part(withFragment("0000000065", "0000000060"), HtmlPart::Fragment));  // end before start
    EXPECT_EQ("", Part(withFragment("0000000060", "0000000060"), HtmlPart::Fragment));
    EXPECT_EQ("", Part(withFragment("-000000005", "0000000060"), HtmlPart::Fragment));  // negative
    EXPECT_EQ("", Part(withFragment("9999999999", "9999999999"), HtmlPart::Fragment));
    const std::string html = Block({"StartHTML:0000000001", "EndHTML:9999999999"}, "z");
    EXPECT_EQ(html.substr(1), Part(html, HtmlPart::Html));
}

TEST(HtmlBlock, DataEndsAtTheFirstZeroOrTheBlocksEnd) {
    EXPECT_EQ("abc", HtmlDataOfBlock(std::string_view("abc\0def", 7)));
    EXPECT_EQ("abc", HtmlDataOfBlock("abc"));  // no zero byte: all of the block
    EXPECT_EQ("", HtmlDataOfBlock(std::string_view("\0abc", 4)));
    // A header pointing behind the zero reads nothing that lies there.
    const std::string block = std::string("StartFragment:0000000051\r\nEndFragment:0000000057\r\n", 50) +
                              std::string("\0secret", 7);
    EXPECT_EQ("", Part(HtmlDataOfBlock(block), HtmlPart::Fragment));
}
