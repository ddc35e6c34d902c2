// Fake client controls: automation objects that stand for a caller's forms, controls, control
// arrays, collections and fonts. Each answers the members it was given by name (any case),
// logs what is written to it, may publish a class name from fake_controls.tlb (TextBox,
// CommandButton, OptionButton, ComboBox, Label, Form) and raise that class's events through
// a connection point. Without a class name it has no type information, as script objects.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lib/objectmodel/connectionpoints.h"
#include "support/win/com.h"

namespace bktest {

class FakeObject final : public IDispatch, public IProvideClassInfo2, public IConnectionPointContainer {
public:
    // A member run on every call: arguments in call order (for a put, the value last).
    using Handler = std::function<HRESULT(WORD flags, std::span<VARIANT* const> args, VARIANT* result)>;

    static support::ComPtr<FakeObject> Make(std::wstring_view className = {});

    // A property with its value; written by puts (logged as "Name=value").
    FakeObject& Property(std::wstring_view name, const VARIANT& value);
    FakeObject& Property(std::wstring_view name, bool value);
    FakeObject& Property(std::wstring_view name, long value);
    FakeObject& Property(std::wstring_view name, std::wstring_view value);
    FakeObject& Property(std::wstring_view name, IDispatch* value);
    // A member answered by `handler`; `id` as the object would give it (DISPID_VALUE for the
    // default member, DISPID_NEWENUM for _NewEnum), or an id of its own.
    FakeObject& Member(std::wstring_view name, Handler handler, DISPID id = DISPID_UNKNOWN);
    // Runs after a put of `name` was stored.
    FakeObject& AfterPut(std::wstring_view name, std::function<void()> action);
    // Every call of `name` from now on fails with the object's own run-time error `number`
    // (its description and source in the exception), before a handler runs; 0 stops that.
    FakeObject& Raises(std::wstring_view name, long number, std::wstring_view description = {},
                       std::wstring_view source = {});

    support::Variant Get(std::wstring_view name) const;
    bool GetBool(std::wstring_view name) const;
    long GetLong(std::wstring_view name) const;

    // Raises event `name` of the class's source interface with `args` in call order.
    void Raise(std::wstring_view name, std::span<const VARIANT> args = {});
    size_t Sinks() const { return point_ ? point_->size() : 0; }

    std::vector<std::wstring> log;  // puts and calls in order
    long refs() const { return refs_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argError) override;
    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* out) override;
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

private:
    FakeObject() = default;
    ~FakeObject();
    struct Entry {
        std::wstring name;
        DISPID id;
        support::Variant value;
        Handler handler;
        std::function<void()> afterPut;
        long raises = 0;
        std::wstring raisedDescription;
        std::wstring raisedSource;
    };
    Entry* Find(std::wstring_view name);
    const Entry* Find(std::wstring_view name) const;
    Entry& Add(std::wstring_view name, DISPID id);

    LONG refs_ = 1;
    std::vector<Entry> entries_;
    DISPID nextId_ = 1000;
    support::ComPtr<ITypeInfo> coclass_;
    support::ComPtr<ITypeInfo> defaultInterface_;
    support::ComPtr<ITypeInfo> source_;
    IID sourceIid_{};
    bk::ConnectionPoint* point_ = nullptr;
};

// A control array: LBound and UBound of the indexes given, the element at an index as its
// default member (Item); an index it lacks (a gap) fails as a control array does (error 340).
support::ComPtr<FakeObject> MakeControlArray(const std::map<long, support::ComPtr<FakeObject>>& items);
// A collection of objects with Count, Item (from 0) and _NewEnum, as a form's Controls.
support::ComPtr<FakeObject> MakeObjectList(const std::vector<support::ComPtr<FakeObject>>& items);
// A font object logging its puts in its log.
support::ComPtr<FakeObject> MakeFont();

// The text of a value as the logs show it: "True"/"False", numbers, texts, "<object>".
std::wstring LogText(const VARIANT& value);

}  // namespace bktest
