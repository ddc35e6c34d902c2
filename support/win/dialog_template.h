// In-memory dialog templates (the DLGTEMPLATE layout the dialog functions take), built from a
// header and optional controls. Platform-free: the layout is written byte by byte, so it can
// be checked without the system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace support {

class DialogTemplate {
public:
    // The predefined control classes, by their atoms in the template.
    enum ControlClass : std::uint16_t {
        kButton = 0x0080,
        kEdit = 0x0081,
        kStatic = 0x0082,
        kListBox = 0x0083,
        kScrollBar = 0x0084,
        kComboBox = 0x0085,
    };
    static constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT

    // Position and size are in dialog units.
    DialogTemplate(std::uint32_t style, std::uint32_t exStyle, std::wstring caption, std::int16_t x = 0,
                   std::int16_t y = 0, std::int16_t cx = 0, std::int16_t cy = 0);

    // The dialog's font (adds DS_SETFONT to the style).
    DialogTemplate& Font(std::uint16_t points, std::wstring face);
    // A control of a predefined class.
    DialogTemplate& Control(ControlClass cls, std::uint16_t id, std::wstring text, std::uint32_t style,
                            std::uint32_t exStyle, std::int16_t x, std::int16_t y, std::int16_t cx, std::int16_t cy);
    // A control of a registered class, by its name.
    DialogTemplate& Control(std::wstring className, std::uint16_t id, std::wstring text, std::uint32_t style,
                            std::uint32_t exStyle, std::int16_t x, std::int16_t y, std::int16_t cx, std::int16_t cy);

    // The template, aligned for the dialog functions (DWORD-aligned, controls too).
    std::vector<std::uint32_t> Build() const;

private:
    struct Item {
        std::uint32_t style, exStyle;
        std::int16_t x, y, cx, cy;
        std::uint16_t id;
        std::uint16_t atom;       // 0: by name
        std::wstring className;
        std::wstring text;
    };
    std::uint32_t style_, exStyle_;
    std::int16_t x_, y_, cx_, cy_;
    std::wstring caption_;
    bool hasFont_ = false;
    std::uint16_t fontPoints_ = 0;
    std::wstring fontFace_;
    std::vector<Item> items_;
};

}  // namespace support
