#include "lib/forms/textbox_insert_hooks.h"

#include <string_view>

#include "lib/forms/caller_controls.h"
#include "lib/objectmodel/latebinding.h"
#include "support/win/com.h"

namespace bk {

class TextBoxInsertHooks::Hook final : public ControlEventHandler {
public:
    explicit Hook(IDispatch* textBox) : textBox_(support::ComPtr<IDispatch>::Share(textBox)) {}

    HRESULT Connect(const std::shared_ptr<Hook>& self) {
        static constexpr std::wstring_view kEvents[] = {L"KeyDown"};
        return events_.Connect(textBox_.get(), kEvents, self);
    }
    void Disconnect() noexcept { events_.Disconnect(); }
    IDispatch* textBox() const { return textBox_.get(); }

    // KeyDown(KeyCode, Shift), both by reference: Shift+Insert alone on a locked text box is
    // turned into no key at all, so nothing gets pasted.
    void OnControlEvent(size_t, DISPPARAMS& params) noexcept override {
        if (params.cArgs < 2 || params.cNamedArgs != 0) return;
        VARIANT& keyCode = params.rgvarg[params.cArgs - 1];
        VARIANT& shift = params.rgvarg[params.cArgs - 2];
        long key = 0, state = 0;
        if (!ReadIntegerArgument(keyCode, key) || !ReadIntegerArgument(shift, state)) return;
        constexpr long kInsert = 45;     // VK_INSERT
        constexpr long kShiftOnly = 1;   // the Shift bit alone: no Ctrl, no Alt
        if (key != kInsert || state != kShiftOnly) return;
        LateBound box(textBox_.get());
        support::Variant locked;
        support::Variant asBool;
        if (FAILED(box.Get(L"Locked", *locked.put())) ||
            FAILED(VariantChangeType(asBool.put(), locked.get(), 0, VT_BOOL)) ||
            V_BOOL(asBool.get()) == VARIANT_FALSE) {
            return;
        }
        WriteIntegerArgument(keyCode, 0);
        WriteIntegerArgument(shift, 0);
    }

private:
    support::ComPtr<IDispatch> textBox_;
    ControlEvents events_;
};

TextBoxInsertHooks::~TextBoxInsertHooks() { Clear(); }

HRESULT TextBoxInsertHooks::Add(IDispatch* textBox, bool& added) {
    added = false;
    for (const auto& hook : hooks_) {
        if (SameObject(hook->textBox(), textBox)) return S_OK;
    }
    auto hook = std::make_shared<Hook>(textBox);
    if (HRESULT hr = hook->Connect(hook); FAILED(hr)) return hr;
    hooks_.push_back(std::move(hook));
    added = true;
    return S_OK;
}

bool TextBoxInsertHooks::Remove(IDispatch* textBox) {
    for (auto it = hooks_.begin(); it != hooks_.end(); ++it) {
        if (!SameObject((*it)->textBox(), textBox)) continue;
        std::shared_ptr<Hook> hook = std::move(*it);
        hooks_.erase(it);
        hook->Disconnect();
        return true;
    }
    return false;
}

void TextBoxInsertHooks::Clear() {
    std::vector<std::shared_ptr<Hook>> hooks;
    hooks.swap(hooks_);
    for (const auto& hook : hooks) hook->Disconnect();
}

}  // namespace bk
