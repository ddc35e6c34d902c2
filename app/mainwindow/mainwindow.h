// frmMain: Metaview's main window, a resizable top-level window whose client area is one
// read-only, multi-line text box (txtMain). It applies the stored settings and placement, starts
// ExifTool once as it is made, shows the outcome from a one-shot timer, and offers saving the shown text, the settings dialog
// and the help commands. The program ends when it is destroyed.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/exiftool/exiftool_run.h"
#include "app/mainwindow/mainwindow_logic.h"
#include "app/mainwindow/text_search.h"
#include "support/base/status.h"
#include "support/win/owner.h"
#include "support/win/window.h"

namespace metaview {

struct Program;
class ListingView;
class TextBoxHook;

class MainWindow : public support::WindowBase {
public:
    static constexpr wchar_t kClassName[] = L"MetaviewMainWindow";
    static constexpr int kTextBoxId = 1;

    // Starts ExifTool on `program`'s command-line file, then creates and loads the window (still
    // hidden) while it runs: icons, the text box with its hook, the settings, caption, menus and
    // the stored placement. Null when the window cannot be created (GetLastError tells why; the
    // run is then abandoned). `program` outlives the window.
    static std::unique_ptr<MainWindow> Create(Program& program);
    ~MainWindow() override;

    // Shows the window (maximised when it was left so) and starts the one-shot timer that waits
    // for ExifTool's end and shows the outcome.
    void Show(int showCommand);

    // Runs the save dialog; the chosen full file name, or empty text when the user cancels.
    std::wstring GetSaveFileName();
    // Replaces the whole text of the text box, caret at the start, scrolled to the top.
    void ShowMessage(const std::wstring& text);

    // What every message loop of the program does with a message before dispatching it: the
    // Find dialog's keys (Tab, Enter, Esc) and the menus' keyboard accelerators. True when the
    // message was handled here.
    bool PreTranslateMessage(MSG& message);

    // Key preview: a key-down typed into the window or its text box. True when it was used.
    bool KeyDown(unsigned key, KeyModifiers modifiers);
    // Whether the wait cursor is shown over the application (during the ExifTool run).
    bool waitCursor() const { return waitCursor_; }

private:
    explicit MainWindow(Program& program);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCreate();
    void Load();
    void Unload();
    void SaveState();
    void OnCommand(unsigned id);
    void StartRun();
    void OnLoadTimer();

    void ApplySettings(bool colorsOnly);
    void SetMonospacedFont(bool consolasFirst);
    bool TrySetFont(const std::wstring& name, double points);
    void SetSystemFixedPitchFont(double points);
    void SetVersionItem(const std::wstring& caption);
    void RestorePlacement();
    void SavePlacement();
    void SaveOutputText();
    void ShowSaveFailure(const std::wstring& fileName, const support::Status& failure);
    void ShowFailure(const std::wstring& leadIn, const support::Status& failure, const wchar_t* source);
    void ShowAboutBox();
    void SetBusyCursor(bool busy);
    void AskToStopRun();
    void CreateTextBox(bool listingView);

    // Find in the shown text (Edit menu, Ctrl+F, F3, Shift+F3).
    void OpenFindDialog();
    void OnFindMessage(const FINDREPLACEW& request);
    void FindAgain(bool down);
    void Find(bool down);
    void OnInitMenuPopup(HMENU popup);
    // Files dropped on the window: a Metaview of its own for each.
    void OnDropFiles(HDROP drop);
    void StartInstances(const std::vector<std::wstring>& files);

    Program& program_;
    HWND text_ = nullptr;  // txtMain, a child: destroyed with the window
    HMENU menu_ = nullptr;  // the menu bar: destroyed with the window
    support::GdiObject<HFONT> windowFont_;
    support::GdiObject<HFONT> textFont_;
    support::GdiObject<HBRUSH> backBrush_;
    support::Accelerators accelerators_;
    std::unique_ptr<TextBoxHook> hook_;
    COLORREF foreColor_ = 0;
    COLORREF backColor_ = 0;
    int restoredShow_ = 0;        // SW_SHOWMAXIMIZED when the stored placement was maximised
    bool busy_ = false;           // the ExifTool run is active: the window refuses to close
    bool runFinished_ = false;    // save and settings are available
    bool timerStarted_ = false;
    bool waitCursor_ = false;
    bool askingToStop_ = false;   // the stop question is up
    bool closeAfterRun_ = false;  // the user stopped the run to close the window
    support::UniqueHandle runJob_;  // the job ExifTool runs in while the run lasts
    ExifToolRun run_;               // after the job: an abandoned run still ends it on the way out
    std::wstring outputText_;     // what File > Save writes instead of the box, when not empty
    std::wstring shownText_;      // the text in the box
    // A large text is shown in the listing view instead of the system's text box; text_ is then
    // the view's window.
    std::unique_ptr<ListingView> listing_;
    // The modeless Find dialog (owned by the window, gone with it) and the record it works on,
    // which must stay in place while the dialog is up.
    HWND findDialog_ = nullptr;
    FINDREPLACEW findRequest_{};
    wchar_t findWhat_[256] = {};
    SearchOptions findOptions_{};
    UINT findMessage_ = 0;  // the dialog's registered notification message
};

// Runs the program's message loop, with the window's accelerators, until the main window
// posts WM_QUIT; returns its exit code.
int RunMessageLoop(MainWindow& window);

}  // namespace metaview
