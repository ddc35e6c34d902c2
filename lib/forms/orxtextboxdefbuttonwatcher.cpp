// orxTextBoxDefButtonWatcher: while one text box of a form has the focus, its own button is
// the form's default button; when the focus leaves, the form-wide button is again.
#include <memory>
#include <string_view>

#include "Basekit0308.h"
#include "lib/forms/caller_controls.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"
#include "lib/objectmodel/latebinding.h"

namespace bk {
namespace {

// The buttons and what the focus events do with them. Shared with the connection's sink,
// which holds it weakly.
class DefaultButtonWatch final : public ControlEventHandler {
public:
    enum Event : size_t { kGotFocus, kLostFocus };

    support::ComPtr<IDispatch> globalButton;
    support::ComPtr<IDispatch> localButton;

    void OnControlEvent(size_t event, DISPPARAMS&) noexcept override {
        // Buttons that refuse (gone, disabled forms) are left as they are: an event handler
        // has nobody to report to.
        if (event == kGotFocus) {
            SetDefault(localButton, true);
        } else if (event == kLostFocus) {
            SetDefault(localButton, false);
            SetDefault(globalButton, true);
        }
    }

private:
    static void SetDefault(const support::ComPtr<IDispatch>& button, bool on) {
        if (!button) return;
        LateBound b(button.get());
        b.Put(L"Default", *support::Variant::FromBool(on).get());
    }
};

class CorxTextBoxDefButtonWatcher : public DispatchObject<CorxTextBoxDefButtonWatcher, _orxTextBoxDefButtonWatcher> {
public:
    static constexpr wchar_t kName[] = L"orxTextBoxDefButtonWatcher";

    ~CorxTextBoxDefButtonWatcher() override { events_.Disconnect(); }

    HRESULT STDMETHODCALLTYPE Init(IDispatch* globalButton, IDispatch* localButton, IDispatch* textBox) override {
        return Guard([&] {
            // Each argument is Nothing or a control of its kind; the ones assigned before a
            // mismatch stay assigned.
            if (globalButton && KindOf(globalButton) != ControlKind::CommandButton) return Raise(kErrTypeMismatch);
            watch_->globalButton = support::ComPtr<IDispatch>::Share(globalButton);
            if (localButton && KindOf(localButton) != ControlKind::CommandButton) return Raise(kErrTypeMismatch);
            watch_->localButton = support::ComPtr<IDispatch>::Share(localButton);
            if (textBox && KindOf(textBox) != ControlKind::TextBox) return Raise(kErrTypeMismatch);
            events_.Disconnect();
            textBox_ = support::ComPtr<IDispatch>::Share(textBox);
            if (!textBox) return S_OK;
            static constexpr std::wstring_view kEvents[] = {L"GotFocus", L"LostFocus"};
            if (HRESULT hr = events_.Connect(textBox, kEvents, watch_); FAILED(hr)) {
                return RaiseRecord(ErrorRecordOfCall(hr, nullptr), Source());
            }
            return S_OK;
        });
    }

private:
    std::shared_ptr<DefaultButtonWatch> watch_ = std::make_shared<DefaultButtonWatch>();
    support::ComPtr<IDispatch> textBox_;
    ControlEvents events_;
};

}  // namespace

HRESULT CreateOrxTextBoxDefButtonWatcher(REFIID iid, void** out) { return CorxTextBoxDefButtonWatcher::New(iid, out); }

}  // namespace bk
