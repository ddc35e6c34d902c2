// The registered library serves other apartments: its type library loads from the registry,
// its objects are called through proxies, and event sinks are advised from another apartment.
#include <gtest/gtest.h>

#include <ocidl.h>
#include <olectl.h>


#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

// A single-threaded apartment on a thread of its own: it creates an object of a class by its
// identifier, hands it out marshalled, and serves calls to it until it is stopped.
class ApartmentThread {
public:
    ApartmentThread(const CLSID& clsid, REFIID iid)
        : clsid_(clsid), iid_(iid), ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          thread_(CreateThread(nullptr, 0, &ApartmentThread::Main, this, 0, nullptr)) {
        if (thread_) WaitForSingleObject(ready_.get(), 10000);
    }
    // Stops the apartment. This apartment keeps serving calls while it waits, since the other
    // one may still call back into it (releasing a sink it holds, say).
    ~ApartmentThread() {
        SetEvent(stop_.get());
        if (!thread_) return;
        HANDLE thread = thread_.get();
        while (MsgWaitForMultipleObjects(1, &thread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
    }
    ApartmentThread(const ApartmentThread&) = delete;
    ApartmentThread& operator=(const ApartmentThread&) = delete;

    HRESULT created() const { return created_; }
    // The object as this (the calling) apartment reaches it: a proxy.
    template <class T>
    ComPtr<T> Take(REFIID iid) {
        ComPtr<T> out;
        if (stream_) CoGetInterfaceAndReleaseStream(stream_, iid, out.put_void());
        stream_ = nullptr;
        return out;
    }

private:
    static DWORD WINAPI Main(void* self) {
        static_cast<ApartmentThread*>(self)->Serve();
        return 0;
    }
    void Serve() {
        support::ComApartment apartment;
        {
            ComPtr<IUnknown> object;
            created_ = CoCreateInstance(clsid_, nullptr, CLSCTX_INPROC_SERVER, iid_, object.put_void());
            if (SUCCEEDED(created_)) created_ = CoMarshalInterThreadInterfaceInStream(iid_, object.get(), &stream_);
        }
        SetEvent(ready_.get());
        HANDLE stop = stop_.get();
        while (MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
    }

    CLSID clsid_;
    IID iid_;
    support::UniqueHandle ready_, stop_;
    HRESULT created_ = E_FAIL;
    IStream* stream_ = nullptr;
    support::UniqueHandle thread_;  // last: it starts once the rest is set
};

TEST(Apartments, TheRegisteredTypeLibraryLoads) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_Basekit0308, 1, 0, LOCALE_NEUTRAL, lib.put()));
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(S_OK, lib->GetTypeInfoOfGuid(IID__orxMain, info.put()));
}

TEST(Apartments, CallsAndErrorsCrossThroughProxies) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    ApartmentThread other(CLSID_orxMain, IID__orxMain);
    ASSERT_EQ(S_OK, other.created());
    ComPtr<_orxMain> main = other.Take<_orxMain>(IID__orxMain);
    ASSERT_TRUE(main);

    ComPtr<_CommandLineParser> parser;
    ASSERT_EQ(S_OK, main->CommandLine(parser.put()));
    ASSERT_TRUE(parser);
    LONG count = -1;
    EXPECT_EQ(S_OK, parser->get_Count(&count));
    EXPECT_GE(count, 0);

    // A failing call keeps its run-time error number. (Its text travels only where the
    // platform's channel carries error information; Wine's does not.)
    Bstr item;
    EXPECT_EQ(LastError(parser->get_Item(1000, item.put())).number, 9);

    // Late-bound through the proxy as well.
    Dispatch late(main);
    Variant result;
    EXPECT_EQ(S_OK, late.Method(L"CommandLine", {}, result.get()));
    EXPECT_EQ(V_VT(result.get()), VT_DISPATCH);
}

// A client's event sink: the source dispinterface, served as IDispatch.
class Sink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID___orxTabControl) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return S_OK;
    }
    LONG refs() const { return refs_; }

private:
    LONG refs_ = 1;  // lives on the test's stack
};

TEST(Apartments, EventSinksAreAdvisedFromAnotherApartment) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    ApartmentThread other(CLSID_orxTabControl, IID__orxTabControl);
    ASSERT_EQ(S_OK, other.created());
    ComPtr<_orxTabControl> tabs = other.Take<_orxTabControl>(IID__orxTabControl);
    ASSERT_TRUE(tabs);

    ComPtr<IProvideClassInfo2> classInfo;
    ASSERT_EQ(S_OK, tabs->QueryInterface(IID_IProvideClassInfo2, classInfo.put_void()));
    GUID source{};
    ASSERT_EQ(S_OK, classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source));
    EXPECT_TRUE(source == DIID___orxTabControl);

    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, tabs->QueryInterface(IID_IConnectionPointContainer, container.put_void()));
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID___orxTabControl, point.put()));
    Sink sink;
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(&sink, &cookie));
    EXPECT_NE(cookie, 0u);
    EXPECT_GT(sink.refs(), 1) << "the other apartment holds the sink";

    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    EXPECT_EQ(1, sink.refs()) << "and lets it go";
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
}

}  // namespace
