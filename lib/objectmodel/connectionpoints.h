// Outgoing events. A class with events offers IConnectionPointContainer with one connection
// point for its source interface (the dispinterface its clients implement) and
// IProvideClassInfo2 naming that interface, so that script hosts that bind events by name
// find it. Sinks are advised by cookie and called by dispatch id:
//     class CFoo : public EventSourceObject<CFoo, _orxFoo, &DIID___orxFoo, &CLSID_orxFoo> {
//         ... Events().Fire(kFooHappened, {index}); ...
//     };
// Objects live in their caller's apartment: sinks from other apartments arrive as proxies
// through the registered type library.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <span>
#include <utility>
#include <vector>

#include "lib/objectmodel/comobject.h"
#include "support/win/com.h"

namespace bk {

// The connection point of one source interface. It is part of its container and shares its
// reference count.
class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer& container, REFIID source) : container_(container), source_(source) {}
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return container_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return container_.Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    REFIID source() const { return source_; }
    size_t size() const { return sinks_.size(); }
    // Calls member `id` of every advised sink with `args` (in call order). Sinks advised or
    // unadvised by a handler take part from the next event on; a sink's failure does not keep
    // the others from the event.
    void Fire(DISPID id, std::span<const VARIANT> args = {});

private:
    struct Sink {
        DWORD cookie;
        support::ComPtr<IDispatch> dispatch;
    };
    IConnectionPointContainer& container_;
    IID source_;
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
};

// IConnectionPointContainer::EnumConnectionPoints and FindConnectionPoint over one point.
HRESULT EnumOneConnectionPoint(ConnectionPoint& point, IEnumConnectionPoints** out);
HRESULT FindOneConnectionPoint(ConnectionPoint& point, REFIID iid, IConnectionPoint** out);

template <class Derived, class Itf, const IID* SourceIid, const CLSID* ClassId>
class EventSourceObject : public DispatchObject<Derived, Itf, IConnectionPointContainer, IProvideClassInfo2> {
public:
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override {
        return EnumOneConnectionPoint(point_, out);
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
        return FindOneConnectionPoint(point_, iid, out);
    }

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        return LibraryTypeInfo(*ClassId, out);
    }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* out) override {
        if (!out) return E_POINTER;
        if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
            *out = GUID_NULL;
            return E_INVALIDARG;
        }
        *out = *SourceIid;
        return S_OK;
    }

    // IProvideClassInfo, the base of IProvideClassInfo2.
    void* QueryExtra(REFIID iid) {
        if (iid == IID_IProvideClassInfo) return static_cast<IProvideClassInfo*>(static_cast<IProvideClassInfo2*>(this));
        return nullptr;
    }

protected:
    ConnectionPoint& Events() { return point_; }

private:
    ConnectionPoint point_{*static_cast<IConnectionPointContainer*>(this), *SourceIid};
};

}  // namespace bk
