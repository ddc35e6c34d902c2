#include "lib/forms/form_helpers.h"

#include <olectl.h>

#include <cstdint>
#include <optional>

#include "lib/forms/caller_controls.h"
#include "lib/objectmodel/latebinding.h"
#include "support/as/icons.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace bk {
namespace {

using support::Variant;

std::optional<LONG> LongOf(const VARIANT& value) {
    Variant converted;
    if (FAILED(VariantChangeType(converted.put(), const_cast<VARIANT*>(&value), 0, VT_I4))) return std::nullopt;
    return V_I4(converted.get());
}

std::optional<bool> BoolOf(const VARIANT& value) {
    Variant converted;
    if (FAILED(VariantChangeType(converted.put(), const_cast<VARIANT*>(&value), 0, VT_BOOL))) return std::nullopt;
    return V_BOOL(converted.get()) != VARIANT_FALSE;
}

std::optional<LONG> GetLong(LateBound& object, const wchar_t* name) {
    Variant value;
    if (FAILED(object.Get(name, *value.put()))) return std::nullopt;
    return LongOf(*value.get());
}

std::optional<bool> GetBool(LateBound& object, const wchar_t* name) {
    Variant value;
    if (FAILED(object.Get(name, *value.put()))) return std::nullopt;
    return BoolOf(*value.get());
}

Variant ShortValue(SHORT n) {
    Variant v;
    VARIANT* raw = v.put();
    V_VT(raw) = VT_I2;
    V_I2(raw) = n;
    return v;
}

HRESULT PutBool(LateBound& object, const wchar_t* name, bool on) {
    return object.Put(name, *Variant::FromBool(on).get());
}

// The object a property or element gives, or null.
support::ComPtr<IDispatch> DispatchOf(const VARIANT& value) {
    const VARIANT* v = &value;
    if (V_VT(v) == (VT_VARIANT | VT_BYREF)) v = V_VARIANTREF(v);
    if (!v) return {};
    if (V_VT(v) == VT_DISPATCH) return support::ComPtr<IDispatch>::Share(V_DISPATCH(v));
    if (V_VT(v) == (VT_DISPATCH | VT_BYREF) && V_DISPATCHREF(v)) return support::ComPtr<IDispatch>::Share(*V_DISPATCHREF(v));
    support::ComPtr<IDispatch> object;
    if (V_VT(v) == VT_UNKNOWN && V_UNKNOWN(v)) V_UNKNOWN(v)->QueryInterface(IID_IDispatch, object.put_void());
    return object;
}

// A control array: its bounds and its elements.
class ControlArray {
public:
    explicit ControlArray(IDispatch* array) : array_(array) {
        const std::optional<LONG> low = GetLong(array_, L"LBound");
        const std::optional<LONG> high = GetLong(array_, L"UBound");
        if (low && high) {
            low_ = *low;
            high_ = *high;
            valid_ = true;
        }
    }
    bool valid() const { return valid_; }
    int64_t low() const { return low_; }
    int64_t high() const { return high_; }

    // The element at `index`, or null for a gap or an index the array lacks.
    support::ComPtr<IDispatch> At(int64_t index) {
        Variant position = Variant::FromLong(static_cast<LONG>(index));
        Variant element;
        if (FAILED(array_.Invoke(DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {position.get(), 1},
                                 element.put()))) {
            return {};
        }
        return DispatchOf(*element.get());
    }

