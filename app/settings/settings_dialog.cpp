#include "app/settings/settings_dialog.h"

#include <commctrl.h>

#include <string>

#include "app/settings/settings.h"
#include "app/settings/settings_store.h"
#include "support/components/appsettings.h"
#include "support/components/colordialog.h"
#include "support/win/dialog_template.h"
#include "support/win/owner.h"
#include "support/win/screen_dpi.h"
#include "support/win/window.h"

namespace metaview {
namespace {

namespace ids = settings_dialog;

// Client area of the dialog, in twips: the controls' extent plus the left margin.
constexpr int kClientWidthTwips = 6015;
constexpr int kClientHeightTwips = 2175;
// Height of a combo box's drop-down list, in twips.
constexpr int kDropDownTwips = 3600;
// Labels reach up to this gap before the boxes, so that a font wider than Tahoma (a substitute
// where Tahoma is missing, large-font settings) shows more of the label instead of wrapping it.
constexpr int kLabelRightTwips = 1740 - 60;

enum class Kind { Label, Combo, ColorButton, Button, DefaultButton };

struct ControlSpec {
    int id;
    Kind kind;
    const wchar_t* text;
    int left, top, width, height;  // twips; a combo's height is that of its open list
};

// In tab order.
constexpr ControlSpec kControls[] = {
    {ids::kTextLanguageLabel, Kind::Label, L"Text language:", 120, 160, 1245, 210},
    {ids::kTextLanguage, Kind::Combo, L"", 1740, 120, 4155, kDropDownTwips},
    {ids::kFileNameCharsetLabel, Kind::Label, L"File name charset:", 120, 580, 1485, 210},
    {ids::kFileNameCharset, Kind::Combo, L"", 1740, 540, 4155, kDropDownTwips},
    {ids::kColorsLabel, Kind::Label, L"Text out colors", 120, 1080, 1260, 210},
    {ids::kForeColor, Kind::ColorButton, L"", 1740, 1020, 1995, 435},
    {ids::kBackColor, Kind::ColorButton, L"", 3840, 1020, 2055, 435},
    {IDOK, Kind::DefaultButton, L"Ok", 3000, 1620, 1395, 435},
    {IDCANCEL, Kind::Button, L"Cancel", 4500, 1620, 1395, 435},
};

std::wstring WindowText(HWND w) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

COLORREF ButtonColor(HWND button) { return static_cast<COLORREF>(GetWindowLongPtrW(button, GWLP_USERDATA)); }

void SetButtonColor(HWND button, COLORREF color) {
    SetWindowLongPtrW(button, GWLP_USERDATA, static_cast<LONG_PTR>(color));
    InvalidateRect(button, nullptr, TRUE);
}

class SettingsDialog : public support::DialogBase {
public:
    explicit SettingsDialog(const support::AppIdentity& app) : app_(app) {}

