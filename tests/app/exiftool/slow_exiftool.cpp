// A stand-in for exiftool.exe that takes its time: waits four seconds, then writes a short tag
// list into the file named after -W+! and ends with exit code 0.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    Sleep(4000);
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) != L"-W+!") continue;
        HANDLE h = CreateFileW(argv[i + 1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return 1;
        const char text[] = "---- ExifTool ----\r\nExifTool Version Number : 0.01\r\n";
        DWORD written = 0;
        WriteFile(h, text, sizeof(text) - 1, &written, nullptr);
        CloseHandle(h);
    }
    return 0;
}
