// orxAlone: whether another instance of a program runs, by named mutexes the object holds for
// its life (plain, per desktop, per user), and the window mark through which a later instance
// brings the running one to the front.
#include <windows.h>

#include <string>
#include <vector>

#include "Basekit0308.h"
#include "lib/instance/instance_names.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"
#include "support/es/user.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "support/win/system_message.h"

namespace bk {
namespace {

using namespace instance;

// A window handle as automation clients pass it: 32 bits, sign-extended as the system does.
HWND WindowOf(LONG value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

// The name of the calling thread's desktop; empty when it cannot be read.
std::wstring ThreadDesktopName() {
    HDESK desktop = GetThreadDesktop(GetCurrentThreadId());  // not to be closed
    if (!desktop) return {};
    std::vector<wchar_t> buffer(100);
    DWORD needed = 0;
    if (!GetUserObjectInformationW(desktop, UOI_NAME, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(wchar_t)),
                                   &needed)) {
        if (needed <= buffer.size() * sizeof(wchar_t)) return {};
        buffer.assign(needed / sizeof(wchar_t) + 1, L'\0');
        if (!GetUserObjectInformationW(desktop, UOI_NAME, buffer.data(),
                                       static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), &needed))
            return {};
    }
    buffer.back() = L'\0';
    return buffer.data();
}

// The top-level window that carries a mark of this name, and the mark. The state belongs to
// one search, so searches on several threads (or one started from a window procedure while
// another runs) do not meet.
struct MarkSearch {
    std::wstring markName;
    HWND found = nullptr;
    LONG_PTR value = 0;
};

BOOL CALLBACK VisitTopLevelWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<MarkSearch*>(data);
    const auto value = reinterpret_cast<LONG_PTR>(GetPropW(window, search->markName.c_str()));
    if (value == 0) return TRUE;
    search->found = window;
    search->value = value;
    return FALSE;
}

// A window answering the activation message may take a while; one that answers nothing at
// all (hung) must not hang the program asking it.
constexpr UINT kActivationReplyTimeoutMs = 10000;

class CorxAlone : public DispatchObject<CorxAlone, _orxAlone> {
public:
    static constexpr wchar_t kName[] = L"orxAlone";

    CorxAlone() : activationMessage_(RegisterWindowMessageW(std::wstring(kActivationMessageName).c_str())) {}

