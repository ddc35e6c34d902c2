// Another program on the same clipboard, for the tests that check data really went through
// the system's clipboard:
//   clipboard_peer read <format>        prints the block's bytes in hexadecimal (as the system
//                                       sizes the block); exit code 1 when there is none
//   clipboard_peer put <format> <hex>   empties the clipboard and places those bytes
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "support/win/clipboard_text.h"

namespace {

int Read(UINT format) {
    support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
    if (!clipboard) return 2;
    support::ClipboardData block(format);
    if (!block.valid()) return 1;
    for (unsigned char c : block.bytes()) std::printf("%02x", c);
    std::printf("\n");
    return 0;
}

int Put(UINT format, const wchar_t* hex) {
    std::string bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        const wchar_t pair[3] = {hex[i], hex[i + 1], 0};
        bytes += static_cast<char>(std::wcstoul(pair, nullptr, 16));
    }
    support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
    if (!clipboard || !EmptyClipboard()) return 2;
    return support::PlaceClipboardData(format, bytes, GMEM_MOVEABLE).ok() ? 0 : 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"read") == 0)
        return Read(static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0)));
    if (argc == 4 && std::wcscmp(argv[1], L"put") == 0)
        return Put(static_cast<UINT>(std::wcstoul(argv[2], nullptr, 0)), argv[3]);
    std::fprintf(stderr, "usage: clipboard_peer read <format> | put <format> <hex>\n");
    return 64;
}
