#include "app/settings/settings_dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/settings/settings.h"
#include "app/settings/settings_store.h"
#include "support/appsettings.h"
#include "support/colordialog.h"
#include "support/raii.h"

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

int TwipsToPixels(int twips, int pixelsPerInch) { return MulDiv(twips, pixelsPerInch, 1440); }

struct ScreenDpi {
    int x = 96, y = 96;
    ScreenDpi() {
        if (HDC dc = GetDC(nullptr)) {
            x = GetDeviceCaps(dc, LOGPIXELSX);
            y = GetDeviceCaps(dc, LOGPIXELSY);
            ReleaseDC(nullptr, dc);
        }
    }
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

// An empty dialog template: the controls are made at WM_INITDIALOG, measured in pixels from
// their twips positions.
std::vector<WORD> DialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* t = reinterpret_cast<DLGTEMPLATE*>(words.data());
    t->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    t->dwExtendedStyle = WS_EX_DLGMODALFRAME;
    t->cx = 200;
    t->cy = 80;
    words.push_back(0);  // no menu
    words.push_back(0);  // standard dialog class
    for (const wchar_t* c = L"Settings"; *c; ++c) words.push_back(static_cast<WORD>(*c));
    words.push_back(0);
    return words;
}

class SettingsDialog {
public:
    explicit SettingsDialog(const support::AppIdentity& app) : app_(app) {}

    bool Run(HWND owner) {
        const std::vector<WORD> tmpl = DialogTemplate();
        const INT_PTR result =
            DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()),
                                    owner, &SettingsDialog::Proc, reinterpret_cast<LPARAM>(this));
        return result == IDOK && committed_;
    }

private:
    static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(dlg, DWLP_USER));
        if (msg == WM_INITDIALOG) {
            self = reinterpret_cast<SettingsDialog*>(lp);
            SetWindowLongPtrW(dlg, DWLP_USER, lp);
            self->dlg_ = dlg;
        }
        if (!self) return FALSE;
        try {
            return self->Handle(msg, wp, lp);
        } catch (...) {
            // Nothing may leave a dialog procedure; a failure while loading closes the dialog.
            if (msg == WM_INITDIALOG) EndDialog(dlg, IDABORT);
            return FALSE;
        }
    }

    INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp) {
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
                        MessageBoxW(dlg_, L"The settings can't be saved.", app_.title.c_str(), MB_OK | MB_ICONERROR);
                    EndDialog(dlg_, IDOK);
                }
                return TRUE;
            case IDCANCEL:
                EndDialog(dlg_, IDCANCEL);
                return TRUE;
            case ids::kForeColor:
            case ids::kBackColor:
                PickColor(GetDlgItem(dlg_, LOWORD(wp)));
                return TRUE;
            }
            return FALSE;
        }
        return FALSE;
    }

    void OnLoad() {
        CreateControls();
        Center();
        SendMessageW(dlg_, WM_SETICON, ICON_SMALL, 0);
        SendMessageW(dlg_, WM_SETICON, ICON_BIG, 0);
        FillLists();
        ShowValues();
        SetFocus(Item(ids::kTextLanguage));
    }

    HWND Item(int id) const { return GetDlgItem(dlg_, id); }

    void CreateControls() {
        const ScreenDpi dpi;
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(9, dpi.y, 72);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = RUSSIAN_CHARSET;  // 204
        lf.lfQuality = DEFAULT_QUALITY;
        wcscpy_s(lf.lfFaceName, L"Tahoma");
        font_.reset(CreateFontIndirectW(&lf));
        SendMessageW(dlg_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

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
            HWND w = CreateWindowExW(0, cls, c.text, style, TwipsToPixels(c.left, dpi.x), TwipsToPixels(c.top, dpi.y),
                                     TwipsToPixels(width, dpi.x), TwipsToPixels(c.height, dpi.y), dlg_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
            if (w) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        }
        AddToolTips();

        RECT r{0, 0, TwipsToPixels(kClientWidthTwips, dpi.x), TwipsToPixels(kClientHeightTwips, dpi.y)};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(dlg_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dlg_, GWL_EXSTYLE)));
        SetWindowPos(dlg_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void AddToolTips() {
        // Owned by the dialog, so it goes with it.
        HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dlg_, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        if (!tips) return;
        const std::pair<int, const wchar_t*> tools[] = {{ids::kForeColor, L" Text color "},
                                                        {ids::kBackColor, L" Background color "}};
        for (const auto& [id, text] : tools) {
            TTTOOLINFOW ti{};
            ti.cbSize = TTTOOLINFOW_V2_SIZE;
            ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            ti.hwnd = dlg_;
            ti.uId = reinterpret_cast<UINT_PTR>(Item(id));
            ti.lpszText = const_cast<wchar_t*>(text);
            SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }

    // Centred on the work area of the monitor that holds the owner (the primary one without
    // an owner).
    void Center() {
        HWND owner = GetWindow(dlg_, GW_OWNER);
        HMONITOR monitor = owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                                 : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (!GetMonitorInfoW(monitor, &mi)) return;
        RECT w{};
        GetWindowRect(dlg_, &w);
        const int width = w.right - w.left, height = w.bottom - w.top;
        const RECT& area = mi.rcWork;
        const int x = area.left + ((area.right - area.left) - width) / 2;
        const int y = area.top + ((area.bottom - area.top) - height) / 2;
        SetWindowPos(dlg_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
        picker.SetOwnerWindow(dlg_);
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
            MessageBoxW(dlg_, check.message.c_str(), app_.title.c_str(), MB_OK | MB_ICONERROR);
            HWND box = check.field == EntryField::TextLanguage ? language : charset;
            SendMessageW(dlg_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
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
    HWND dlg_ = nullptr;
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
