// One module loaded into the process as the About box's module list shows it, and the list
// of them that CToolHelpInfo and CPSAPIInfo (module_list.h) fill. Platform-free.
//
// A module's line (toString) has fixed columns:
//   name, padded to the width asked for; 2 blanks; the load address; 2 blanks;
//   the preferred address in parentheses and 2 blanks when the module was relocated, else as
//   many blanks as that takes; the size with digit grouping, padded to 13 characters; 2 blanks;
//   the full file name.
// Addresses are "0x" and 8 hexadecimal digits in a 32-bit build and "0x" and 16 digits in a
// 64-bit one, so the preferred-address column is 14 or 22 characters wide. A name or size
// longer than its column is not cut: it pushes that line's later columns to the right.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/base/status.h"

namespace bk::about {

// The address texts of a line: "0x" and 8 or 16 hexadecimal digits.
enum class AddressWidth { Bits32, Bits64 };

// The width that fits the addresses of this build.
constexpr AddressWidth kNativeAddressWidth = sizeof(void*) > 4 ? AddressWidth::Bits64 : AddressWidth::Bits32;

// Characters of an address text of that width (10 or 18).
constexpr std::size_t AddressTextLength(AddressWidth width) { return width == AddressWidth::Bits32 ? 10 : 18; }

// The size column, the widest 32-bit size ("4,294,967,295") fits.
constexpr std::size_t kSizeColumnWidth = 13;

// The address as text: a value beyond 32 bits gets 16 digits even in a 32-bit line (its
// columns then shift) rather than lose its high digits.
std::wstring AddressText(std::uint64_t address, AddressWidth width);

struct CModuleEntry {
    std::wstring FileName;               // full path of the module's file
    std::wstring Name;                   // the file name without its folder
    std::uint64_t BaseAddress = 0;       // where the module is loaded
    std::uint64_t BaseSize = 0;          // size of the loaded image in bytes
    std::uint64_t PrefferedAddress = 0;  // the base address the image asks for (0: unknown)

    // The module's line with the name column `NameSize` characters wide (a negative size
    // counts as 0), addresses as this build writes them.
    std::wstring toString(std::int32_t NameSize) const { return toString(NameSize, kNativeAddressWidth); }
    std::wstring toString(std::int32_t NameSize, AddressWidth width) const;
};

// The modules in the order the system reported them. Filled once when the list is made.
class ModuleList {
public:
    explicit ModuleList(std::vector<CModuleEntry> entries = {}) : entries_(std::move(entries)) {}
    virtual ~ModuleList() = default;
    ModuleList(ModuleList&&) = default;
    ModuleList& operator=(ModuleList&&) = default;

    std::int32_t ModulesCount() const noexcept;

    // Points `entry` at the module at `Index` (counted from 0), valid while the list lives.
    // An index outside 0 to ModulesCount() - 1 fails with run-time error 9 (subscript out of
    // range) and leaves `entry` null.
    support::Status ModuleItem(std::int32_t Index, const CModuleEntry*& entry) const;

    const std::vector<CModuleEntry>& Entries() const noexcept { return entries_; }

protected:
    std::vector<CModuleEntry> entries_;
};

}  // namespace bk::about
