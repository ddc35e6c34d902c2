// CommandLineParser: the arguments of a command line, item 1 of its collection being the
// program name. Clients receive it from orxMain.CommandLine; it has no class factory.
#include "lib/main/commandlineparser.h"

#include <climits>
#include <string>
#include <vector>

#include "lib/automation/collection.h"
#include "lib/main/cmdline_split.h"
#include "lib/objectmodel/comobject.h"
#include "lib/objectmodel/runtime_errors.h"
#include "support/es/fileops.h"
#include "support/as/text.h"

namespace bk {
namespace {

using support::ComPtr;

class CCommandLineParser : public DispatchObject<CCommandLineParser, _CommandLineParser> {
public:
    static constexpr wchar_t kName[] = L"CommandLineParser";

    // Splits the process's command line, the program name as written becoming item 1.
    HRESULT Init() {
        return Guard([&] {
            support::Bstr text(support::asGetStringFromPointerW(GetCommandLineW()));
            return Split(text.get(), false);
        });
    }

    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
        if (!count) return E_POINTER;
        LONG n = 0;
        if (arguments_) {
            if (HRESULT hr = arguments_->Count(&n); FAILED(hr)) return hr;
        }
        *count = n >= 1 ? n - 1 : 0;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Item(LONG index, BSTR* item) override {
        if (!item) return E_POINTER;
        *item = nullptr;
        if (index < -1) return Raise(kErrSubscript);
        LONG n = 0;
        if (arguments_) {
            if (HRESULT hr = arguments_->Count(&n); FAILED(hr)) return hr;
        }
        if (n == 0 && index == -1) return Guard([&] {
            return support::AllocBstr(support::esGetModuleFileName(nullptr, true), item);
        });
        // Item Index + 2 of the collection; an index that has no such item, including one
        // too large to add 2 to, is out of range.
        if (!arguments_ || index > LONG_MAX - 2) return Raise(kErrSubscript);
        support::Variant position = support::Variant::FromLong(index + 2);
        support::Variant value;
        // A position past the last argument: the collection's error, raised as the parser's own.
        if (HRESULT hr = arguments_->Item(position.get(), value.put()); FAILED(hr))
            return HRESULT_FACILITY(hr) == FACILITY_CONTROL ? Raise(ErrorNumberOf(hr)) : hr;
        if (HRESULT hr = VariantChangeType(value.get(), value.get(), 0, VT_BSTR); FAILED(hr))
            return Raise(kErrTypeMismatch);
        *item = V_BSTR(value.get());
        V_VT(value.get()) = VT_EMPTY;  // ownership went to the caller
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE SetNewCommandLine(BSTR newCommandLine, VARIANT_BOOL addDummyExeModuleName) override {
        return Guard([&] { return Split(newCommandLine, addDummyExeModuleName != VARIANT_FALSE); });
    }

private:

    // Replaces the arguments by those of `text`, after the running program's name if asked.
    // A failure leaves what was appended before it.
    HRESULT Split(BSTR newCommandLine, bool addDummyExeModuleName) {
        arguments_.reset();
        if (HRESULT hr = CreateCollection(arguments_.put()); FAILED(hr)) return hr;
        if (addDummyExeModuleName) {
            support::Variant name = support::Variant::FromString(support::esGetModuleFileName(nullptr, true));
            if (HRESULT hr = CollectionAppend(arguments_.get(), *name.get()); FAILED(hr)) return hr;
        }
        std::vector<std::wstring> pieces;
        SplitCommandLine(support::BstrView(newCommandLine), pieces);
        for (const auto& piece : pieces) {
            support::Variant value = support::Variant::FromString(piece);
            if (HRESULT hr = CollectionAppend(arguments_.get(), *value.get()); FAILED(hr)) return hr;
        }
        return S_OK;
    }

    ComPtr<_Collection> arguments_;
};

}  // namespace

HRESULT CreateCommandLineParser(_CommandLineParser** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<_CommandLineParser> parser;
    HRESULT hr = CCommandLineParser::New(__uuidof(_CommandLineParser), parser.put_void());
    if (FAILED(hr)) return hr;
    if (FAILED(hr = static_cast<CCommandLineParser*>(parser.get())->Init())) return hr;
    *out = parser.detach();
    return S_OK;
}

}  // namespace bk
