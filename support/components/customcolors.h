// The colour dialog's sixteen custom colours and their text form. Platform-free.
//
// Text form: sixteen colours separated by commas, each as six hexadecimal digits RRGGBB
// (red first, as colours are usually written), e.g. "FFFFFF,FF0000,...". Blanks around an entry
// are allowed when reading; upper- and lower-case digits are accepted.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace support {

class CustomColors {
public:
    static constexpr size_t kCount = 16;
    // Colours in the Windows layout 0x00BBGGRR (a COLORREF).
    using Colors = std::array<std::uint32_t, kCount>;

    // Starts with sixteen white entries.
    CustomColors();

    const Colors& colors() const { return colors_; }
    Colors& colors() { return colors_; }

    std::wstring SaveToText() const;
    // Takes over the colours of a text in the form above and returns true; an empty or
    // unreadable text changes nothing and returns false.
    bool LoadFromText(std::wstring_view text);

private:
    Colors colors_;
};

}  // namespace support