    // The controls are made at WM_INITDIALOG, measured in pixels from their twips positions.
    bool Run(HWND owner) {
        const support::DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME,
                                             L"Settings", 0, 0, 200, 80);
        return RunModal(owner, dialog.Build(), GetModuleHandleW(nullptr)) == IDOK && committed_;
    }

private:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case WM_INITDIALOG:
            OnLoad();
            return FALSE;  // the focus is set already
        case WM_DRAWITEM:
            DrawColorButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) return FALSE;
            switch (LOWORD(wp)) {
            case IDOK:
                if (ValidateSettings()) {
                    if (!SaveSettings(app_))
                        MessageBoxW(hwnd(), L"The settings can't be saved.", app_.title.c_str(), MB_OK | MB_ICONERROR);
                    EndDialog(hwnd(), IDOK);
                }
                return TRUE;
            case IDCANCEL:
                EndDialog(hwnd(), IDCANCEL);
                return TRUE;
            case ids::kForeColor:
            case ids::kBackColor:
                PickColor(GetDlgItem(hwnd(), LOWORD(wp)));
                return TRUE;
            }
            return FALSE;
        }
        return FALSE;
    }

    void OnLoad() {
        CreateControls();
        Center();
        SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, 0);
        SendMessageW(hwnd(), WM_SETICON, ICON_BIG, 0);
        FillLists();
        ShowValues();
        SetFocus(Item(ids::kTextLanguage));
    }

    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

    void CreateControls() {
        LOGFONTW lf{};
        lf.lfHeight = support::FontHeightForPoints(9);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = RUSSIAN_CHARSET;  // 204
        lf.lfQuality = DEFAULT_QUALITY;
        wcscpy_s(lf.lfFaceName, L"Tahoma");
        font_.reset(CreateFontIndirectW(&lf));
        SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

        const HINSTANCE instance = GetModuleHandleW(nullptr);
        for (const ControlSpec& c : kControls) {
            const wchar_t* cls = L"BUTTON";
            const int width = c.kind == Kind::Label ? kLabelRightTwips - c.left : c.width;
            DWORD style = WS_CHILD | WS_VISIBLE;
            switch (c.kind) {
            case Kind::Label: cls = L"STATIC"; style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX; break;
            case Kind::Combo: cls = L"COMBOBOX"; style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL; break;
            case Kind::ColorButton: style |= WS_TABSTOP | BS_OWNERDRAW; break;
            case Kind::Button: style |= WS_TABSTOP | BS_PUSHBUTTON; break;
            case Kind::DefaultButton: style |= WS_TABSTOP | BS_DEFPUSHBUTTON; break;
            }
            HWND w = CreateWindowExW(0, cls, c.text, style, support::TwipsToPixelsX(c.left),
                                     support::TwipsToPixelsY(c.top), support::TwipsToPixelsX(width),
                                     support::TwipsToPixelsY(c.height), hwnd(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
            if (w) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        }
        AddToolTips();

        RECT r{0, 0, support::TwipsToPixelsX(kClientWidthTwips), support::TwipsToPixelsY(kClientHeightTwips)};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE)));
        SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void AddToolTips() {
        // Owned by the dialog, so it goes with it.
        HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        if (!tips) return;
        const std::pair<int, const wchar_t*> tools[] = {{ids::kForeColor, L" Text color "},
                                                        {ids::kBackColor, L" Background color "}};
        for (const auto& [id, text] : tools) {
            TTTOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V2_SIZE;
            ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            ti.hwnd = hwnd();
            ti.uId = reinterpret_cast<UINT_PTR>(Item(id));
            ti.lpszText = const_cast<wchar_t*>(text);
            SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }

    // Centred on the work area of the monitor that holds the owner (the primary one without
    // an owner).
    void Center() {
        HWND owner = GetWindow(hwnd(), GW_OWNER);
        HMONITOR monitor = owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                                 : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (!GetMonitorInfoW(monitor, &mi)) return;
        RECT w{};
        GetWindowRect(hwnd(), &w);
        const int width = w.right - w.left, height = w.bottom - w.top;
        const RECT& area = mi.rcWork;
        const int x = area.left + ((area.right - area.left) - width) / 2;
        const int y = area.top + ((area.bottom - area.top) - height) / 2;
        SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void FillLists() {
        for (const wchar_t* name : CharsetNames())
            SendMessageW(Item(ids::kFileNameCharset), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        for (const wchar_t* code : LanguageCodes())
            SendMessageW(Item(ids::kTextLanguage), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code));
    }

    // Each value on its own: one that cannot be shown does not keep the others from it.
    void ShowValues() {
        SetWindowTextW(Item(ids::kTextLanguage), g_settings.TextLanguage.c_str());
        SetWindowTextW(Item(ids::kFileNameCharset), g_settings.FileNameCharset.c_str());
        SetButtonColor(Item(ids::kBackColor), g_settings.OutBoxBackColor);
        SetButtonColor(Item(ids::kForeColor), g_settings.OutBoxForeColor);
    }

    void DrawColorButton(const DRAWITEMSTRUCT& d) {
        RECT r = d.rcItem;
        DrawEdge(d.hDC, &r, (d.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        support::GdiObject<HBRUSH> face(CreateSolidBrush(support::ResolveColor(ButtonColor(d.hwndItem))));
        if (face) FillRect(d.hDC, &r, face.get());
        if (d.itemState & ODS_FOCUS) {
            InflateRect(&r, -2, -2);
            DrawFocusRect(d.hDC, &r);
        }
    }

    void PickColor(HWND button) {
        support::ColorDialog picker;
        picker.SetColor(ButtonColor(button));
        picker.SetOwnerWindow(hwnd());
        support::AppSettings store(app_);
        picker.Custom().LoadFromText(store.ReadText(keys::kColorsSection, keys::kCustomColors));
        if (!picker.Show()) return;
        SetButtonColor(button, picker.Color());
        store.WriteText(keys::kColorsSection, keys::kCustomColors, picker.Custom().SaveToText());
    }

    // Trims both entries (shown trimmed from then on), refuses an unusable one with a message
    // and the focus on its box, else commits the four values.
    bool ValidateSettings() {
        HWND language = Item(ids::kTextLanguage), charset = Item(ids::kFileNameCharset);
        const std::wstring languageText = TrimEntry(WindowText(language));
        SetWindowTextW(language, languageText.c_str());
        const std::wstring charsetText = TrimEntry(WindowText(charset));
        SetWindowTextW(charset, charsetText.c_str());

        const EntryCheck check = CheckEntries(languageText, charsetText);
        if (check.field != EntryField::None) {
            MessageBoxW(hwnd(), check.message.c_str(), app_.title.c_str(), MB_OK | MB_ICONERROR);
            HWND box = check.field == EntryField::TextLanguage ? language : charset;
            SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
            SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            return false;
        }
        g_settings.TextLanguage = languageText;
        g_settings.FileNameCharset = charsetText;
        g_settings.OutBoxBackColor = ButtonColor(Item(ids::kBackColor));
        g_settings.OutBoxForeColor = ButtonColor(Item(ids::kForeColor));
        committed_ = true;
        return true;
    }

    const support::AppIdentity& app_;
    support::GdiObject<HFONT> font_;
    bool committed_ = false;
};

}  // namespace

bool ShowSettingsDialog(HWND owner, const support::AppIdentity& app) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    SettingsDialog dialog(app);
    return dialog.Run(owner);
}

}  // namespace metaview
