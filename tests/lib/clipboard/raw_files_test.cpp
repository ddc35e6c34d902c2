// orxClipboard's raw data and shell file lists through the real system clipboard, a busy
// clipboard, and data going to and coming from another program.
#include <gtest/gtest.h>

#include <chrono>

#include "support/as/codepages.h"
#include "support/as/unicode.h"
#include "tests/harness/library.h"
#include "tests/lib/clipboard/raw_clipboard.h"

using namespace bktest;
using namespace cliptest;

namespace {

std::string FileListHeader(std::uint32_t offset, std::uint32_t wide) {
    std::string h;
    for (std::uint32_t field : {offset, 0u, 0u, 0u, wide})
        for (int shift = 0; shift < 32; shift += 8) h += static_cast<char>((field >> shift) & 0xFF);
    return h;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}
std::wstring WideHex(const std::string& bytes) {
    const std::string hex = Hex(bytes);
    return std::wstring(hex.begin(), hex.end());
}

class RawClipboardTest : public testing::Test {
protected:
    void SetUp() override {
        clip = Create<_orxClipboard>(CLSID_orxClipboard);
        ASSERT_TRUE(clip);
        EmptyAll();
    }

    bool SetRaw(LONG format, SAFEARRAY* array) {
        support::SafeArray owner(array);
        SAFEARRAY* data = owner.get();
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(S_OK, clip->SetRAWData(format, &data, &ok));
        return ok == VARIANT_TRUE;
    }
    // The bytes GetRAWData gives and the size it reports; nothing when it gives false.
    std::optional<std::string> GetRawData(LONG format, LONG* size = nullptr) {
        support::SafeArray array;
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(S_OK, clip->GetRAWData(format, array.put(), size, &ok));
        if (ok != VARIANT_TRUE) return std::nullopt;
        if (array.get()) {
            LONG lower = -1;
            SafeArrayGetLBound(array.get(), 1, &lower);
            EXPECT_EQ(0, lower);
            EXPECT_EQ(VT_UI1, [&] {
                VARTYPE vt = 0;
                SafeArrayGetVartype(array.get(), &vt);
                return vt;
            }());
        }
        return BytesOf(array.get());
    }

    // A collection of the library's own (orxMain.Collection) holding the names.
    ComPtr<_Collection> Names(std::initializer_list<std::wstring> names) {
        auto main = Create<_orxMain>(CLSID_orxMain);
        SAFEARRAYBOUND bound{static_cast<ULONG>(names.size()), 0};
        support::SafeArray args(SafeArrayCreate(VT_VARIANT, 1, &bound));
        LONG index = 0;
        for (const auto& name : names) {
            Variant item = Variant::FromString(name);
            SafeArrayPutElement(args.get(), &index, item.get());
            ++index;
        }
        SAFEARRAY* list = args.get();
        ComPtr<_Collection> collection;
        EXPECT_EQ(S_OK, main->Collection(&list, collection.put()));
        return collection;
    }
    bool SetFiles(ComPtr<_Collection> names, bool unicode = true) {
        _Collection* list = names.get();
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(S_OK, clip->SetShellFiles(&list, unicode ? VARIANT_TRUE : VARIANT_FALSE, &ok));
        return ok == VARIANT_TRUE;
    }
    // The names GetShellFiles gives; nothing for no collection.
    std::optional<std::vector<std::wstring>> GetFiles() {
        ComPtr<_Collection> list;
        const HRESULT hr = clip->GetShellFiles(list.put());
        EXPECT_EQ(S_OK, hr) << LastError(hr).description;
        if (!list) return std::nullopt;
        std::vector<std::wstring> names;
        long count = 0;
        list->Count(&count);
        for (long i = 1; i <= count; ++i) {
            Variant item;
            list->Item(Variant::FromLong(i).get(), item.put());
            names.push_back(Text(*item.get()));
        }
        return names;
    }

    ComPtr<_orxClipboard> clip;
    const LONG custom = static_cast<LONG>(RegisterClipboardFormatA("Basekit test raw"));
};

using Files = std::vector<std::wstring>;

}  // namespace

TEST_F(RawClipboardTest, ByteArraysOfNoneOneAndAMegabyte) {
    EXPECT_FALSE(SetRaw(custom, ByteArray("")));
    EXPECT_FALSE(SetRaw(custom, nullptr));
    EXPECT_FALSE(IsClipboardFormatAvailable(custom));

    ASSERT_TRUE(SetRaw(custom, ByteArray("\x7F")));
    LONG size = -1;
    const auto one = GetRawData(custom, &size);
    ASSERT_TRUE(one);
    // The block's size as the system gives it: at least what was placed.
    EXPECT_GE(size, 1);
    EXPECT_EQ(static_cast<size_t>(size), one->size());
    EXPECT_EQ('\x7F', one->front());
    EXPECT_EQ(GetRaw(custom), one);

    std::string big(1 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + (i >> 9));
    ASSERT_TRUE(SetRaw(custom, ByteArray(big)));
    const auto back = GetRawData(custom, &size);
    ASSERT_TRUE(back);
    EXPECT_GE(static_cast<size_t>(size), big.size());
    EXPECT_EQ(big, back->substr(0, big.size()));
    // The size argument may be left out.
    EXPECT_TRUE(GetRawData(custom, nullptr));
}

