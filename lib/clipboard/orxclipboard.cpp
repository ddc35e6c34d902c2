// orxClipboard: plain text in all its system forms, HTML in the "HTML Format" clipboard
// format, raw bytes in any format, the shell's file lists, and the formats present. Every
// member opens the clipboard (without an owner window), does its work and closes it again;
// nothing but Clear empties it, so the setters add their formats to what is there. A busy
// clipboard gives false, an empty text or no collection, never a wait.
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "Basekit0308.h"
#include "lib/automation/collection.h"
#include "lib/clipboard/file_list.h"
#include "lib/clipboard/html_format.h"
#include "lib/clipboard/text_block.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"
#include "lib/objectmodel/variants.h"
#include "support/as/codepages.h"
#include "support/as/unicode.h"
#include "support/es/application.h"
#include "support/win/clipboard_text.h"
#include "support/win/com.h"

namespace bk {
namespace {

using support::BstrView;
using support::ClipboardData;
using support::ComPtr;

constexpr UINT kFileListFormat = CF_HDROP;  // 15
constexpr UINT kTextBlockFlags = GMEM_DDESHARE | GMEM_ZEROINIT;
constexpr wchar_t kDefaultContextStart[] = L"<HTML><BODY>";
constexpr wchar_t kDefaultContextEnd[] = L"</BODY></HTML>";

VARIANT_BOOL Bool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// Text whose characters are the bytes of `bytes` (U+0000 to U+00FF): the form in which
// SetHTML hands the UTF-8 contexts back.
std::wstring CharactersOfBytes(std::string_view bytes) {
    std::wstring text(bytes.size(), L'\0');
    for (size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<unsigned char>(bytes[i]);
    return text;
}

// Replaces a caller's by-reference string.
HRESULT ReplaceText(BSTR* target, std::wstring_view text) {
    BSTR fresh = nullptr;
    if (FAILED(support::AllocBstr(text, &fresh))) return E_OUTOFMEMORY;
    SysFreeString(*target);
    *target = fresh;
    return S_OK;
}

// Whether an array the caller holds can be given up for a new one: not locked and not of a
// fixed size (a fixed or locked array is refused as the runtime's ReDim refuses it).
bool CanReplaceArray(const SAFEARRAY* array) {
    if (!array) return true;
    return array->cLocks == 0 && (array->fFeatures & (FADF_FIXEDSIZE | FADF_STATIC | FADF_EMBEDDED | FADF_AUTO)) == 0;
}

class CorxClipboard : public DispatchObject<CorxClipboard, _orxClipboard> {
public:
    static constexpr wchar_t kName[] = L"orxClipboard";

    HRESULT STDMETHODCALLTYPE Clear(VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
        *result = Bool(clipboard && EmptyClipboard());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_CF_HTML(LONG* result) override {
        if (!result) return E_POINTER;
        *result = static_cast<LONG>(HtmlFormat());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetHTML(BSTR fragment, BSTR* contextStart, BSTR* contextEnd,
                                      VARIANT_BOOL* result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = VARIANT_FALSE;
            if (BstrView(fragment).empty()) return S_OK;
            const UINT format = HtmlFormat();
            if (format == 0) return S_OK;
            // An early-bound caller that leaves a context out passes no reference: the
            // declared defaults apply (late-bound callers get them from the type library).
            const std::wstring_view start = contextStart ? BstrView(*contextStart) : kDefaultContextStart;
            const std::wstring_view end = contextEnd ? BstrView(*contextEnd) : kDefaultContextEnd;
            const clipboard::HtmlDocument document = clipboard::BuildHtmlDocument(
                support::asUNICODEToUTF8(BstrView(fragment)), support::asUNICODEToUTF8(start),
                support::asUNICODEToUTF8(end));
            if (contextStart && FAILED(ReplaceText(contextStart, CharactersOfBytes(document.startContext))))
                return Raise(kErrOutOfMemory);
            if (contextEnd && FAILED(ReplaceText(contextEnd, CharactersOfBytes(document.endContext))))
                return Raise(kErrOutOfMemory);

            support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
            if (!clipboard) return S_OK;
            *result = Bool(support::PlaceClipboardData(format, document.data, kTextBlockFlags, 1).ok());
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE GetHTML(GetHTMLReturnValue returnValue, BSTR* result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = nullptr;
            std::wstring text;
            const UINT format = HtmlFormat();
            if (clipboard::IsHtmlPart(returnValue) && format != 0 && IsClipboardFormatAvailable(format)) {
                support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
                if (clipboard) {
                    ClipboardData block(format);
                    if (block.valid()) {
                        const std::optional<std::string_view> part = clipboard::SelectHtmlPart(
                            clipboard::HtmlDataOfBlock(block.bytes()), static_cast<clipboard::HtmlPart>(returnValue));
                        if (!part)
                            return Raise(kErrTypeMismatch, L"A number in the HTML clipboard header is no number");
                        text = support::asUTF8ToUNICODE(*part);
                    }
                }
            }
            return Return(text, result);
        });
    }

    HRESULT STDMETHODCALLTYPE SetText(BSTR text, VARIANT_BOOL* result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = VARIANT_FALSE;
            const std::wstring_view value = BstrView(text);
            support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
            if (!clipboard) return S_OK;
            // Each form only while the ones before it went on.
            bool placed = true;
            if (support::esIsHostWinNT()) {
                const std::string_view units(reinterpret_cast<const char*>(value.data()),
                                             value.size() * sizeof(wchar_t));
                placed = support::PlaceClipboardData(CF_UNICODETEXT, units, kTextBlockFlags, sizeof(wchar_t)).ok();
            }
            placed = placed &&
                     support::PlaceClipboardData(CF_TEXT, support::AnsiFromText(value), kTextBlockFlags, 1).ok();
            placed = placed &&
                     support::PlaceClipboardData(CF_OEMTEXT, support::asAnsiToOem(value), kTextBlockFlags, 1).ok();
            placed = placed && PlaceThreadLocale(kTextBlockFlags);
            *result = Bool(placed);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE GetText(VARIANT_BOOL returnAnsiText, BSTR* result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = nullptr;
            std::wstring text;
            support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
            if (clipboard) {
                if (returnAnsiText == VARIANT_FALSE && IsClipboardFormatAvailable(CF_UNICODETEXT)) {
                    // The reader's locale goes with the text, for the forms the system makes of it.
                    PlaceThreadLocale(GMEM_FIXED);
                    ClipboardData block(CF_UNICODETEXT);
                    if (block.valid()) text = support::TextFromUtf16Le(clipboard::TextBytesOfBlock(block.bytes(), 2));
                } else if (IsClipboardFormatAvailable(CF_TEXT)) {
                    ClipboardData block(CF_TEXT);
                    if (block.valid()) text = support::TextFromAnsi(clipboard::TextBytesOfBlock(block.bytes(), 1));
                }
            }
            return Return(text, result);
        });
    }

    HRESULT STDMETHODCALLTYPE IsFormatAvailable(LONG format, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = Bool(IsClipboardFormatAvailable(static_cast<UINT>(format)));
        return S_OK;
    }

    // Never raises: any failure gives false.
    HRESULT STDMETHODCALLTYPE SetRAWData(LONG format, SAFEARRAY** data, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        try {
            std::string bytes;
            if (!data || !BytesOfArray(*data, bytes) || bytes.empty()) return S_OK;
            *result = Bool(PlaceRaw(static_cast<UINT>(format), bytes));
        } catch (...) {
            *result = VARIANT_FALSE;
        }
        return S_OK;
    }

    // Never raises: any failure gives false.
    HRESULT STDMETHODCALLTYPE GetRAWData(LONG format, SAFEARRAY** data, LONG* dataSize, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        if (!data) return S_OK;
        try {
            *result = Bool(ReadRaw(static_cast<UINT>(format), [&](std::string_view bytes) {
                if (bytes.size() > static_cast<size_t>(LONG_MAX) || !CanReplaceArray(*data)) return false;
                if (dataSize) *dataSize = static_cast<LONG>(bytes.size());
                support::SafeArray fresh;
                if (!bytes.empty()) {
                    fresh = support::SafeArray(SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size())));
                    if (!fresh.get()) return false;
                    support::ArrayLock lock = support::LockArray(fresh.get());
                    if (!lock) return false;
                    std::memcpy(fresh.get()->pvData, bytes.data(), bytes.size());
                }
                if (*data && FAILED(SafeArrayDestroy(*data))) return false;
                *data = fresh.detach();
                return true;
            }));
        } catch (...) {
            *result = VARIANT_FALSE;
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetFormatName(LONG format, BSTR* result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = nullptr;
            char name[1024];
            const int length = GetClipboardFormatNameA(static_cast<UINT>(format), name, sizeof name);
            return Return(length > 0 ? support::TextFromAnsi(std::string_view(name, static_cast<size_t>(length)))
                                     : std::wstring(),
                          result);
        });
    }

