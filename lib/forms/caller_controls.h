// A caller's controls, reached the way a classic client's controls publish themselves: their
// kind from their own type information, their events through their connection points, their
// collections through _NewEnum. Every member that watches or tests a caller's control goes
// through here.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "lib/forms/control_kinds.h"
#include "support/win/com.h"

namespace bk {

// The kind of a caller's control: from the name of its class when it gives one
// (IProvideClassInfo); else from the name of its dispatch interface (GetTypeInfo) when that
// names a kind; else (script objects) from the members it answers (KindSignatures). Null is
// Unknown.
ControlKind KindOf(IDispatch* control);

// Whether two interface pointers belong to the same object (their IUnknown is the same).
bool SameObject(IUnknown* a, IUnknown* b);

// Receives the events of a caller's control.
class ControlEventHandler {
public:
    virtual ~ControlEventHandler() = default;
    // `event`: the position of the event's name in the list given to ControlEvents::Connect.
    // `params` are as the control raised them (by-reference arguments may be written).
    virtual void OnControlEvent(size_t event, DISPPARAMS& params) noexcept = 0;
};

// One connection to a caller's control's default event interface. The handler is held weakly,
// so the control (which holds the connection's sink) keeps nothing of ours alive; a handler
// that goes while an event is being delivered lives until that delivery ends.
class ControlEvents {
public:
    ControlEvents() = default;
    ControlEvents(const ControlEvents&) = delete;
    ControlEvents& operator=(const ControlEvents&) = delete;
    ~ControlEvents() { Disconnect(); }

    // Connects to `control`'s default source interface and delivers the events named in
    // `events` (looked up by name in that interface; names it lacks are never delivered).
    // Fails with run-time error 459 when the control publishes no events.
    HRESULT Connect(IDispatch* control, std::span<const std::wstring_view> events,
                    std::weak_ptr<ControlEventHandler> handler);
    void Disconnect() noexcept;
    bool connected() const { return point_.valid(); }

private:
    support::ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

// Calls `each` with every item of a caller's collection, in its enumerator's order (For
// Each). Stops at the first failure of `each` and returns it; a collection without an
// enumerator gives run-time error 438.
HRESULT ForEachItem(IDispatch* collection, const std::function<HRESULT(const VARIANT&)>& each);

// An integer event argument passed by reference (KeyCode, Shift): read and written through
// the type the caller gave it. False for an argument of another shape or a null reference.
bool ReadIntegerArgument(const VARIANT& argument, long& value);
bool WriteIntegerArgument(VARIANT& argument, long value);

}  // namespace bk
