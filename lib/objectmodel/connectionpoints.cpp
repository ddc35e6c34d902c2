#include "lib/objectmodel/connectionpoints.h"

#include <algorithm>

#include "lib/objectmodel/unknown.h"

namespace bk {
namespace {

// A snapshot of connections or connection points, walked by clients.
template <class Enum, class Item, class Held>
class SnapshotEnum : public UnknownObject<SnapshotEnum<Enum, Item, Held>, Enum> {
public:
    SnapshotEnum(std::vector<Held> items, size_t position) : items_(std::move(items)), position_(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG done = 0;
        while (done < count && position_ < items_.size()) out[done++] = Give(items_[position_++]);
        if (fetched) *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = items_.size() - std::min(position_, items_.size());
        position_ += std::min<size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Enum** out) override {
        return SnapshotEnum::New(__uuidof(Enum), reinterpret_cast<void**>(out), items_, position_);
    }

private:
    static CONNECTDATA Give(const std::pair<support::ComPtr<IUnknown>, DWORD>& c) {
        return CONNECTDATA{support::ComPtr<IUnknown>(c.first).detach(), c.second};
    }
    static IConnectionPoint* Give(const support::ComPtr<IConnectionPoint>& p) {
        return support::ComPtr<IConnectionPoint>(p).detach();
    }

    std::vector<Held> items_;
    size_t position_;
};

using ConnectionsEnum = SnapshotEnum<IEnumConnections, CONNECTDATA, std::pair<support::ComPtr<IUnknown>, DWORD>>;
using PointsEnum = SnapshotEnum<IEnumConnectionPoints, IConnectionPoint*, support::ComPtr<IConnectionPoint>>;

}  // namespace

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        *out = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = source_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    container_.AddRef();
    *out = &container_;
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    // The sink must speak the source interface; it is called through IDispatch.
    support::ComPtr<IUnknown> source;
    if (FAILED(sink->QueryInterface(source_, source.put_void()))) return CONNECT_E_CANNOTCONNECT;
    support::ComPtr<IDispatch> dispatch;
    if (FAILED(source->QueryInterface(IID_IDispatch, dispatch.put_void()))) return CONNECT_E_CANNOTCONNECT;
    try {
        sinks_.push_back(Sink{nextCookie_, std::move(dispatch)});
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
    const auto it = std::find_if(sinks_.begin(), sinks_.end(), [cookie](const Sink& s) { return s.cookie == cookie; });
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    sinks_.erase(it);
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        std::vector<std::pair<support::ComPtr<IUnknown>, DWORD>> items;
        for (const Sink& s : sinks_)
            items.emplace_back(support::ComPtr<IUnknown>::Share(s.dispatch.get()), s.cookie);
        return ConnectionsEnum::New(IID_IEnumConnections, reinterpret_cast<void**>(out), std::move(items), 0);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

void ConnectionPoint::Fire(DISPID id, std::span<const VARIANT> args) {
    std::vector<support::ComPtr<IDispatch>> targets;
    try {
        for (const Sink& s : sinks_) targets.push_back(s.dispatch);
    } catch (...) {
        return;  // no memory to copy the list: the event is lost, the object goes on
    }
    std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
    for (const auto& target : targets) {
        DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        support::ExcepInfo exception;
        UINT argErr = 0;
        target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, exception.put(), &argErr);
    }
}

HRESULT EnumOneConnectionPoint(ConnectionPoint& point, IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        std::vector<support::ComPtr<IConnectionPoint>> items{support::ComPtr<IConnectionPoint>::Share(&point)};
        return PointsEnum::New(IID_IEnumConnectionPoints, reinterpret_cast<void**>(out), std::move(items), 0);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT FindOneConnectionPoint(ConnectionPoint& point, REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != point.source()) return CONNECT_E_NOCONNECTION;
    point.AddRef();
    *out = &point;
    return S_OK;
}

}  // namespace bk