    HRESULT STDMETHODCALLTYPE GetFormatsCount(LONG* result) override {
        if (!result) return E_POINTER;
        *result = CountClipboardFormats();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetFormats(_Collection** result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = nullptr;
            support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
            if (!clipboard) return S_OK;
            ComPtr<_Collection> formats;
            if (FAILED(CreateCollection(formats.put()))) return Raise(kErrOutOfMemory);
            for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
                if (HRESULT hr = CollectionAppend(formats.get(),
                                                  *support::Variant::FromLong(static_cast<LONG>(format)).get());
                    FAILED(hr))
                    return hr;
            }
            *result = formats.detach();
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE SetShellFiles(_Collection** fileNames, VARIANT_BOOL unicode,
                                            VARIANT_BOOL* result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = VARIANT_FALSE;
            std::vector<std::wstring> names;
            if (HRESULT hr = NamesOf(fileNames, names); FAILED(hr)) return hr;
            if (names.empty()) return S_OK;
            std::string data;
            if (unicode != VARIANT_FALSE) {
                data = clipboard::BuildWideFileList(names);
            } else {
                std::vector<std::string> ansi;
                ansi.reserve(names.size());
                for (const std::wstring& name : names) ansi.push_back(support::AnsiFromText(name));
                data = clipboard::BuildAnsiFileList(ansi);
            }
            *result = Bool(PlaceRaw(kFileListFormat, data));
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE GetShellFiles(_Collection** result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = nullptr;
            clipboard::FileList list;
            std::vector<std::wstring> names;
            const bool read = ReadRaw(kFileListFormat, [&](std::string_view block) {
                list = clipboard::ReadFileList(block);
                for (std::string_view name : list.names)
                    names.push_back(list.wide ? support::TextFromUtf16Le(name) : support::TextFromAnsi(name));
                return true;
            });
            if (!read || list.status == clipboard::FileListStatus::TooSmall) return S_OK;
            if (list.status == clipboard::FileListStatus::OffsetPastEnd)
                return Raise(kErrSubscript, L"The file list's names begin past the end of its data");
            ComPtr<_Collection> files;
            if (FAILED(CreateCollection(files.put()))) return Raise(kErrOutOfMemory);
            for (const std::wstring& name : names) {
                if (HRESULT hr = CollectionAppend(files.get(), *support::Variant::FromString(name).get()); FAILED(hr))
                    return hr;
            }
            *result = files.detach();
            return S_OK;
        });
    }

private:
    static HRESULT Return(const std::wstring& text, BSTR* out) {
        return FAILED(support::AllocBstr(text, out)) ? Raise(kErrOutOfMemory) : S_OK;
    }

