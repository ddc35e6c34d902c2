// The system clipboard as the tests see it, besides the library: blocks placed and read
// directly, byte arrays for the raw-data members, and the clipboard held by another thread.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <thread>

#include "support/win/clipboard_text.h"
#include "support/win/com.h"
#include "tests/harness/library.h"

namespace cliptest {

// Empties the clipboard.
inline void EmptyAll() {
    support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
    if (clipboard) EmptyClipboard();
}

// Places `bytes` as they are (a block of exactly their size), after emptying when asked.
inline bool PutRaw(UINT format, const std::string& bytes, bool empty = true) {
    support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
    if (!clipboard || (empty && !EmptyClipboard())) return false;
    return support::PlaceClipboardData(format, bytes, GMEM_MOVEABLE).ok();
}

// The block of `format` as the system sizes it; nothing when there is none.
inline std::optional<std::string> GetRaw(UINT format) {
    support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
    if (!clipboard) return std::nullopt;
    support::ClipboardData block(format);
    if (!block.valid()) return std::nullopt;
    return std::string(block.bytes());
}

inline UINT HtmlFormatId() { return RegisterClipboardFormatA("HTML Format"); }

// A byte array with lower bound `lower`.
inline SAFEARRAY* ByteArray(const std::string& bytes, LONG lower = 0) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), lower};
    SAFEARRAY* array = SafeArrayCreate(VT_UI1, 1, &bound);
    if (array && !bytes.empty()) {
        void* data = nullptr;
        SafeArrayAccessData(array, &data);
        memcpy(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
    }
    return array;
}

// The bytes of a byte array.
inline std::string BytesOf(SAFEARRAY* array) {
    if (!array) return {};
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return {};
    std::string bytes(static_cast<const char*>(data), array->rgsabound[0].cElements);
    SafeArrayUnaccessData(array);
    return bytes;
}

// Holds the clipboard open on another thread while it lives, as a busy program does.
class ClipboardHolder {
public:
    ClipboardHolder() {
        opened_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        // With a window: two openers without one do not exclude each other under Wine.
        thread_ = std::thread([this] {
            HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            held_ = window && OpenClipboard(window) != FALSE;
            SetEvent(opened_);
            WaitForSingleObject(release_, 30000);
            if (held_) CloseClipboard();
            if (window) DestroyWindow(window);
        });
        WaitForSingleObject(opened_, 10000);
    }
    ~ClipboardHolder() {
        SetEvent(release_);
        thread_.join();
        CloseHandle(opened_);
        CloseHandle(release_);
    }
    bool held() const { return held_; }

private:
    HANDLE opened_, release_;
    bool held_ = false;
    std::thread thread_;
};

}  // namespace cliptest
