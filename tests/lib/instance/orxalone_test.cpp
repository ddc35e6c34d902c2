// orxAlone for real: named mutexes across objects, threads, desktops and processes (a second
// instance is the helper program alone_child.exe), and window marks with each activation.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "lib/instance/instance_names.h"
#include "support/es/user.h"
#include "support/win/owner.h"
#include "tests/harness/library.h"

using namespace bktest;

namespace {

// A GUID of each test's own, so that no test meets another's mutexes or marks.
std::wstring NewGuid() {
    GUID g{};
    CoCreateGuid(&g);
    wchar_t text[64] = {};
    StringFromGUID2(g, text, 64);
    return text;
}

ComPtr<_orxAlone> NewAlone() { return Create<_orxAlone>(CLSID_orxAlone); }

enum class Kind { Plain, Desktop, User };

// A test's answer: 1 alone, 0 not alone, -1 failed (with the HRESULT).
struct Answer {
    int value = -1;
    HRESULT hr = E_FAIL;
};

Answer Ask(_orxAlone* a, Kind kind, const std::wstring& guid) {
    Bstr g(guid);
    VARIANT_BOOL r = VARIANT_FALSE;
    const HRESULT hr = kind == Kind::Plain     ? a->IsAlone(g.get(), &r)
                       : kind == Kind::Desktop ? a->IsAloneOnDesktop(g.get(), &r)
                                               : a->IsAloneAtUser(g.get(), &r);
    return {FAILED(hr) ? -1 : (r == VARIANT_TRUE ? 1 : 0), hr};
}
int TestKind(_orxAlone* a, Kind kind, const std::wstring& guid) { return Ask(a, kind, guid).value; }
int IsAlone(_orxAlone* a, const std::wstring& guid) { return TestKind(a, Kind::Plain, guid); }

std::wstring AppGuidOf(_orxAlone* a) {
    Bstr g;
    a->get_AppGUID(g.put());
    return g.str();
}

// The second instance: alone_child.exe with its standard input and output on pipes.
class Child {
public:
    Child() {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        support::UniqueHandle childIn, childOut;
        if (!CreatePipe(childIn.put(), in_.put(), &inherit, 0) || !CreatePipe(out_.put(), childOut.put(), &inherit, 0))
            return;
        SetHandleInformation(in_.get(), HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(out_.get(), HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = childIn.get();
        si.hStdOutput = childOut.get();
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::wstring command = L"\"" + BinFile(L"alone_child.exe") + L"\"";
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return;
        process_.reset(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    ~Child() { Exit(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return process_.valid(); }

    // Sends one command and returns the reply line ("" after 30 s without one).
    std::string Do(const std::string& command) {
        const std::string line = command + "\n";
        DWORD written = 0;
        if (!in_ || !WriteFile(in_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) return {};
        std::string reply;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 30000;) {
            DWORD available = 0;
            if (!PeekNamedPipe(out_.get(), nullptr, 0, nullptr, &available, nullptr)) return reply;
            if (available == 0) {
                Sleep(5);
                continue;
            }
            char c = 0;
            DWORD got = 0;
            if (!ReadFile(out_.get(), &c, 1, &got, nullptr) || got == 0) return reply;
            if (c == '\n') return reply;
            reply += c;
        }
        return reply;
    }
    std::string Test(const char* kind, const std::wstring& guid) {
        return Do(std::string(kind) + " " + std::string(guid.begin(), guid.end()));
    }

    // Ends the program (its handles go with it) and waits for it.
    void Exit() {
        if (!process_) return;
        in_.reset();  // end of input: the program leaves its loop
        if (WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 1);
        process_.reset();
    }

private:
    support::UniqueHandle in_, out_, process_;
};

// ---- Mutexes ----

TEST(AloneMutex, FirstInstanceAloneSecondNotAcrossProcesses) {
    const std::wstring g = NewGuid();
    Child first;
    ASSERT_TRUE(first.started());
    EXPECT_EQ("1", first.Test("alone", g));
    // Another process, then an object of this one: both see the first instance.
    Child second;
    EXPECT_EQ("0", second.Test("alone", g));
    auto mine = NewAlone();
    EXPECT_EQ(0, IsAlone(mine.get(), g));
    // Another GUID is another program.
    EXPECT_EQ(1, IsAlone(mine.get(), NewGuid()));
}

TEST(AloneMutex, ReleaseRules) {
    const std::wstring g = NewGuid();
    Child first, second;
    ASSERT_EQ("1", first.Test("alone", g));
    ASSERT_EQ("0", second.Test("alone", g));
    // The first instance's object goes; the second still holds a handle, so a new test by
    // anyone else still says no.
    EXPECT_EQ("ok", first.Do("release"));
    auto third = NewAlone();
    EXPECT_EQ(0, IsAlone(third.get(), g));
    // Once the second instance has ended too, the name is free.
    second.Exit();
    EXPECT_EQ(1, IsAlone(third.get(), g));
    // Now this object holds it: the first process, with a new object, is the second instance.
    EXPECT_EQ("0", first.Test("alone", g));
    // Releasing an object frees the name just like ending its process.
    third.reset();
    EXPECT_EQ("ok", first.Do("release"));
    EXPECT_EQ("1", first.Test("alone", g));
}

TEST(AloneMutex, RepeatedTestOnOneObjectStaysAlone) {
    const std::wstring g = NewGuid();
    auto a = NewAlone();
    EXPECT_EQ(1, IsAlone(a.get(), g));
    EXPECT_EQ(1, IsAlone(a.get(), g));
    // The object that got no still holds the name after the first object's second test.
    auto b = NewAlone();
    EXPECT_EQ(0, IsAlone(b.get(), g));
    a.reset();
    auto c = NewAlone();
    EXPECT_EQ(0, IsAlone(c.get(), g));  // ...and c, having got no, holds it as well
    EXPECT_EQ(0, IsAlone(b.get(), g));
    // b's own repeated test closes its old handle first: once c has gone, nobody else holds it.
    c.reset();
    EXPECT_EQ(1, IsAlone(b.get(), g));
}

TEST(AloneMutex, EachKindIsItsOwnName) {
    const std::wstring g = NewGuid();
    auto a = NewAlone();
    ASSERT_EQ(1, TestKind(a.get(), Kind::Plain, g));
    auto b = NewAlone();
    EXPECT_EQ(1, TestKind(b.get(), Kind::Desktop, g));
    EXPECT_EQ(1, TestKind(b.get(), Kind::User, g));
    // ...and an object holds all three at once.
    EXPECT_EQ(1, TestKind(a.get(), Kind::Desktop, NewGuid()));
    EXPECT_EQ(0, TestKind(a.get(), Kind::User, g));
    EXPECT_EQ(0, TestKind(NewAlone().get(), Kind::Plain, g));
}

TEST(AloneMutex, AppGuidIsTheLastTestedGuid) {
    auto a = NewAlone();
    EXPECT_EQ(L"", AppGuidOf(a.get()));
    const std::wstring g1 = NewGuid(), g2 = NewGuid(), g3 = NewGuid();
    IsAlone(a.get(), g1);
    EXPECT_EQ(g1, AppGuidOf(a.get()));
    TestKind(a.get(), Kind::Desktop, g2);
    EXPECT_EQ(g2, AppGuidOf(a.get()));
    TestKind(a.get(), Kind::User, g3);
    EXPECT_EQ(g3, AppGuidOf(a.get()));
}

TEST(AloneMutex, DesktopVariantSeesOnlyItsOwnDesktop) {
    const std::wstring g = NewGuid();
    auto here = NewAlone();
    ASSERT_EQ(1, TestKind(here.get(), Kind::Desktop, g));
    Child child;  // started on this desktop
    EXPECT_EQ("0", child.Test("desktop", g));

    // A thread on another desktop is not on this one.
    support::Owner<support::owner_traits::Pointer<HDESK, CloseDesktop>> other(
        CreateDesktopW((L"bk-alone-" + g.substr(1, 8)).c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr));
    ASSERT_TRUE(other.valid()) << GetLastError();
    int onOther = -2, secondOnOther = -2;
    std::thread([&] {
        if (!SetThreadDesktop(other.get())) return;
        support::ComApartment apartment;
        auto there = NewAlone();
        onOther = TestKind(there.get(), Kind::Desktop, g);
        secondOnOther = TestKind(NewAlone().get(), Kind::Desktop, g);
    }).join();
    EXPECT_EQ(1, onOther);
    EXPECT_EQ(0, secondOnOther);
}

TEST(AloneMutex, UserVariantAcrossProcesses) {
    const std::wstring g = NewGuid();
    std::wstring user;
    ASSERT_TRUE(support::esGetFullUserName(true, true, user));
    auto here = NewAlone();
    ASSERT_EQ(1, TestKind(here.get(), Kind::User, g)) << "user " << testing::PrintToString(user);
    Child child;
    EXPECT_EQ("0", child.Test("user", g));
    // Once this object has gone, the child's own repeated test finds nobody else.
    here.reset();
    EXPECT_EQ("1", child.Test("user", g));
    EXPECT_EQ(0, TestKind(NewAlone().get(), Kind::User, g));
}

TEST(AloneMutex, UserNamesWithABackslashGiveAUsableMutex) {
    // The account's name carries its domain (or the computer's name) and a backslash.
    std::wstring user;
    ASSERT_TRUE(support::esGetFullUserName(true, true, user));
    EXPECT_NE(std::wstring::npos, user.find(L'\\')) << testing::PrintToString(user);

    // The system refuses the plain composition and takes the built name.
    const std::wstring g = NewGuid();
    const std::wstring raw = g + L"_User_DOMAIN\\someone";
    support::Mutex refused(CreateMutexW(nullptr, FALSE, raw.c_str()));
    EXPECT_FALSE(refused.valid());
    const std::wstring built = bk::instance::UserMutexName(g, L"DOMAIN\\someone");
    support::Mutex first(CreateMutexW(nullptr, FALSE, built.c_str()));
    ASSERT_TRUE(first.valid()) << GetLastError();
    support::Mutex second(CreateMutexW(nullptr, FALSE, built.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    // So does a name that had to be shortened.
    const std::wstring longName = bk::instance::UserMutexName(g, std::wstring(300, L'\\'));
    support::Mutex shortened(CreateMutexW(nullptr, FALSE, longName.c_str()));
    EXPECT_TRUE(shortened.valid()) << GetLastError();
}

TEST(AloneMutex, AMutexThatCannotBeMadeIsAnErrorNotAlone) {
    auto a = NewAlone();
    // A name in a namespace folder that does not exist.
    const Answer folder = Ask(a.get(), Kind::Plain, L"no-such-folder\\" + NewGuid());
    EXPECT_EQ(-1, folder.value);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), folder.hr);
    const CallError e = LastError(folder.hr);
    EXPECT_EQ(L"Basekit0308.orxAlone", e.source);
    EXPECT_NE(std::wstring::npos, e.description.find(L"no-such-folder")) << e.description;

    // The name belongs to an object of another kind.
    const std::wstring g = NewGuid();
    support::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, g.c_str()));
    ASSERT_TRUE(event.valid());
    const Answer taken = Ask(a.get(), Kind::Plain, g);
    EXPECT_EQ(-1, taken.value);
    EXPECT_TRUE(FAILED(taken.hr));
    // A failed test leaves the last GUID as it was.
    EXPECT_EQ(L"", AppGuidOf(a.get()));
}

// ---- Window marks and activation ----

UINT ActivationMessage() { return RegisterWindowMessageW(bk::instance::kActivationMessageName.data()); }

// A top-level window of this thread; its answer to the activation message is set per test.
class TestWindow {
public:
    explicit TestWindow(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AloneTestWindow";
        RegisterClassW(&wc);
        window_.reset(CreateWindowExW(0, wc.lpszClassName, L"Alone test", style, 50, 50, 300, 200, nullptr, nullptr,
                                      wc.hInstance, this));
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HWND get() const { return window_.get(); }
    LONG handle() const { return static_cast<LONG>(reinterpret_cast<LONG_PTR>(window_.get())); }

    LRESULT reply = 1;
    int activations = 0;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (self && m == ActivationMessage() && wp == 0 && lp == 0) {
            ++self->activations;
            return self->reply;
        }
        return DefWindowProcW(w, m, wp, lp);
    }
    support::Window window_;
};

bool Mark(_orxAlone* a, LONG window, long method, const std::wstring& guid) {
    Bstr g(guid);
    VARIANT_BOOL r = VARIANT_FALSE;
    return SUCCEEDED(a->MarkPrevInstanceWindowEx(window, static_cast<ActivationMethodConst>(method), g.get(), &r)) &&
           r == VARIANT_TRUE;
}
bool UnMark(_orxAlone* a, LONG window, const std::wstring& guid) {
    Bstr g(guid);
    VARIANT_BOOL r = VARIANT_FALSE;
    return SUCCEEDED(a->UnMarkPrevInstanceWindowEx(window, g.get(), &r)) && r == VARIANT_TRUE;
}
bool Activate(_orxAlone* a, const std::wstring& guid) {
    Bstr g(guid);
    VARIANT_BOOL r = VARIANT_FALSE;
    return SUCCEEDED(a->ActivatePrevInstanceWindowEx(g.get(), &r)) && r == VARIANT_TRUE;
}
LONG_PTR MarkOn(HWND window, const std::wstring& guid) {
    return reinterpret_cast<LONG_PTR>(GetPropW(window, bk::instance::WindowMarkName(guid).c_str()));
}

TEST(AloneMark, TheMarkIsAWindowPropertyHoldingTheMethod) {
    auto a = NewAlone();
    TestWindow w;
    const std::wstring g = NewGuid();
    ASSERT_TRUE(Mark(a.get(), w.handle(), 70, g));
    EXPECT_EQ(70, MarkOn(w.get(), g));
    EXPECT_EQ(L"PrevInstance_" + g + L"_Marker", bk::instance::WindowMarkName(g));
    // Marking again replaces the method.
    ASSERT_TRUE(Mark(a.get(), w.handle(), 71, g));
    EXPECT_EQ(71, MarkOn(w.get(), g));
    EXPECT_TRUE(UnMark(a.get(), w.handle(), g));
    EXPECT_EQ(0, MarkOn(w.get(), g));
    EXPECT_FALSE(UnMark(a.get(), w.handle(), g));  // nothing left to remove
}

TEST(AloneMark, RefusedMarks) {
    auto a = NewAlone();
    TestWindow w;
    const std::wstring g = NewGuid();
    // Methods next to the valid ones.
    EXPECT_FALSE(Mark(a.get(), w.handle(), 68, g));
    EXPECT_FALSE(Mark(a.get(), w.handle(), 72, g));
    EXPECT_EQ(0, MarkOn(w.get(), g));
    // No GUID, no window.
    EXPECT_FALSE(Mark(a.get(), w.handle(), 69, L""));
    EXPECT_FALSE(Mark(a.get(), 0, 69, g));
    EXPECT_FALSE(UnMark(a.get(), 0, g));
    EXPECT_FALSE(UnMark(a.get(), w.handle(), L""));
    // The members without "Ex" use the last tested GUID, and there is none yet.
    VARIANT_BOOL r = VARIANT_TRUE;
    EXPECT_EQ(S_OK, a->MarkPrevInstanceWindow(w.handle(), amNormal, &r));
    EXPECT_EQ(VARIANT_FALSE, r);
    r = VARIANT_TRUE;
    EXPECT_EQ(S_OK, a->UnMarkPrevInstanceWindow(w.handle(), &r));
    EXPECT_EQ(VARIANT_FALSE, r);
    r = VARIANT_TRUE;
    EXPECT_EQ(S_OK, a->ActivatePrevInstanceWindow(&r));
    EXPECT_EQ(VARIANT_FALSE, r);
}

TEST(AloneMark, MembersWithoutExUseTheLastGuid) {
    auto a = NewAlone();
    TestWindow w;
    const std::wstring g = NewGuid();
    ASSERT_EQ(1, IsAlone(a.get(), g));
    VARIANT_BOOL r = VARIANT_FALSE;
    ASSERT_EQ(S_OK, a->MarkPrevInstanceWindow(w.handle(), amViaMessage, &r));
    EXPECT_EQ(VARIANT_TRUE, r);
    EXPECT_EQ(70, MarkOn(w.get(), g));
    r = VARIANT_FALSE;
    ASSERT_EQ(S_OK, a->ActivatePrevInstanceWindow(&r));
    EXPECT_EQ(VARIANT_TRUE, r);
    EXPECT_EQ(1, w.activations);
    r = VARIANT_FALSE;
    ASSERT_EQ(S_OK, a->UnMarkPrevInstanceWindow(w.handle(), &r));
    EXPECT_EQ(VARIANT_TRUE, r);
    EXPECT_EQ(0, MarkOn(w.get(), g));
}

TEST(AloneActivation, NormalRestoresAVisibleWindowAndLeavesAHiddenOne) {
    auto a = NewAlone();
    const std::wstring g = NewGuid();
    TestWindow w;
    ASSERT_TRUE(Mark(a.get(), w.handle(), amNormal, g));
    ShowWindow(w.get(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(w.get()));
    EXPECT_TRUE(Activate(a.get(), g));
    EXPECT_FALSE(IsIconic(w.get()));
    EXPECT_TRUE(IsWindowVisible(w.get()));
    EXPECT_EQ(0, w.activations);  // no message for this method

    ShowWindow(w.get(), SW_HIDE);
    EXPECT_FALSE(Activate(a.get(), g));
    EXPECT_FALSE(IsWindowVisible(w.get()));
}

TEST(AloneActivation, ViaMessageTheWindowsAnswerDecides) {
    auto a = NewAlone();
    const std::wstring g = NewGuid();
    TestWindow w(WS_OVERLAPPEDWINDOW);  // hidden: the window decides what to do with itself
    ASSERT_TRUE(Mark(a.get(), w.handle(), amViaMessage, g));
    EXPECT_TRUE(Activate(a.get(), g));
    EXPECT_EQ(1, w.activations);
    w.reply = 0;
    EXPECT_FALSE(Activate(a.get(), g));
    EXPECT_EQ(2, w.activations);
    EXPECT_FALSE(IsWindowVisible(w.get()));

    LONG message = 0;
    ASSERT_EQ(S_OK, a->get_WM_ACTIVATE_PREV_INSTANCE(&message));
    EXPECT_EQ(static_cast<LONG>(ActivationMessage()), message);
    EXPECT_GE(static_cast<UINT>(message), 0xC000u);  // a registered message
    LONG again = 0;
    NewAlone()->get_WM_ACTIVATE_PREV_INSTANCE(&again);
    EXPECT_EQ(message, again);
}

TEST(AloneActivation, ViaMessageReachesAnotherProcess) {
    const std::wstring g = NewGuid();
    Child child;
    const std::string window = child.Do("window 70 " + std::string(g.begin(), g.end()));
    ASSERT_NE("0", window);
    ASSERT_FALSE(window.empty());
    auto a = NewAlone();
    EXPECT_TRUE(Activate(a.get(), g));
    EXPECT_EQ("1", child.Do("answered"));
}

TEST(AloneActivation, TrayMethodRestoresOnlyAHiddenMinimizedWindow) {
    auto a = NewAlone();
    const std::wstring g = NewGuid();
    TestWindow w;
    ASSERT_TRUE(Mark(a.get(), w.handle(), amNormalWithMinimizeToTrayHook, g));
    // Minimized to the notification area: minimized, then hidden.
    ShowWindow(w.get(), SW_MINIMIZE);
    ShowWindow(w.get(), SW_HIDE);
    ASSERT_TRUE(IsIconic(w.get()));
    EXPECT_TRUE(Activate(a.get(), g));
    EXPECT_FALSE(IsIconic(w.get()));
    EXPECT_TRUE(IsWindowVisible(w.get()));
    // Visible and minimized: brought forward, not restored.
    ShowWindow(w.get(), SW_MINIMIZE);
    EXPECT_TRUE(Activate(a.get(), g));
    EXPECT_TRUE(IsIconic(w.get()));
}

TEST(AloneActivation, NoMarkOrAForeignMarkActivatesNothing) {
    auto a = NewAlone();
    const std::wstring g = NewGuid();
    EXPECT_FALSE(Activate(a.get(), g));
    TestWindow w;
    // A property of that name set by someone else, with a value that is no method.
    SetPropW(w.get(), bk::instance::WindowMarkName(g).c_str(), reinterpret_cast<HANDLE>(68));
    EXPECT_FALSE(Activate(a.get(), g));
    EXPECT_EQ(0, w.activations);
    RemovePropW(w.get(), bk::instance::WindowMarkName(g).c_str());
    // A destroyed window takes its mark with it.
    {
        TestWindow gone;
        ASSERT_TRUE(Mark(a.get(), gone.handle(), amViaMessage, g));
    }
    EXPECT_FALSE(Activate(a.get(), g));
}

TEST(AloneActivation, SearchesOnSeveralThreadsDoNotMeet) {
    // Each thread looks for its own GUID's window at the same time.
    constexpr int kThreads = 4;
    std::atomic<int> found{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            support::ComApartment apartment;
            auto a = NewAlone();
            const std::wstring g = NewGuid();
            TestWindow w(WS_OVERLAPPEDWINDOW);
            if (!Mark(a.get(), w.handle(), amViaMessage, g)) return;
            int mine = 0;
            for (int i = 0; i < 50; ++i) mine += Activate(a.get(), g) ? 1 : 0;
            if (mine == 50 && w.activations == 50) ++found;
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(kThreads, found.load());
}

}  // namespace
