#include "support/errortext.h"

#include <mmsystem.h>

#include <memory>

#include "support/text.h"

namespace support {
namespace {

struct LocalFreer {
    void operator()(wchar_t* p) const { LocalFree(p); }
};
using LocalText = std::unique_ptr<wchar_t, LocalFreer>;

struct LibraryFreer {
    void operator()(HMODULE m) const { FreeLibrary(m); }
};
using LibraryOwner = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

// Texts from the system end with CR LF; some carry a blank before it.
std::wstring TrimEnds(std::wstring_view text) { return TrimSet(text, L" \t\r\n"); }

std::wstring FormatFrom(DWORD source, HMODULE module, long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(source | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                        module, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer),
                                        0, nullptr);
    LocalText owner(buffer);
    if (length == 0 || !buffer) return {};
    return TrimEnds(std::wstring_view(buffer, length));
}

}  // namespace

std::wstring asGetAPIErrorDescription(long code) {
    return FormatFrom(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
}

std::wstring asGetWinMMErrorDescription(long code) {
    if (code <= 0) return {};
    wchar_t buffer[MAXERRORLENGTH * 2] = {};
    const UINT size = static_cast<UINT>(std::size(buffer));
    bool found = false;
    if (code >= MCIERR_BASE) {
        found = mciGetErrorStringW(static_cast<MCIERROR>(code), buffer, size) != FALSE;
    } else if (code >= MIDIERR_BASE && code <= MIDIERR_LASTERROR) {
        found = midiOutGetErrorTextW(static_cast<MMRESULT>(code), buffer, size) == MMSYSERR_NOERROR;
    } else {
        found = waveOutGetErrorTextW(static_cast<MMRESULT>(code), buffer, size) == MMSYSERR_NOERROR;
    }
    // A refused code may leave an older text in the buffer: only a success counts.
    return found ? TrimEnds(buffer) : std::wstring();
}

std::wstring asGetModuleErrorDescription(HMODULE module, long code) {
    if (!module) return {};
    return FormatFrom(FORMAT_MESSAGE_FROM_HMODULE, module, code);
}

std::wstring GetModuleErrorDescriptionByName(const std::wstring& moduleName, long code) {
    LibraryOwner module(LoadLibraryExW(moduleName.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return asGetModuleErrorDescription(module.get(), code);
}

}  // namespace support