    // Calls `each` with each element from the lower to the upper bound, gaps left out.
    template <class Each>
    void ForEach(Each&& each) {
        if (!valid_) return;
        for (int64_t i = low_; i <= high_; ++i) {
            support::ComPtr<IDispatch> element = At(i);
            if (element) each(i, element.get());
        }
    }

private:
    LateBound array_;
    int64_t low_ = 0;
    int64_t high_ = -1;
    bool valid_ = false;
};

bool IsSelected(IDispatch* button) {
    LateBound b(button);
    return GetBool(b, L"Value").value_or(false);
}

// The system's hand cursor as an owned handle: the one user32 keeps as resource 114 where it
// has it, else the standard hand (the same picture; Wine's user32 lacks resource 114).
support::Cursor LoadHandCursor() {
    HMODULE user32 = GetModuleHandleW(L"User32");
    if (user32) {
        if (HANDLE cursor = LoadImageW(user32, MAKEINTRESOURCEW(114), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)) {
            return support::Cursor(static_cast<HCURSOR>(cursor));
        }
    }
    constexpr WORD kStandardHand = 32649;  // OCR_HAND
    return support::Cursor(static_cast<HCURSOR>(
        LoadImageW(nullptr, MAKEINTRESOURCEW(kStandardHand), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
}

}  // namespace

LONG SelectedOptionButtonIndex(IDispatch* buttons) {
    if (!buttons) return -1;
    ControlArray array(buttons);
    if (!array.valid()) return -1;
    for (int64_t i = array.low(); i <= array.high(); ++i) {
        support::ComPtr<IDispatch> button = array.At(i);
        if (button && IsSelected(button.get())) return static_cast<LONG>(i);
    }
    return -1;
}

void SelectOptionButton(IDispatch* buttons, LONG index) {
    if (!buttons) return;
    ControlArray array(buttons);
    if (support::ComPtr<IDispatch> button = array.At(index)) {
        LateBound b(button.get());
        if (SUCCEEDED(PutBool(b, L"Value", true))) return;
    }
    if (!array.valid()) return;
    if (support::ComPtr<IDispatch> lowest = array.At(array.low())) {
        LateBound b(lowest.get());
        PutBool(b, L"Value", true);
    }
}

void EnableOptionButtons(IDispatch* buttons, bool enable) {
    if (!buttons) return;
    ControlArray array(buttons);
    // Enabling starts with the selected button, disabling ends with it, so that the group
    // never has its selected button disabled while another is enabled.
    const bool selectedFirst = enable;
    for (const bool selectedPass : {selectedFirst, !selectedFirst}) {
        array.ForEach([&](int64_t, IDispatch* button) {
            if (IsSelected(button) != selectedPass) return;
            LateBound b(button);
            PutBool(b, L"Enabled", enable);
        });
    }
}

bool PressCommandButton(IDispatch* button) {
    if (!button || KindOf(button) != ControlKind::CommandButton) return false;
    LateBound b(button);
    if (!GetBool(b, L"Enabled").value_or(false)) return false;
    return SUCCEEDED(PutBool(b, L"Value", true));
}

void SetFormFonts(IDispatch* form) {
    if (!form) return;
    LateBound f(form);
    Variant controls;
    if (FAILED(f.Get(L"Controls", *controls.put()))) return;
    support::ComPtr<IDispatch> list = DispatchOf(*controls.get());
    if (!list) return;
    ForEachItem(list.get(), [](const VARIANT& item) {
        support::ComPtr<IDispatch> control = DispatchOf(item);
        if (!control) return S_OK;
        LateBound c(control.get());
        Variant fontValue;
        if (FAILED(c.Get(L"Font", *fontValue.put()))) return S_OK;  // a control without a font
        support::ComPtr<IDispatch> fontObject = DispatchOf(*fontValue.get());
        if (!fontObject) return S_OK;
        LateBound font(fontObject.get());
        font.Put(L"Name", *Variant::FromString(L"Times New Roman").get());
        Variant size;
        VARIANT* points = size.put();
        V_VT(points) = VT_CY;
        V_CY(points).int64 = 105000;  // 10.5 points, in the currency type fonts use
        font.Put(L"Size", *size.get());
        PutBool(font, L"Italic", true);
        PutBool(font, L"Bold", false);
        PutBool(font, L"Underline", false);
        PutBool(font, L"Strikethrough", false);
        font.Put(L"Charset", *ShortValue(204).get());  // RUSSIAN_CHARSET
        return S_OK;
    });
}

void SetComboBoxHandCursors(IDispatch* form) {
    if (!form) return;
    support::ComPtr<IPictureDisp> picture;
    {
        support::Cursor cursor = LoadHandCursor();
        if (!cursor) return;
        if (FAILED(support::asGetIconFromHandle(cursor.get(), picture.put())) || !picture) return;
    }  // the loaded cursor goes here; the picture holds its own copy
    LateBound f(form);
    Variant controls;
    if (FAILED(f.Get(L"Controls", *controls.put()))) return;
    support::ComPtr<IDispatch> list = DispatchOf(*controls.get());
    if (!list) return;
    // The first failure ends the walk.
    ForEachItem(list.get(), [&](const VARIANT& item) {
        support::ComPtr<IDispatch> control = DispatchOf(item);
        if (!control) return S_OK;
        if (KindOf(control.get()) != ControlKind::ComboBox) return S_OK;
        LateBound c(control.get());
        Variant style;
        if (HRESULT hr = c.Get(L"Style", *style.put()); FAILED(hr)) return hr;
        const std::optional<LONG> kind = LongOf(*style.get());
        if (!kind) return DISP_E_TYPEMISMATCH;
        constexpr LONG kDropDownList = 2;
        if (*kind != kDropDownList) return S_OK;
        if (HRESULT hr = c.PutRef(L"MouseIcon", picture.get()); FAILED(hr)) return hr;
        return c.Put(L"MousePointer", *ShortValue(99).get());  // the custom MouseIcon
    });
}

void ShowModalWithParentAside(IDispatch* parent, IDispatch* child) {
    LateBound p(parent);
    Variant left;
    const bool remembered = parent && SUCCEEDED(p.Get(L"Left", *left.put()));
    if (parent) {
        Variant width;
        Variant widthAsDouble;
        if (SUCCEEDED(p.Get(L"Width", *width.put())) &&
            SUCCEEDED(VariantChangeType(widthAsDouble.put(), width.get(), 0, VT_R8))) {
            p.Put(L"Left", *Variant::FromDouble(-V_R8(widthAsDouble.get()) - 1000.0).get());
        }
    }
    if (child) {
        LateBound c(child);
        Variant modal = Variant::FromLong(1);  // vbModal
        c.Call(L"Show", {*modal.get()});
    }
    // A position that could not be read is not written back as an empty one.
    if (remembered) p.Put(L"Left", *left.get());
}

}  // namespace bk
