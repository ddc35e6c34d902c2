// Outgoing events of a class with a source interface (orxTabControl): the connection point,
// advising and unadvising sinks, enumerating them, and the class information that names it.
#include <gtest/gtest.h>

#include <ocidl.h>
#include <olectl.h>

#include "tests/harness/library.h"

using namespace bktest;

namespace {

// A sink of the source dispinterface; `refs` shows whether the connection holds it.
class Sink : public IDispatch {
public:
    explicit Sink(bool speaksSource = true) : speaksSource_(speaksSource) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || (speaksSource_ && iid == DIID___orxTabControl)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return S_OK;
    }
    long refs = 1;  // lives on the test's stack

private:
    bool speaksSource_;
};

TEST(Events, SinksAreAdvisedEnumeratedAndUnadvised) {
    auto tabs = Create<_orxTabControl>(CLSID_orxTabControl);
    ASSERT_TRUE(tabs);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, tabs->QueryInterface(IID_IConnectionPointContainer, container.put_void()));
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IDispatch, point.put()));
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID___orxTabControl, point.put()));
    IID iid{};
    ASSERT_EQ(S_OK, point->GetConnectionInterface(&iid));
    EXPECT_TRUE(iid == DIID___orxTabControl);
    ComPtr<IConnectionPointContainer> back;
    ASSERT_EQ(S_OK, point->GetConnectionPointContainer(back.put()));
    EXPECT_EQ(back.get(), container.get());

    Sink first, second, stranger(false);
    DWORD one = 0, two = 0, none = 1;
    ASSERT_EQ(S_OK, point->Advise(&first, &one));
    ASSERT_EQ(S_OK, point->Advise(&second, &two));
    EXPECT_NE(one, two);
    EXPECT_EQ(CONNECT_E_CANNOTCONNECT, point->Advise(&stranger, &none)) << "a sink must speak the source interface";
    EXPECT_EQ(0u, none);
    EXPECT_EQ(1, stranger.refs);

    ComPtr<IEnumConnections> connections;
    ASSERT_EQ(S_OK, point->EnumConnections(connections.put()));
    CONNECTDATA data[3]{};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, connections->Next(3, data, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(one, data[0].dwCookie);
    EXPECT_EQ(two, data[1].dwCookie);
    for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();
    connections.reset();

    EXPECT_EQ(S_OK, point->Unadvise(one));
    EXPECT_EQ(1, first.refs) << "an unadvised sink is let go";
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(one));
    // The object lets go of its remaining sinks when it goes.
    point.reset();
    back.reset();
    container.reset();
    tabs.reset();
    EXPECT_EQ(1, second.refs);
}

TEST(Events, ClassInformationNamesTheSourceInterface) {
    auto tabs = Create<_orxTabControl>(CLSID_orxTabControl);
    ASSERT_TRUE(tabs);
    ComPtr<IProvideClassInfo2> info;
    ASSERT_EQ(S_OK, tabs->QueryInterface(IID_IProvideClassInfo2, info.put_void()));
    ComPtr<IProvideClassInfo> plain;
    EXPECT_EQ(S_OK, tabs->QueryInterface(IID_IProvideClassInfo, plain.put_void()));
    GUID source{};
    ASSERT_EQ(S_OK, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source));
    EXPECT_TRUE(source == DIID___orxTabControl);
    EXPECT_EQ(E_INVALIDARG, info->GetGUID(12345, &source));

    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, info->GetClassInfo(coclass.put()));
    const support::TypeAttr attr = support::GetTypeAttr(coclass.get());
    ASSERT_TRUE(attr);
    EXPECT_EQ(TKIND_COCLASS, attr.get().desc->typekind);
    EXPECT_TRUE(attr.get().desc->guid == CLSID_orxTabControl);
}

}  // namespace
