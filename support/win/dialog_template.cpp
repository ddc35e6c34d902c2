#include "support/win/dialog_template.h"

#include <cstring>
#include <stdexcept>
#include <utility>

namespace support {
namespace {

// Little-endian words into a byte buffer, as the template lays them out.
class Writer {
public:
    void Word(std::uint16_t w) {
        bytes_.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    void Dword(std::uint32_t d) {
        Word(static_cast<std::uint16_t>(d & 0xFFFF));
        Word(static_cast<std::uint16_t>(d >> 16));
    }
    void Short(std::int16_t s) { Word(static_cast<std::uint16_t>(s)); }
    // A zero-terminated UTF-16 text. A 16-bit wchar_t already holds UTF-16 units; a 32-bit one
    // (other platforms) holds code points, and those past U+FFFF become surrogate pairs.
    void Text(const std::wstring& text) {
        for (wchar_t c : text) {
            if constexpr (sizeof(wchar_t) == 4) {
                const auto cp = static_cast<std::uint32_t>(c);
                if (cp > 0x10FFFF) {
                    Word(0xFFFD);  // not a character: the replacement character
                    continue;
                }
                if (cp > 0xFFFF) {
                    Word(static_cast<std::uint16_t>(0xD800 + ((cp - 0x10000) >> 10)));
                    Word(static_cast<std::uint16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
                    continue;
                }
            }
            Word(static_cast<std::uint16_t>(c));
        }
        Word(0);
    }
    void AlignDword() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }
    size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

DialogTemplate::DialogTemplate(std::uint32_t style, std::uint32_t exStyle, std::wstring caption, std::int16_t x,
                               std::int16_t y, std::int16_t cx, std::int16_t cy)
    : style_(style), exStyle_(exStyle), x_(x), y_(y), cx_(cx), cy_(cy), caption_(std::move(caption)) {}

DialogTemplate& DialogTemplate::Font(std::uint16_t points, std::wstring face) {
    hasFont_ = true;
    fontPoints_ = points;
    fontFace_ = std::move(face);
    return *this;
}

DialogTemplate& DialogTemplate::Control(ControlClass cls, std::uint16_t id, std::wstring text, std::uint32_t style,
                                        std::uint32_t exStyle, std::int16_t x, std::int16_t y, std::int16_t cx,
                                        std::int16_t cy) {
    items_.push_back(Item{style, exStyle, x, y, cx, cy, id, static_cast<std::uint16_t>(cls), {}, std::move(text)});
    return *this;
}

DialogTemplate& DialogTemplate::Control(std::wstring className, std::uint16_t id, std::wstring text,
                                        std::uint32_t style, std::uint32_t exStyle, std::int16_t x, std::int16_t y,
                                        std::int16_t cx, std::int16_t cy) {
    items_.push_back(Item{style, exStyle, x, y, cx, cy, id, 0, std::move(className), std::move(text)});
    return *this;
}

std::vector<std::uint32_t> DialogTemplate::Build() const {
    // The header counts its controls in one word.
    if (items_.size() > 0xFFFF) throw std::length_error("dialog template: too many controls");
    Writer w;
    w.Dword(hasFont_ ? style_ | kSetFont : style_);
    w.Dword(exStyle_);
    w.Word(static_cast<std::uint16_t>(items_.size()));
    w.Short(x_);
    w.Short(y_);
    w.Short(cx_);
    w.Short(cy_);
    w.Word(0);  // no menu
    w.Word(0);  // the predefined dialog class
    w.Text(caption_);
    if (hasFont_) {
        w.Word(fontPoints_);
        w.Text(fontFace_);
    }
    for (const Item& item : items_) {
        w.AlignDword();
        w.Dword(item.style);
        w.Dword(item.exStyle);
        w.Short(item.x);
        w.Short(item.y);
        w.Short(item.cx);
        w.Short(item.cy);
        w.Word(item.id);
        if (item.atom != 0) {
            w.Word(0xFFFF);
            w.Word(item.atom);
        } else {
            w.Text(item.className);
        }
        w.Text(item.text);
        w.Word(0);  // no creation data
    }
    std::vector<std::uint32_t> out((w.size() + 3) / 4, 0);
    std::memcpy(out.data(), w.bytes().data(), w.size());
    return out;
}

}  // namespace support
