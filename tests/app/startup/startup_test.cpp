// The start-up's reach into the system: the program's icon and owner window, and the library's
// classes bound early (registered, or from the DLL beside the program).
#include <gtest/gtest.h>

#include "app/startup/libraryclasses.h"
#include "support/as/icons.h"
#include "support/es/application.h"
#include "tests/harness/library.h"

namespace metaview {
namespace {

using bktest::BinFile;
using support::ComPtr;

// Width of an icon's colour bitmap.
int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    support::GdiObject<HBITMAP> color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    return bitmap.bmWidth;
}

TEST(ProgramIcon, WindowsGetBothSizesOfTheIconResource) {
    const support::Module metaview(LoadLibraryExW(BinFile(L"Metaview.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(metaview);
    const support::Window window(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);

    ASSERT_TRUE(support::asSetWindowResIconAll(window.get(), L"A_MAIN", metaview.get()));
    auto icon = [&](WPARAM which) { return reinterpret_cast<HICON>(SendMessageW(window.get(), WM_GETICON, which, 0)); };
    EXPECT_EQ(IconWidth(icon(ICON_BIG)), GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconWidth(icon(ICON_SMALL)), GetSystemMetrics(SM_CXSMICON));
    EXPECT_FALSE(support::asSetWindowResIconAll(window.get(), L"NO_SUCH_ICON", metaview.get()));
}

TEST(ProgramIcon, OwnerWindowIsOneHiddenTopLevelWindow) {
    HWND owner = support::esGetThunderMainHandle();
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(support::esGetThunderMainHandle(), owner);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_EQ(GetAncestor(owner, GA_PARENT), GetDesktopWindow());
    // This test program has no version resource: the title is its base name.
    EXPECT_EQ(support::esGetThunderMainTitle(), L"app_startup_test");
}

// A class factory registered for this process: it stands for a registered library and counts
// the objects made through it.
class CountingFactory : public IClassFactory {
public:
    explicit CountingFactory(ComPtr<IClassFactory> inner) : inner_(std::move(inner)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        ++created;
        return inner_->CreateInstance(outer, iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override { return inner_->LockServer(lock); }
    int created = 0;

private:
    ComPtr<IClassFactory> inner_;
    ULONG refs_ = 1;
};

TEST(LibraryClasses, UnregisteredClassesComeFromTheDllBesideTheProgram) {
    LibraryClasses library;
    ComPtr<_orxMain> first, second;
    ASSERT_EQ(library.OrxMain(first), S_OK);
    EXPECT_TRUE(library.usedLocalLibrary());
    ASSERT_EQ(library.OrxMain(second), S_OK);
    EXPECT_EQ(first.get(), second.get());  // one orxMain for the run

    ComPtr<_CommandLineParser> parser;
    ASSERT_EQ(first->CommandLine(parser.put()), S_OK);
    LONG count = -1;
    EXPECT_EQ(parser->get_Count(&count), S_OK);

    ComPtr<IUnknown> unknown;
    const CLSID noSuchClass = {0x1b2c3d4e, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};
    EXPECT_TRUE(FAILED(library.Create(noSuchClass, IID_IUnknown, unknown.put_void())));
    EXPECT_FALSE(unknown);
}

TEST(LibraryClasses, RegisteredClassesComeThroughCom) {
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(bktest::Library(), "DllGetClassObject")));
    ASSERT_NE(get, nullptr);
    ComPtr<IClassFactory> inner;
    ASSERT_EQ(get(CLSID_orxMain, IID_IClassFactory, inner.put_void()), S_OK);
    CountingFactory factory(inner);
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_orxMain, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    {
        LibraryClasses library;
        ComPtr<_orxMain> main;
        EXPECT_EQ(library.OrxMain(main), S_OK);
        EXPECT_TRUE(main);
        EXPECT_EQ(factory.created, 1);
        EXPECT_FALSE(library.usedLocalLibrary());
    }
    CoRevokeClassObject(cookie);
}

}  // namespace
}  // namespace metaview
