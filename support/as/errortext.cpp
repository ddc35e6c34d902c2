#include "support/as/errortext.h"

#include <mmsystem.h>

#include "support/as/text.h"
#include "support/win/owner.h"
#include "support/win/system_message.h"

namespace support {

std::wstring asGetAPIErrorDescription(long code) { return FormatSystemMessage(static_cast<DWORD>(code)); }

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
    return found ? TrimSet(buffer, L" \t\r\n") : std::wstring();
}

std::wstring asGetModuleErrorDescription(HMODULE module, long code) {
    if (!module) return {};
    return FormatSystemMessage(static_cast<DWORD>(code), module);
}

std::wstring GetModuleErrorDescriptionByName(const std::wstring& moduleName, long code) {
    // A name longer than the longest path the system accepts names no module; the loader
    // would only spend its time finding that out.
    constexpr size_t kLongestPath = 32767;
    if (moduleName.empty() || moduleName.size() > kLongestPath) return {};
    const Module module(LoadLibraryExW(moduleName.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return asGetModuleErrorDescription(module.get(), code);
}

}  // namespace support