TEST_F(RawClipboardTest, AnyLowerBoundPlacedAndTheCallersArrayReplaced) {
    ASSERT_TRUE(SetRaw(custom, ByteArray("bounds", 5)));
    EXPECT_EQ("bounds", GetRawData(custom)->substr(0, 6));
    ASSERT_TRUE(SetRaw(custom, ByteArray("neg", -3)));
    EXPECT_EQ("neg", GetRawData(custom)->substr(0, 3));

    // The caller's array gives way to one from 0 of the block's size.
    SAFEARRAY* data = ByteArray("previous contents", 10);
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(S_OK, clip->GetRAWData(custom, &data, nullptr, &ok));
    support::SafeArray owner(data);
    EXPECT_EQ(VARIANT_TRUE, ok);
    LONG lower = -1;
    SafeArrayGetLBound(data, 1, &lower);
    EXPECT_EQ(0, lower);
    EXPECT_EQ("neg", BytesOf(data).substr(0, 3));

    // A fixed-size array is not the caller's to give up: false, and it stays.
    SAFEARRAY* fixed = ByteArray("fixed");
    fixed->fFeatures |= FADF_FIXEDSIZE;
    ASSERT_EQ(S_OK, clip->GetRAWData(custom, &fixed, nullptr, &ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
    EXPECT_EQ("fixed", BytesOf(fixed));
    fixed->fFeatures &= ~FADF_FIXEDSIZE;
    SafeArrayDestroy(fixed);
    // Arrays of wider elements or more dimensions are no bytes.
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    EXPECT_FALSE(SetRaw(custom, SafeArrayCreate(VT_UI1, 2, bounds)));
    EXPECT_FALSE(SetRaw(custom, SafeArrayCreateVector(VT_I4, 0, 4)));
}

TEST_F(RawClipboardTest, GetRawDataFailsQuietly) {
    EXPECT_FALSE(GetRawData(custom));  // not there
    // A bitmap's handle is no memory block: false, not a read of it.
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 1, nullptr);
    {
        support::ClipboardOpen open = support::OpenClipboardBriefly(nullptr);
        ASSERT_TRUE(open);
        EmptyClipboard();
        ASSERT_TRUE(SetClipboardData(CF_BITMAP, bitmap));
    }
    EXPECT_FALSE(GetRawData(CF_BITMAP));
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(S_OK, clip->GetRAWData(CF_BITMAP, nullptr, nullptr, &ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
    EXPECT_EQ(S_OK, clip->SetRAWData(custom, nullptr, &ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
}

TEST_F(RawClipboardTest, ShellFileListsWideAndAnsi) {
    const Files names{L"C:\\docs\\a.txt", L"C:\\\u0414\u0430\u043D\u043D\u044B\u0435\\\u65E5.jpg"};
    ASSERT_TRUE(SetFiles(Names({names[0], names[1]})));
    std::string wide = FileListHeader(20, 1);
    for (const auto& name : names) wide += support::Utf16LeBytes(name) + std::string(2, '\0');
    wide += std::string(2, '\0');
    EXPECT_EQ(wide, GetRaw(CF_HDROP)->substr(0, wide.size()));
    EXPECT_EQ(names, GetFiles());

    EmptyAll();
    const Files ansiNames{L"C:\\caf\u00E9.txt", L"D:\\b c"};
    ASSERT_TRUE(SetFiles(Names({ansiNames[0], ansiNames[1]}), false));
    const std::string ansi = FileListHeader(20, 0) + support::AnsiFromText(ansiNames[0]) + '\0' +
                             support::AnsiFromText(ansiNames[1]) + std::string(2, '\0');
    EXPECT_EQ(ansi, GetRaw(CF_HDROP)->substr(0, ansi.size()));
    Files expected;
    for (const auto& name : ansiNames) expected.push_back(support::TextFromAnsi(support::AnsiFromText(name)));
    EXPECT_EQ(expected, GetFiles());

    // No collection or an empty one places nothing.
    EmptyAll();
    EXPECT_FALSE(SetFiles(Names({})));
    EXPECT_FALSE(SetFiles(nullptr));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
    EXPECT_FALSE(GetFiles());
}

TEST_F(RawClipboardTest, FileListsOfOtherProgramsPaddedCutShortOrBroken) {
    const std::string list = FileListHeader(20, 1) + support::Utf16LeBytes(L"a.txt") + std::string(2, '\0') +
                             support::Utf16LeBytes(L"  ") + std::string(2, '\0') + support::Utf16LeBytes(L"b.txt");
    ASSERT_TRUE(PutRaw(CF_HDROP, list + std::string(2, '\0') + std::string(2, '\0') + std::string(16, '\0')));
    EXPECT_EQ((Files{L"a.txt", L"b.txt"}), GetFiles());  // padded; the blank name skipped
    ASSERT_TRUE(PutRaw(CF_HDROP, list));                 // no terminators at all
    EXPECT_EQ((Files{L"a.txt", L"b.txt"}), GetFiles());
    ASSERT_TRUE(PutRaw(CF_HDROP, list + "x"));  // an odd byte count
    EXPECT_EQ((Files{L"a.txt", L"b.txt"}), GetFiles());
    ASSERT_TRUE(PutRaw(CF_HDROP, FileListHeader(20, 0) + std::string("one\0two", 7)));
    EXPECT_EQ((Files{L"one", L"two"}), GetFiles());

    ASSERT_TRUE(PutRaw(CF_HDROP, FileListHeader(20, 1)));  // exactly the header: an empty list
    EXPECT_EQ(Files{}, GetFiles());
    ASSERT_TRUE(PutRaw(CF_HDROP, FileListHeader(20, 1).substr(0, 19)));  // shorter than the header
    EXPECT_FALSE(GetFiles());
    // Names said to begin past the block's end fail the call.
    ASSERT_TRUE(PutRaw(CF_HDROP, FileListHeader(4096, 1) + support::Utf16LeBytes(L"z")));
    ComPtr<_Collection> files;
    EXPECT_EQ(9, LastError(clip->GetShellFiles(files.put())).number);
    EXPECT_FALSE(files);
}

TEST_F(RawClipboardTest, BusyClipboardGivesFalseEmptyOrNothingAtOnce) {
    ASSERT_TRUE(PutRaw(CF_UNICODETEXT, std::string("k\0\0\0", 4)));
    ClipboardHolder holder;
    ASSERT_TRUE(holder.held());
    const auto started = std::chrono::steady_clock::now();
    VARIANT_BOOL ok = VARIANT_TRUE;
    Bstr text(L"t"), out;
    EXPECT_EQ(S_OK, clip->Clear(&ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
    EXPECT_EQ(S_OK, clip->SetText(text.get(), &ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
    EXPECT_EQ(S_OK, clip->SetHTML(text.get(), nullptr, nullptr, &ok));
    EXPECT_EQ(VARIANT_FALSE, ok);
    EXPECT_EQ(S_OK, clip->GetText(VARIANT_FALSE, out.put()));
    EXPECT_EQ(L"", out.str());
    EXPECT_EQ(S_OK, clip->GetHTML(static_cast<GetHTMLReturnValue>(4), out.put()));
    EXPECT_EQ(L"", out.str());
    EXPECT_TRUE(!SetRaw(custom, ByteArray("b")));
    EXPECT_FALSE(GetRawData(CF_UNICODETEXT));
    EXPECT_FALSE(SetFiles(Names({L"f"})));
    EXPECT_FALSE(GetFiles());
    ComPtr<_Collection> formats;
    EXPECT_EQ(S_OK, clip->GetFormats(formats.put()));
    EXPECT_FALSE(formats);
    // Format queries need no open clipboard.
    LONG count = 0;
    EXPECT_EQ(S_OK, clip->GetFormatsCount(&count));
    EXPECT_GE(count, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

TEST_F(RawClipboardTest, DataGoesToAndComesFromAnotherProgram) {
    const std::wstring peer = L"\"" + BinFile(L"clipboard_peer.exe") + L"\"";
    std::string output;
    // What the library placed, read by another process.
    Bstr text(L"from the library \u0416");
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(S_OK, clip->SetText(text.get(), &ok));
    ASSERT_EQ(VARIANT_TRUE, ok);
    ASSERT_EQ(0, RunCaptured(peer + L" read 13", output)) << output;
    const std::wstring expected = text.str() + L'\0';
    EXPECT_EQ(Hex(std::string(reinterpret_cast<const char*>(expected.c_str()), expected.size() * 2)),
              output.substr(0, output.find_first_of("\r\n")));
    ASSERT_TRUE(SetRaw(custom, ByteArray("\x01\x02\xFF")));
    ASSERT_EQ(0, RunCaptured(peer + L" read " + std::to_wstring(custom), output)) << output;
    EXPECT_EQ("0102ff", output.substr(0, 6));

    // What another process placed, read by the library.
    const std::string html = "StartFragment:0000000050\r\nEndFragment:0000000054\r\npeer";
    ASSERT_EQ(0, RunCaptured(peer + L" put " + std::to_wstring(HtmlFormatId()) + L" " + WideHex(html), output))
        << output;
    Bstr fragment;
    ASSERT_EQ(S_OK, clip->GetHTML(static_cast<GetHTMLReturnValue>(4), fragment.put()));
    EXPECT_EQ(L"peer", fragment.str());
    const std::string files = FileListHeader(20, 1) + support::Utf16LeBytes(L"C:\\peer.txt") + std::string(4, '\0');
    ASSERT_EQ(0, RunCaptured(peer + L" put 15 " + WideHex(files), output));
    EXPECT_EQ(Files{L"C:\\peer.txt"}, GetFiles());
}
