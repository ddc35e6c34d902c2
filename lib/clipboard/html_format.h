// The "HTML Format" clipboard data: building the document with its header of byte offsets,
// and taking a part of what any program placed there. Platform-free.
//
// The document: a header of exactly 105 bytes, five lines ended by CR LF, the four numbers as
// ten decimal digits with leading zeros,
//     Version:1.0 / StartHTML:<n> / EndHTML:<n> / StartFragment:<n> / EndFragment:<n>
// then the start context, "<!--StartFragment-->", the fragment, "<!--EndFragment-->" and the
// end context, all UTF-8. Every offset counts bytes from the start of the data.
//
// Reading takes untrusted bytes: whatever the header numbers say, a part is a piece of the
// data actually there (offsets past the end are cut back to it, an end before the start gives
// nothing), so a reader never reaches past the block.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bk::clipboard {

inline constexpr std::string_view kStartFragmentMark = "<!--StartFragment-->";
inline constexpr std::string_view kEndFragmentMark = "<!--EndFragment-->";
inline constexpr std::size_t kHtmlHeaderSize = 105;

struct HtmlDocument {
    std::string data;          // header, contexts and fragment, without the terminating zero
    std::string startContext;  // the start context followed by the StartFragment mark
    std::string endContext;    // the EndFragment mark followed by the end context
};

// The document of a UTF-8 fragment between UTF-8 contexts.
HtmlDocument BuildHtmlDocument(std::string_view fragment, std::string_view startContext, std::string_view endContext);

// What GetHTML returns of the data (values of GetHTMLReturnValue).
enum class HtmlPart : long {
    Raw = 0,           // all of it, header included
    Html = 1,          // StartHTML to EndHTML
    ContextStart = 2,  // StartHTML to StartFragment
    ContextEnd = 3,    // EndFragment to EndHTML
    Fragment = 4,      // StartFragment to EndFragment
    Selection = 5,     // StartSelection to EndSelection
    SourceUrl = 6,     // the value of the SourceURL header line
};
bool IsHtmlPart(long value);

// The data of a block: its bytes up to the first zero byte, or all of them when it has none.
std::string_view HtmlDataOfBlock(std::string_view block);

// A header number: the ten characters after the first occurrence of `key` ("StartHTML:",
// case-sensitive) as a whole decimal number, blanks and line breaks around it allowed; 0 when
// the key is missing; nothing when those characters are no number.
std::optional<long long> HtmlHeaderNumber(std::string_view data, std::string_view key);

// The part of `data` that `part` selects: a piece of `data` itself (never of memory around
// it), possibly empty. Nothing when a header number the part needs is no number.
std::optional<std::string_view> SelectHtmlPart(std::string_view data, HtmlPart part);

}  // namespace bk::clipboard