    HRESULT STDMETHODCALLTYPE IsAlone(BSTR appGuid, VARIANT_BOOL* result) override {
        return Guard([&] { return Test(plain_, appGuid, [&] { return PlainMutexName(Text(appGuid)); }, result); });
    }
    HRESULT STDMETHODCALLTYPE IsAloneOnDesktop(BSTR appGuid, VARIANT_BOOL* result) override {
        return Guard([&] {
            return Test(desktop_, appGuid, [&] { return DesktopMutexName(Text(appGuid), ThreadDesktopName()); },
                        result);
        });
    }
    HRESULT STDMETHODCALLTYPE IsAloneAtUser(BSTR appGuid, VARIANT_BOOL* result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            *result = VARIANT_FALSE;
            const auto name = UserMutexName(Text(appGuid), [](std::wstring& user) {
                return support::esGetFullUserName(true, true, user);
            });
            if (!name) return RaiseFailure(GetLastError(), L"The current user's name cannot be read");
            return Test(user_, appGuid, [&] { return *name; }, result);
        });
    }
    HRESULT STDMETHODCALLTYPE get_AppGUID(BSTR* result) override {
        return Guard([&] { return support::AllocBstr(appGuid_, result); });
    }
    HRESULT STDMETHODCALLTYPE get_WM_ACTIVATE_PREV_INSTANCE(LONG* result) override {
        if (!result) return E_POINTER;
        *result = static_cast<LONG>(activationMessage_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MarkPrevInstanceWindow(LONG window, ActivationMethodConst method,
                                                     VARIANT_BOOL* result) override {
        return Guard([&] { return Mark(window, method, appGuid_, result); });
    }
    HRESULT STDMETHODCALLTYPE UnMarkPrevInstanceWindow(LONG window, VARIANT_BOOL* result) override {
        return Guard([&] { return UnMark(window, appGuid_, result); });
    }
    HRESULT STDMETHODCALLTYPE MarkPrevInstanceWindowEx(LONG window, ActivationMethodConst method, BSTR appGuid,
                                                       VARIANT_BOOL* result) override {
        return Guard([&] { return Mark(window, method, Text(appGuid), result); });
    }
    HRESULT STDMETHODCALLTYPE UnMarkPrevInstanceWindowEx(LONG window, BSTR appGuid, VARIANT_BOOL* result) override {
        return Guard([&] { return UnMark(window, Text(appGuid), result); });
    }
    HRESULT STDMETHODCALLTYPE ActivatePrevInstanceWindow(VARIANT_BOOL* result) override {
        return Guard([&] { return Activate(appGuid_, result); });
    }
    HRESULT STDMETHODCALLTYPE ActivatePrevInstanceWindowEx(BSTR appGuid, VARIANT_BOOL* result) override {
        return Guard([&] { return Activate(Text(appGuid), result); });
    }

private:
    static std::wstring Text(BSTR b) { return std::wstring(support::BstrView(b)); }
    static VARIANT_BOOL Bool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

    // A system failure raised with its own HRESULT and the system's text for it.
    static HRESULT RaiseFailure(DWORD error, const std::wstring& lead) {
        const HRESULT hr = error ? HRESULT_FROM_WIN32(error) : E_FAIL;
        std::wstring text = lead;
        if (const std::wstring system = support::FormatSystemMessage(error); error && !system.empty())
            text += L": " + system;
        return RaiseHResult(Source(), hr, text);
    }

    // One test: the object's own handle of this kind goes first, so that it never counts as
    // another holder; the new handle is kept whatever the outcome, holding the name.
    template <class MakeName>
    HRESULT Test(support::Mutex& held, BSTR appGuid, MakeName&& makeName, VARIANT_BOOL* result) {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        held.reset();
        const std::wstring name = makeName();
        SetLastError(ERROR_SUCCESS);
        held.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
        const DWORD error = GetLastError();
        switch (ClassifyMutexCreation(held.valid(), error)) {
        case MutexOutcome::Alone:
            *result = VARIANT_TRUE;
            break;
        case MutexOutcome::NotAlone:
            break;
        case MutexOutcome::Failed:
            // Without a mutex nothing is known about other instances: "alone" would be a guess.
            return RaiseFailure(error, L"The single-instance mutex \"" + name + L"\" cannot be created");
        }
        appGuid_ = Text(appGuid);
        return S_OK;
    }

    static HRESULT Mark(LONG window, long method, const std::wstring& appGuid, VARIANT_BOOL* result) {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        HWND target = WindowOf(window);
        if (appGuid.empty() || !IsActivationMethod(method) || !IsWindow(target)) return S_OK;
        *result = Bool(SetPropW(target, WindowMarkName(appGuid).c_str(),
                                reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(method))) != FALSE);
        return S_OK;
    }

    static HRESULT UnMark(LONG window, const std::wstring& appGuid, VARIANT_BOOL* result) {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        HWND target = WindowOf(window);
        if (appGuid.empty() || !IsWindow(target)) return S_OK;
        *result = Bool(RemovePropW(target, WindowMarkName(appGuid).c_str()) != nullptr);
        return S_OK;
    }

    HRESULT Activate(const std::wstring& appGuid, VARIANT_BOOL* result) const {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        MarkSearch search;
        search.markName = WindowMarkName(appGuid);
        EnumWindows(&VisitTopLevelWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return S_OK;
        HWND window = search.found;
        // A mark this library did not set (any other value) activates nothing.
        const bool known = search.value >= kAmNormal && search.value <= kAmNormalWithMinimizeToTrayHook;
        const long mark = known ? static_cast<long>(search.value) : 0;
        const ActivationPlan plan =
            PlanActivation(mark, IsWindowVisible(window) != FALSE, IsIconic(window) != FALSE, activationMessage_ != 0);
        if (plan.sendMessage) {
            DWORD_PTR reply = 0;
            const bool answered = SendMessageTimeoutW(window, activationMessage_, 0, 0, SMTO_ABORTIFHUNG,
                                                      kActivationReplyTimeoutMs, &reply) != 0;
            *result = Bool(answered && reply != 0);
            return S_OK;
        }
        if (plan.restore) OpenIcon(window);
        if (plan.foreground) SetForegroundWindow(window);
        *result = Bool(plan.result);
        return S_OK;
    }

    const UINT activationMessage_;
    std::wstring appGuid_;
    // One handle per kind of test; each closed when the object ends, freeing the name.
    support::Mutex plain_;
    support::Mutex desktop_;
    support::Mutex user_;
};

}  // namespace

HRESULT CreateOrxAlone(REFIID iid, void** out) { return CorxAlone::New(iid, out); }

}  // namespace bk
