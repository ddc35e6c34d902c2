// TextFileIO: decoding files, unreadable files, and saving without losing the old file.
#include <gtest/gtest.h>

#include "support/components/textfile.h"
#include "support/win/owner.h"
#include "tests/harness/scratch.h"

namespace support {
namespace {

using TextFileIO::ReadTextFile;
using TextFileIO::WriteTextFile;

const std::wstring kRussian = L"Производитель: Тест";
const std::wstring kJapanese = L"メーカー: テスト";

std::string Encode(std::wstring_view text, UINT codePage) {
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

// A text with letters beyond ASCII that the OEM code page in force can hold.
std::wstring OemSample() {
    for (std::wstring candidate : {L"Ошибка: файл не найден", L"Größe: été"}) {
        BOOL lost = FALSE;
        WideCharToMultiByte(CP_OEMCP, 0, candidate.c_str(), -1, nullptr, 0, nullptr, &lost);
        if (!lost) return candidate;
    }
    return L"plain";
}

TEST(ReadTextFile, DecodesResultFilesAsUtf8AndMarkedFilesByTheirMark) {
    mvtest::ScratchFolder folder;
    const std::wstring text = kRussian + L"\r\n" + kJapanese + L"\r\n";
    mvtest::WriteBytes(folder / L"plain.txt", mvtest::Utf8(text));
    mvtest::WriteBytes(folder / L"bom.txt", std::string(kUtf8Bom) + mvtest::Utf8(text));
    std::string utf16 = "\xFF\xFE";
    for (wchar_t c : text) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    mvtest::WriteBytes(folder / L"utf16.txt", utf16);
    EXPECT_EQ(ReadTextFile(folder / L"plain.txt", true, kReadUtf8).text, text);
    EXPECT_EQ(ReadTextFile(folder / L"bom.txt", true, kReadUtf8).text, text);
    EXPECT_EQ(ReadTextFile(folder / L"utf16.txt", true, kReadUtf8).text, text);
    EXPECT_EQ(ReadTextFile(folder / L"utf16.txt", false, kReadConsole).text, text);
}

TEST(ReadTextFile, DecodesConsoleCapturesFromTheOemCodePage) {
    mvtest::ScratchFolder folder;
    const std::wstring text = OemSample();
    mvtest::WriteBytes(folder / L"oem.txt", Encode(text, CP_OEMCP));
    EXPECT_EQ(ReadTextFile(folder / L"oem.txt", false, kReadConsole).text, text) << "OEM code page " << GetOEMCP();
    mvtest::WriteBytes(folder / L"utf8.txt", mvtest::Utf8(kRussian));
    EXPECT_EQ(ReadTextFile(folder / L"utf8.txt", false, kReadConsole).text, kRussian);
}

TEST(ReadTextFile, UnreadableFileIsReportedOnlyWhenAsked) {
    mvtest::ScratchFolder folder;
    TextReadResult quiet = ReadTextFile(folder / L"missing.txt", false, kReadUtf8);
    EXPECT_EQ(quiet.text, L"");
    EXPECT_FALSE(quiet.error.failed());

    TextReadResult missing = ReadTextFile(folder / L"missing.txt", true, kReadUtf8);
    EXPECT_EQ(missing.text, L"");
    EXPECT_EQ(missing.error.code, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(missing.error.description.empty());

    CreateDirectoryW((folder / L"a folder.txt").c_str(), nullptr);
    EXPECT_TRUE(ReadTextFile(folder / L"a folder.txt", true, kReadUtf8).error.failed());

    mvtest::WriteBytes(folder / L"locked.txt", "data");
    UniqueHandle lock(CreateFileW((folder / L"locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    TextReadResult locked = ReadTextFile(folder / L"locked.txt", true, kReadUtf8);
    EXPECT_EQ(locked.error.code, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(locked.text, L"");
}

TEST(WriteTextFile, WritesUtf8WithMarkAndReplacesTheOldFile) {
    mvtest::ScratchFolder folder(L"Сохранение");
    const std::wstring target = folder / L"вывод.txt";
    mvtest::WriteBytes(target, "an older and much longer content that must go away entirely");
    const std::wstring text = L"line 1\r\n" + kRussian + L"\r\n" + kJapanese;
    const Status error = WriteTextFile(target, text);
    EXPECT_FALSE(error.failed()) << error.code;
    EXPECT_EQ(mvtest::ReadBytes(target), std::string(kUtf8Bom) + mvtest::Utf8(text));
    EXPECT_EQ(ReadTextFile(target, true, kReadAnsi).text, text);
    EXPECT_EQ(mvtest::Entries(folder.path()).size(), 1u) << "no staging file left";
}

TEST(WriteTextFile, FailedSaveKeepsTheOldFileAndLeavesNothingBehind) {
    mvtest::ScratchFolder folder;
    const std::wstring target = folder / L"out.txt";
    mvtest::WriteBytes(target, "old");
    {
        UniqueHandle lock(CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        const Status error = WriteTextFile(target, L"new");
        EXPECT_TRUE(error.failed());
        EXPECT_FALSE(error.description.empty());
    }
    EXPECT_EQ(mvtest::ReadBytes(target), "old");
    EXPECT_EQ(mvtest::Entries(folder.path()).size(), 1u);

    const Status noFolder = WriteTextFile(folder / L"missing\\out.txt", L"new");
    EXPECT_TRUE(noFolder.failed());
    EXPECT_EQ(mvtest::Entries(folder.path()).size(), 1u);
    EXPECT_TRUE(WriteTextFile(folder.path(), L"x").failed()) << "a folder is not a file";
}

}  // namespace
}  // namespace support
