#include "app/mainwindow/mainwindow.h"

#include <commctrl.h>
#include <dlgs.h>

#include <exception>

#include "app/exiftool/exiftool_run.h"
#include "app/mainwindow/listing_view.h"
#include "app/settings/settings.h"
#include "app/settings/settings_dialog.h"
#include "app/settings/settings_store.h"
#include "app/startup/startup.h"
#include "app/version/appwindowtitle.h"
#include "app/version/formatversion.h"
#include "app/mainwindow/app_object.h"
#include "lib/forms/window_object.h"
#include "lib/objectmodel/errorobject.h"
#include "support/es/readme.h"
#include "support/as/icons.h"
#include "support/es/application.h"
#include "support/components/appsettings.h"
#include "support/components/colordialog.h"
#include "support/components/filedialog.h"
#include "support/es/msgbox.h"
#include "support/es/paths.h"
#include "support/es/screen.h"
#include "support/win/screen_dpi.h"
#include "support/win/system_message.h"
#include "support/components/textfile.h"

namespace metaview {
namespace {

KeyModifiers CurrentModifiers() {
    return {(GetKeyState(VK_SHIFT) & 0x8000) != 0, (GetKeyState(VK_CONTROL) & 0x8000) != 0,
            (GetKeyState(VK_MENU) & 0x8000) != 0};
}

// A failed call of the library as a status: its HRESULT (a run-time error's number where it
// stands for one) and the description it left.
support::Status CallFailure(HRESULT hr) {
    std::wstring description;
    support::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        support::Bstr text;
        if (SUCCEEDED(info->GetDescription(text.put()))) description = text.str();
    }
    return support::Status{static_cast<std::int32_t>(support::ErrorNumberOf(hr)), description};
}

}  // namespace

// csTBSelectAllHook, with the window's key preview: the text box's key-downs go to the main
// window first, then Ctrl+A selects the whole text. Detached when it goes.
class TextBoxHook : public support::Subclass {
public:
    TextBoxHook(HWND box, MainWindow& owner) : owner_(owner) { Attach(box); }
    bool hooked() const { return attached(); }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_KEYDOWN: {
            const KeyModifiers modifiers = CurrentModifiers();
            const unsigned key = static_cast<unsigned>(wParam);
            owner_.KeyDown(key, modifiers);  // the key still reaches the box
            if (keys_.OnKeyDown(key, modifiers)) {
                SendMessageW(hwnd(), EM_SETSEL, 0, -1);
                return 0;
            }
            break;
        }
        case WM_CHAR:
            if (keys_.OnChar(static_cast<wchar_t>(wParam))) return 0;
            break;
        case WM_SETCURSOR:
            if (owner_.waitCursor()) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        default:
            break;
        }
        return DefaultHandling(message, wParam, lParam);
    }

    MainWindow& owner_;
    SelectAllKeys keys_;
};

