#include "lib/about/module_entry.h"

#include <limits>

#include "lib/objectmodel/runtime_errors.h"
#include "support/as/numberformat.h"
#include "support/es/hex.h"

namespace bk::about {
namespace {

void PadTo(std::wstring& text, std::size_t start, std::size_t width) {
    const std::size_t used = text.size() - start;
    if (used < width) text.append(width - used, L' ');
}

}  // namespace

std::wstring AddressText(std::uint64_t address, AddressWidth width) {
    if (width == AddressWidth::Bits32 && address <= std::numeric_limits<std::uint32_t>::max())
        return support::esHexEx4(static_cast<std::uint32_t>(address));
    return support::esHexEx8(address);
}

std::wstring CModuleEntry::toString(std::int32_t NameSize, AddressWidth width) const {
    std::wstring line = Name;
    PadTo(line, 0, NameSize > 0 ? static_cast<std::size_t>(NameSize) : 0);
    line += L"  ";
    line += AddressText(BaseAddress, width);
    line += L"  ";
    if (PrefferedAddress == BaseAddress) {
        line.append(AddressTextLength(width) + 4, L' ');  // "(" address ")" and two blanks
    } else {
        line += L'(';
        line += AddressText(PrefferedAddress, width);
        line += L")  ";
    }
    const std::size_t sizeStart = line.size();
    line += support::FormatGroupedNumber(BaseSize);
    PadTo(line, sizeStart, kSizeColumnWidth);
    line += L"  ";
    line += FileName;
    return line;
}

std::int32_t ModuleList::ModulesCount() const noexcept {
    constexpr auto most = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(entries_.size() < most ? entries_.size() : most);
}

support::Status ModuleList::ModuleItem(std::int32_t Index, const CModuleEntry*& entry) const {
    entry = nullptr;
    if (Index < 0 || Index >= ModulesCount()) {
        return support::Status::Failure(support::CodeFromRuntimeError(kErrSubscript),
                                        std::wstring(RuntimeErrorText(kErrSubscript)));
    }
    entry = &entries_[static_cast<std::size_t>(Index)];
    return {};
}

}  // namespace bk::about