    // The "HTML Format" identifier, registered on first use and kept for the object's life.
    UINT HtmlFormat() {
        if (htmlFormat_ == 0) htmlFormat_ = RegisterClipboardFormatA("HTML Format");
        return htmlFormat_;
    }

    // The calling thread's locale as CF_LOCALE, on the open clipboard.
    static bool PlaceThreadLocale(UINT flags) {
        const LCID locale = GetThreadLocale();
        return support::PlaceClipboardData(
                   CF_LOCALE, std::string_view(reinterpret_cast<const char*>(&locale), sizeof locale), flags)
            .ok();
    }

    // The bytes of a one-dimensional array of one-byte elements, whatever its bounds.
    static bool BytesOfArray(SAFEARRAY* array, std::string& bytes) {
        if (!array || SafeArrayGetDim(array) != 1 || SafeArrayGetElemsize(array) != 1) return false;
        support::ArrayLock lock = support::LockArray(array);
        if (!lock) return false;
        bytes.assign(static_cast<const char*>(array->pvData), array->rgsabound[0].cElements);
        return true;
    }

    // Places bytes as they are in a fixed block of exactly their size.
    static bool PlaceRaw(UINT format, std::string_view bytes) {
        support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
        return clipboard && support::PlaceClipboardData(format, bytes, GMEM_FIXED).ok();
    }

    // Hands the block of `format` to `use` while the clipboard is open; false when the format
    // is not there, its data is no memory block, or the clipboard is busy.
    template <class Use>
    static bool ReadRaw(UINT format, Use&& use) {
        if (!IsClipboardFormatAvailable(format)) return false;
        support::ClipboardOpen clipboard = support::OpenClipboardBriefly(nullptr);
        if (!clipboard) return false;
        ClipboardData block(format);
        return block.valid() && use(block.bytes());
    }

    // The names of a collection of file names, as text.
    static HRESULT NamesOf(_Collection** fileNames, std::vector<std::wstring>& names) {
        if (!fileNames || !*fileNames) return S_OK;
        ComPtr<_Collection> items;
        if (FAILED((*fileNames)->QueryInterface(__uuidof(_Collection), items.put_void())))
            return Raise(kErrTypeMismatch);
        long count = 0;
        if (HRESULT hr = items->Count(&count); FAILED(hr)) return hr;
        for (long position = 1; position <= count; ++position) {
            support::Variant item, text;
            if (HRESULT hr = items->Item(support::Variant::FromLong(position).get(), item.put()); FAILED(hr)) return hr;
            if (HRESULT hr = ConvertValue(*item.get(), VT_BSTR, *text.put()); FAILED(hr))
                return Raise(ErrorNumberOf(hr));
            names.emplace_back(BstrView(V_BSTR(text.get())));
        }
        return S_OK;
    }

    UINT htmlFormat_ = 0;
};

}  // namespace

HRESULT CreateOrxClipboard(REFIID iid, void** out) { return CorxClipboard::New(iid, out); }

}  // namespace bk