namespace {

constexpr UINT_PTR kLoadTimer = 1;

// Appends a timing mark to the file named by the timing variable, when that is set; see
// TimingMarkLine. Failures are ignored: the mark is for benchmarks only.
void RecordTimingMark(std::string_view name) {
    wchar_t path[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(kTimingMarkVariable, path, ARRAYSIZE(path));
    if (length == 0 || length >= ARRAYSIZE(path)) return;
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    const std::string line =
        TimingMarkLine(name, (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    support::UniqueHandle file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return;
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// The folder of the file as a full path (the command line may name it relative to the
// current folder); empty when the path cannot be resolved.
std::wstring ViewedFileFolder(const std::wstring& fileName) {
    if (fileName.empty()) return {};
    const DWORD needed = GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(fileName.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    std::wstring folder = support::esGetFilePath(full);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // "C:" alone would be C's current folder
    return folder;
}

// Default client area: 8820 x 6885 twips.
constexpr int kClientWidthTwips = 8820;
constexpr int kClientHeightTwips = 6885;
constexpr wchar_t kSaveFilter[] = L"Text files|*.TXT|All files|*.*";

// The outer size of a window whose client area is the default size, centred on the work area
// of the primary monitor.
RECT DefaultPlacement(DWORD style, DWORD exStyle, bool withMenu) {
    RECT r{0, 0, support::TwipsToPixelsX(kClientWidthTwips), support::TwipsToPixelsY(kClientHeightTwips)};
    AdjustWindowRectEx(&r, style, withMenu, exStyle);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int left = work.left + ((work.right - work.left) - width) / 2;
    const int top = work.top + ((work.bottom - work.top) - height) / 2;
    return RECT{left, top, left + width, top + height};
}

// Hands a popup menu over to the bar; the popup stays with its owner when that fails.
void AppendPopup(HMENU bar, support::Menu& popup, const wchar_t* caption) {
    if (popup && AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), caption)) popup.detach();
}

// The menu bar: File, Tools, the version item, Help. Items start as the window has them at
// load; the version item gets its text from ApplySettings. The caller owns the bar.
support::Menu BuildMenuBar() {
    support::Menu bar(CreateMenu());
    if (!bar) return bar;
    support::Menu file(CreatePopupMenu());
    if (file) {
        AppendMenuW(file.get(), MF_STRING | MF_GRAYED, menu::kSave, L"Save output text as...\tF2");
        AppendMenuW(file.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuW(file.get(), MF_STRING, menu::kExit, L"Exit\tCtrl+Q");
    }
    AppendPopup(bar.get(), file, L"File");
    support::Menu edit(CreatePopupMenu());
    if (edit) {
        // Copy and Select All are the text box's own keys; the menu names them.
        AppendMenuW(edit.get(), MF_STRING, menu::kCopy, L"Copy\tCtrl+C");
        AppendMenuW(edit.get(), MF_STRING, menu::kSelectAll, L"Select All\tCtrl+A");
        AppendMenuW(edit.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuW(edit.get(), MF_STRING, menu::kFind, L"Find...\tCtrl+F");
        AppendMenuW(edit.get(), MF_STRING, menu::kFindNext, L"Find Next\tF3");
        AppendMenuW(edit.get(), MF_STRING, menu::kFindPrevious, L"Find Previous\tShift+F3");
    }
    AppendPopup(bar.get(), edit, L"Edit");
    support::Menu tools(CreatePopupMenu());
    if (tools) AppendMenuW(tools.get(), MF_STRING | MF_GRAYED, menu::kSettings, L"Settings...");
    AppendPopup(bar.get(), tools, L"Tools");
    AppendMenuW(bar.get(), MF_STRING | MF_GRAYED, menu::kVersion, L"...");
    support::Menu help(CreatePopupMenu());
    if (help) {
        AppendMenuW(help.get(), MF_STRING, menu::kHelpContents, L"Contents...\tF1");
        AppendMenuW(help.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuW(help.get(), MF_STRING, menu::kAbout, L"About...\tShift+F1");
    }
    AppendPopup(bar.get(), help, L"Help");
    return bar;
}

// The position of the menu bar item with command id `id`, or -1.
int MenuBarPosition(HMENU bar, UINT id) {
    const int count = GetMenuItemCount(bar);
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(bar, i) == id) return i;
    return -1;
}

// esSetMenuJustify: the menu bar items from `position` on sit at the right end of the bar
// (the flag on the first of them moves it and all that follow).
void SetMenuJustify(HWND window, int position) {
    HMENU bar = GetMenu(window);
    if (!bar || position < 0) return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoW(bar, static_cast<UINT>(position), TRUE, &item)) return;
    item.fType |= MFT_RIGHTJUSTIFY;
    SetMenuItemInfoW(bar, static_cast<UINT>(position), TRUE, &item);
    DrawMenuBar(window);
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(Program& program) {
    WNDCLASSEXW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterWindowClass(wc)) return nullptr;
    std::unique_ptr<MainWindow> self(new MainWindow(program));
    // ExifTool starts first: making and showing the window takes about as long as a Wine process
    // needs to start, and the two overlap.
    LoadSettings(program.identity);
    self->StartRun();
    constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    // WS_EX_ACCEPTFILES: files dropped from the shell come as WM_DROPFILES (what
    // DragAcceptFiles sets, without loading the shell at start).
    constexpr DWORD exStyle = WS_EX_APPWINDOW | WS_EX_ACCEPTFILES;
    const RECT r = DefaultPlacement(style, exStyle, true);
    if (!self->CreateOwnWindow(exStyle, kClassName, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               nullptr, nullptr, nullptr))
        return nullptr;
    self->Load();
    return self;
}

MainWindow::MainWindow(Program& program) : program_(program), findMessage_(RegisterWindowMessageW(FINDMSGSTRINGW)) {}

MainWindow::~MainWindow() { hook_.reset(); }

void MainWindow::Show(int showCommand) {
    if (restoredShow_ == SW_SHOWMAXIMIZED && (showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT))
        showCommand = SW_SHOWMAXIMIZED;
    ShowWindow(hwnd(), showCommand);
    UpdateWindow(hwnd());
    if (!timerStarted_) timerStarted_ = SetTimer(hwnd(), kLoadTimer, 1, nullptr) != 0;
    RecordTimingMark("window-shown");
}

void MainWindow::ShowMessage(const std::wstring& text) {
    shownText_ = text;
    const bool large = IsLargeListing(shownText_);
    if (text_ && large != (listing_ != nullptr)) CreateTextBox(large);
    if (!text_) return;
    // Under Wine the system's text box redraws its scroll bar at once on every change, which
    // costs several times the change itself (about 10 ms each time): hidden for the moment of
    // the change, the box is drawn once afterwards. The keyboard focus stays where it was.
    const bool hideForChange = !listing_ && IsWindowVisible(text_);
    const bool hadFocus = GetFocus() == text_;
    if (hideForChange) ShowWindow(text_, SW_HIDE);
    if (listing_)
        listing_->SetText(shownText_);
    else
        SetWindowTextW(text_, shownText_.c_str());
    SendMessageW(text_, EM_SETSEL, 0, 0);
    SendMessageW(text_, EM_SCROLLCARET, 0, 0);
    SendMessageW(text_, WM_VSCROLL, SB_TOP, 0);
    if (hideForChange) {
        ShowWindow(text_, SW_SHOWNA);
        if (hadFocus) SetFocus(text_);
    }
}

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (findDialog_ && IsDialogMessageW(findDialog_, &message)) return true;
    HWND window = hwnd();
    if (!window || !accelerators_) return false;
    if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
    return TranslateAcceleratorW(window, accelerators_.get(), &message) != 0;
}

bool MainWindow::KeyDown(unsigned key, KeyModifiers modifiers) {
    switch (MainWindowKeyAction(key, modifiers)) {
    case KeyAction::Close:
        // Posted: the key may come from inside the text box, which closing destroys.
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        return true;
    case KeyAction::HelpContents:
        // The result is ignored: a missing help document is the installation's concern.
        support::esOpenReadMeFile(0);
        return false;  // the key still reaches the text box
    case KeyAction::AboutBox:
        ShowAboutBox();
        return false;
    case KeyAction::None:
        break;
    }
    return false;
}

// Load, the part that needs the window's children: icons, fonts, text box, hook, menus.
void MainWindow::OnCreate() {
    support::asSetWindowResIconAll(hwnd(), L"A_MAIN");
    // The window's font: Tahoma 9 pt with the Cyrillic character set.
    windowFont_.reset(CreateFontW(support::FontHeightForPoints(9), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    support::Menu bar = BuildMenuBar();
    if (bar && SetMenu(hwnd(), bar.get())) menu_ = bar.detach();  // the window destroys it from now on
    ACCEL keys[] = {
        {FVIRTKEY, VK_F2, static_cast<WORD>(menu::kSave)},
        {FVIRTKEY | FCONTROL, 'Q', static_cast<WORD>(menu::kExit)},
        {FVIRTKEY | FCONTROL, 'F', static_cast<WORD>(menu::kFind)},
        {FVIRTKEY, VK_F3, static_cast<WORD>(menu::kFindNext)},
        {FVIRTKEY | FSHIFT, VK_F3, static_cast<WORD>(menu::kFindPrevious)},
    };
    accelerators_.reset(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));

    CreateTextBox(false);
}

// txtMain, in place of the one there was (same font, size and focus): the system's text box,
// or the listing view for a large text.
void MainWindow::CreateTextBox(bool listingView) {
    HFONT font = text_ ? reinterpret_cast<HFONT>(SendMessageW(text_, WM_GETFONT, 0, 0)) : windowFont_.get();
    const bool focused = text_ && GetFocus() == text_;
    hook_.reset();
    if (text_) DestroyWindow(text_);
    text_ = nullptr;
    listing_.reset();
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (listingView) {
        listing_ = ListingView::Create(hwnd(), kTextBoxId, client);
        if (listing_) text_ = listing_->hwnd();
    } else {
        text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                                    ES_AUTOVSCROLL | ES_NOHIDESEL,
                                0, 0, client.right, client.bottom, hwnd(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextBoxId)), GetModuleHandleW(nullptr),
                                nullptr);
        if (text_) SendMessageW(text_, EM_SETLIMITTEXT, 0, 0);  // no 30,000-character limit
    }
    if (!text_) return;
    if (font) SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    hook_ = std::make_unique<TextBoxHook>(text_, *this);
    if (focused) SetFocus(text_);
}

// Load, the part that follows creation: settings, colours, font, caption, placement.
void MainWindow::Load() {
    ApplySettings(false);
    RestorePlacement();
}

void MainWindow::Unload() {
    SaveState();
    hook_.reset();
}

// What the window keeps for the next start: its placement and the settings.
void MainWindow::SaveState() {
    SavePlacement();
    SaveSettings(program_.identity);
}

// Each step on its own: one that cannot be applied leaves the others in place.
void MainWindow::ApplySettings(bool colorsOnly) {
    foreColor_ = support::ResolveColor(g_settings.OutBoxForeColor);
    backColor_ = support::ResolveColor(g_settings.OutBoxBackColor);
    if (HBRUSH brush = CreateSolidBrush(backColor_)) backBrush_.reset(brush);
    if (text_) InvalidateRect(text_, nullptr, TRUE);
    if (colorsOnly) return;

    SetMonospacedFont(false);
    SetWindowTextW(hwnd(),
                   MakeWindowTitle(program_.identity.title, L"", L"", program_.commandLineFileName, L"Untitled", true,
                                   true)
                       .c_str());
    SetVersionItem(FormatVersionMenuCaption(program_.identity));
    // From the version item on: File, Edit and Tools stay at the left.
    SetMenuJustify(hwnd(), MenuBarPosition(menu_, menu::kVersion));
}

void MainWindow::SetMonospacedFont(bool consolasFirst) {
    const auto list = MonospacedFontList(consolasFirst);
    if (!ApplyFirstAvailableFont(list, [this](const FontChoice& font) { return TrySetFont(font.name, font.points); }))
        SetSystemFixedPitchFont(list.back().points);
}

// None of the preferred faces is installed: the column-aligned listing still needs a
// fixed-pitch face, so take the one the system's font mapper offers, if it really is one.
void MainWindow::SetSystemFixedPitchFont(double points) {
    if (!text_) return;
    LOGFONTW wanted{};
    wanted.lfHeight = support::FontHeightForPoints(points);
    wanted.lfWeight = FW_NORMAL;
    wanted.lfCharSet = RUSSIAN_CHARSET;
    wanted.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    support::GdiObject<HFONT> font(CreateFontIndirectW(&wanted));
    if (!font) return;
    TEXTMETRICW metrics{};
    bool fixed = false;
    if (const support::WindowDC dc = support::GetWindowDC(text_)) {
        const support::SelectedObject selected = support::Select(dc.get().dc, font.get());
        // TMPF_FIXED_PITCH set means a variable pitch (the name says the opposite).
        fixed = GetTextMetricsW(dc.get().dc, &metrics) && !(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH);
    }
    if (!fixed) return;
    SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    textFont_ = std::move(font);
}

bool MainWindow::TrySetFont(const std::wstring& name, double points) {
    if (!text_ || name.size() >= LF_FACESIZE) return false;
    LOGFONTW wanted{};
    wanted.lfHeight = support::FontHeightForPoints(points);
    wanted.lfWeight = FW_NORMAL;
    wanted.lfCharSet = RUSSIAN_CHARSET;
    wanted.lfOutPrecision = OUT_DEFAULT_PRECIS;
    wanted.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    wanted.lfQuality = DEFAULT_QUALITY;
    wanted.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    name.copy(wanted.lfFaceName, name.size());
    support::GdiObject<HFONT> font(CreateFontIndirectW(&wanted));
    if (!font) return false;

    wchar_t face[LF_FACESIZE] = {};
    if (const support::WindowDC dc = support::GetWindowDC(text_)) {
        const support::SelectedObject selected = support::Select(dc.get().dc, font.get());
        GetTextFaceW(dc.get().dc, LF_FACESIZE, face);
    }
    if (!IsSameFace(name, face)) return false;  // the system put another face in its place
    SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    textFont_ = std::move(font);  // the box's previous font of ours goes now, no longer in use
    return true;
}

void MainWindow::SetVersionItem(const std::wstring& caption) {
    if (!menu_) return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    SetMenuItemInfoW(menu_, menu::kVersion, FALSE, &item);
    DrawMenuBar(hwnd());
}

void MainWindow::RestorePlacement() {
    support::AppSettings store(program_.identity);
    int show = SW_SHOWNORMAL;
    if (store.RestoreWindowPlacement(keys::kPlacementSection, keys::kWindowPlacement, hwnd(), &show))
        restoredShow_ = show;
    else
        support::esCenterFormEx(hwnd(), 0);
}

void MainWindow::SavePlacement() {
    support::AppSettings store(program_.identity);
    store.SaveWindowPlacement(keys::kPlacementSection, keys::kWindowPlacement, hwnd());
}

std::wstring MainWindow::GetSaveFileName() {
    support::FileDialog dialog;
    dialog.SetFilter(kSaveFilter);
    dialog.SetFlags(0);
    // A name typed without an extension becomes a .txt file.
    dialog.SetDefaultExtension(L"txt");
    dialog.SetOwnerWindow(GetActiveWindow());
    support::AppSettings store(program_.identity);
    std::wstring folder = store.ReadText(keys::kOfnPathsSection, keys::kLastTxtDirectory, L"");
    // Nothing stored yet: the viewed file's folder, not wherever the program was started.
    if (folder.empty()) folder = ViewedFileFolder(program_.commandLineFileName);
    dialog.SetInitialDirectory(folder);
    if (!dialog.ShowSave()) return {};
    const std::wstring fileName = dialog.FileName();
    store.WriteText(keys::kOfnPathsSection, keys::kLastTxtDirectory, support::esGetFilePath(fileName));
    return fileName;
}

void MainWindow::SaveOutputText() {
    const std::wstring fileName = GetSaveFileName();
    if (fileName.empty()) return;
    const support::Status saved = support::TextFileIO::WriteTextFile(fileName, TextToSave(outputText_, shownText_));
    if (saved.failed()) ShowSaveFailure(fileName, saved);
}

// The library's About box with this window's icons, the program's title and version (through
// an application object of the program's), no description, the library's picture and the
// tool-tip "Lumen". Modal: returns when the box is closed, also while ExifTool runs.
void MainWindow::ShowAboutBox() {
    support::ComPtr<_orxMain> library;
    HRESULT hr = program_.library.OrxMain(library);
    if (SUCCEEDED(hr)) {
        support::ComPtr<IDispatch> form;
        hr = bk::CreateWindowObject(hwnd(), form.put());
        support::ComPtr<IDispatch> app = CreateAppObject(program_.identity);
        if (SUCCEEDED(hr) && !app) hr = E_OUTOFMEMORY;
        if (SUCCEEDED(hr)) {
            const support::Bstr description(L""), tip(L"Lumen");
            hr = library->ShowAboutBox(form.get(), app.get(), description.get(), nullptr, tip.get());
        }
    }
    if (FAILED(hr)) ShowFailure(AboutFailureText(program_.commandLineFileName), CallFailure(hr), L"orxMain");
}

// Through the library's error display; when the library cannot be reached, a plain message
// box with the same texts, so the failure is never silent.
void MainWindow::ShowSaveFailure(const std::wstring& fileName, const support::Status& failure) {
    ShowFailure(SaveFailureText(fileName), failure, L"TextFileIO");
}

void MainWindow::ShowFailure(const std::wstring& leadIn, const support::Status& failure, const wchar_t* source) {
    support::ComPtr<_orxErr> errors;
    if (SUCCEEDED(program_.library.OrxErr(errors))) {
        const long number = static_cast<long>(failure.code);
        ErrObject* raw = nullptr;
        if (SUCCEEDED(bk::CreateErrorObject(support::ErrorRecord{number, failure.description, source, {}, 0},
                                            &raw))) {
            support::Bstr title(L"");
            support::Bstr text(leadIn);
            VARIANT_BOOL silent = VARIANT_FALSE;
            VbMsgBoxResult result{};
            BSTR textRaw = text.detach();
            const HRESULT hr = errors->ErrorDisplay(&raw, vbCritical, title.get(), &textRaw, &silent, &result);
            text = support::Bstr::Attach(textRaw);
            support::ComPtr<ErrObject> object = support::ComPtr<ErrObject>::Attach(raw);  // [in, out]: ours again
            if (SUCCEEDED(hr)) return;
        }
    }
    support::esMsgBoxEx(leadIn + L"\r\n\r\n" + failure.description, MB_ICONERROR, L"", L"");
}

void MainWindow::SetBusyCursor(bool busy) {
    waitCursor_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

// The window is closed while ExifTool runs: the user decides whether to stop it. Stopping ends
// ExifTool with all it started; the run then reports its end as for any failed run, and the
// window closes once the run is over.
void MainWindow::AskToStopRun() {
    if (askingToStop_ || closeAfterRun_) return;
    askingToStop_ = true;
    const int answer = MessageBoxW(hwnd(), StopExifToolQuestion(program_.commandLineFileName).c_str(),
                                   program_.identity.title.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    askingToStop_ = false;
    if (answer != IDYES) return;
    closeAfterRun_ = true;
    if (busy_ && runJob_) TerminateJobObject(runJob_.get(), kStoppedExitCode);
}

void MainWindow::StartRun() {
    // ExifTool and whatever it starts run in a job of their own: stopping the run ends them all,
    // and nothing of them outlives the run.
    runJob_.reset(CreateJobObjectW(nullptr, nullptr));
    if (runJob_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(runJob_.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }
    ExifToolHost host;
    host.SetBusyCursor = [this](bool wait) { SetBusyCursor(wait); };
    host.Job = runJob_.get();
    host.PreTranslateMessage = [this](MSG& message) { return PreTranslateMessage(message); };
    const ExifToolSettings settings{g_settings.TextLanguage, g_settings.FileNameCharset};
    run_.Start(program_.commandLineFileName, settings, host);
}

void MainWindow::OnLoadTimer() {
    KillTimer(hwnd(), kLoadTimer);
    if (busy_ || runFinished_) return;
    busy_ = true;
    support::ComPtr<_orxErr> errors;
    program_.library.OrxErr(errors);  // without it the reports use the system's own texts
    run_.Finish(outputText_, [this](const std::wstring& text) { ShowMessage(text); }, errors.get());
    if (text_) UpdateWindow(text_);  // the result is painted now, not after the menu changes below
    RecordTimingMark("result-shown");
    runJob_.reset();
    busy_ = false;
    runFinished_ = true;
    if (closeAfterRun_) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    if (menu_) {
        EnableMenuItem(menu_, menu::kSave, MF_BYCOMMAND | MF_ENABLED);
        EnableMenuItem(menu_, menu::kSettings, MF_BYCOMMAND | MF_ENABLED);
        DrawMenuBar(hwnd());
    }
}

// The system's modeless Find dialog, owned by the window; the selected text, when it is a
// short part of one line, becomes the term. Open already: it comes to the front.
void MainWindow::OpenFindDialog() {
    if (findDialog_) {
        ShowWindow(findDialog_, SW_SHOW);
        SetActiveWindow(findDialog_);
        SetFocus(GetDlgItem(findDialog_, edt1));
        return;
    }
    if (text_) {
        DWORD start = 0, end = 0;
        SendMessageW(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const std::wstring term = SearchTermFromSelection(shownText_, start, end, std::size(findWhat_) - 1);
        if (!term.empty()) {
            term.copy(findWhat_, term.size());
            findWhat_[term.size()] = L'\0';
        }
    }
    findRequest_ = FINDREPLACEW{};
    findRequest_.lStructSize = sizeof(findRequest_);
    findRequest_.hwndOwner = hwnd();
    findRequest_.lpstrFindWhat = findWhat_;
    findRequest_.wFindWhatLen = static_cast<WORD>(std::size(findWhat_));
    findRequest_.Flags = (findOptions_.down ? FR_DOWN : 0) | (findOptions_.matchCase ? FR_MATCHCASE : 0) |
                         (findOptions_.wholeWord ? FR_WHOLEWORD : 0);
    findDialog_ = FindTextW(&findRequest_);
}

void MainWindow::OnFindMessage(const FINDREPLACEW& request) {
    if (request.Flags & FR_DIALOGTERM) {
        findDialog_ = nullptr;
        return;
    }
    if (!(request.Flags & FR_FINDNEXT)) return;
    findWhat_[std::size(findWhat_) - 1] = L'\0';
    findOptions_.down = (request.Flags & FR_DOWN) != 0;
    findOptions_.matchCase = (request.Flags & FR_MATCHCASE) != 0;
    findOptions_.wholeWord = (request.Flags & FR_WHOLEWORD) != 0;
    Find(findOptions_.down);
}

// F3 and Shift+F3: the next or previous match of the last term; without one, the dialog asks
// for it.
void MainWindow::FindAgain(bool down) {
    if (findWhat_[0] == L'\0') {
        OpenFindDialog();
        return;
    }
    Find(down);
}

// Selects the match after (or before) the selection and scrolls it into view; no match:
// Cannot find "term", over the Find dialog when it is up.
void MainWindow::Find(bool down) {
    if (!text_) return;
    DWORD start = 0, end = 0;
    SendMessageW(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SearchOptions options = findOptions_;
    options.down = down;
    const std::wstring term(findWhat_);
    if (const auto match = FindInText(shownText_, term, start, end, options)) {
        SendMessageW(text_, EM_SETSEL, match->start, static_cast<LPARAM>(match->end));
        SendMessageW(text_, EM_SCROLLCARET, 0, 0);
        return;
    }
    HWND owner = findDialog_ && IsWindowVisible(findDialog_) ? findDialog_ : hwnd();
    MessageBoxW(owner, CannotFindMessage(term).c_str(), GetAppTitle(program_.identity.title, L"", L"").c_str(),
                MB_OK | MB_ICONINFORMATION);
}

// The Edit menu as it opens: Copy with a selection only, Select All with a text.
void MainWindow::OnInitMenuPopup(HMENU popup) {
    if (!popup || GetMenuState(popup, menu::kCopy, MF_BYCOMMAND) == static_cast<UINT>(-1)) return;
    DWORD start = 0, end = 0;
    if (text_) SendMessageW(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EnableMenuItem(popup, menu::kCopy, MF_BYCOMMAND | (start != end ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(popup, menu::kSelectAll, MF_BYCOMMAND | (!shownText_.empty() ? MF_ENABLED : MF_GRAYED));
}

// Each dropped file (or folder) gets a Metaview of its own: the rule stays one file, one run,
// one window. Beyond a handful the user is asked first.
void MainWindow::OnDropFiles(HDROP drop) {
    if (!drop) return;
    std::vector<std::wstring> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring name(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(std::min(copied, length));
        if (!name.empty()) files.push_back(std::move(name));
    }
    DragFinish(drop);  // the shell's memory goes back before any question is asked
    if (files.size() > kDropWithoutAsking &&
        MessageBoxW(hwnd(), ManyFilesQuestion(files.size()).c_str(),
                    GetAppTitle(program_.identity.title, L"", L"").c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    StartInstances(files);
}

void MainWindow::StartInstances(const std::vector<std::wstring>& files) {
    std::wstring exe = program_.instanceExe;
    if (exe.empty()) {
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (length == 0) break;
            if (length < path.size()) {
                path.resize(length);
                exe = path;
                break;
            }
            path.resize(path.size() * 2);
        }
    }
    for (const std::wstring& file : files) {
        std::wstring commandLine = InstanceCommandLine(exe, file);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        if (!exe.empty() && CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                           nullptr, &startup, &started)) {
            CloseHandle(started.hThread);
            CloseHandle(started.hProcess);
            continue;
        }
        const DWORD error = exe.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
        ShowFailure(StartFailureText(file),
                    support::Status{support::CodeFromSystemError(error), support::FormatSystemMessage(error)},
                    L"Metaview");
        return;  // one report is enough: the others would fail alike
    }
}

void MainWindow::OnCommand(unsigned id) {
    switch (id) {
    case menu::kSave:
        if (runFinished_ && !busy_) SaveOutputText();
        break;
    case menu::kExit:
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        break;
    case menu::kSettings:
        if (runFinished_ && !busy_) {
            ShowSettingsDialog(hwnd(), program_.identity);
            ApplySettings(true);  // the ExifTool options count from the next start
        }
        break;
    case menu::kHelpContents:
        KeyDown(kKeyF1, KeyModifiers{});
        break;
    case menu::kCopy:
        if (text_) SendMessageW(text_, WM_COPY, 0, 0);
        break;
    case menu::kSelectAll:
        if (text_) SendMessageW(text_, EM_SETSEL, 0, -1);
        break;
    case menu::kFind:
        OpenFindDialog();
        break;
    case menu::kFindNext:
        FindAgain(true);
        break;
    case menu::kFindPrevious:
        FindAgain(false);
        break;
    case menu::kAbout:
        KeyDown(kKeyF1, KeyModifiers{true, false, false});
        break;
    default:
        break;
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == findMessage_ && findMessage_ != 0) {
        // Only the dialog's own record is taken: the pointer is the one handed to FindTextW.
        if (reinterpret_cast<const FINDREPLACEW*>(lParam) == &findRequest_) OnFindMessage(findRequest_);
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_SIZE:
        // A minimised window keeps the box's size: nothing is laid out again for no width.
        if (text_ && wParam != SIZE_MINIMIZED) MoveWindow(text_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (text_) SetFocus(text_);
        return 0;
    case WM_KEYDOWN:
        if (KeyDown(static_cast<unsigned>(wParam), CurrentModifiers())) return 0;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) OnCommand(LOWORD(wParam));  // menu or accelerator
        return 0;
    case WM_TIMER:
        if (wParam == kLoadTimer) {
            OnLoadTimer();
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:  // a read-only edit control asks with this one
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == text_ && backBrush_) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, foreColor_);
            SetBkColor(dc, backColor_);
            return reinterpret_cast<LRESULT>(backBrush_.get());
        }
        break;
    case WM_SETCURSOR:
        if (waitCursor_) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        if (busy_) {
            AskToStopRun();
            return 0;
        }
        DestroyWindow(hwnd());
        return 0;
    case WM_QUERYENDSESSION:
        return busy_ ? FALSE : TRUE;
    case WM_ENDSESSION:
        // The session ends: the process may be ended without the window ever being destroyed,
        // so what unloading would write is written now.
        if (wParam) SaveState();
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kLoadTimer);
        try {
            Unload();
        } catch (...) {
            // Settings that cannot be written must not keep the program from ending.
        }
        text_ = nullptr;
        menu_ = nullptr;
        findDialog_ = nullptr;  // owned by the window: destroyed with it
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

int RunMessageLoop(MainWindow& window) {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (window.PreTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace metaview
