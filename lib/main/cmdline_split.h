// The command-line splitting rules of CommandLineParser. Platform-free.
//  - arguments are separated by runs of blanks (U+0020 only; a tab is an ordinary character);
//  - an argument that begins with a double quote runs to the next double quote (without
//    the quotes); without a closing quote it takes the rest of the line, blanks included;
//  - a quote inside an unquoted argument is part of it; text right after a closing quote
//    starts a new argument; there is no escape character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bk {

// Blanks (U+0020) removed from both ends.
std::wstring_view TrimBlanks(std::wstring_view text);

// Appends the arguments of `text` to `out`.
void SplitCommandLine(std::wstring_view text, std::vector<std::wstring>& out);

}  // namespace bk
