// The list dialog's window: a sizable tool window with the list and a label under it, shown
// modally without owner.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bk::listdialog {

struct ListWindowRequest {
    const std::vector<std::wstring>* entries = nullptr;  // shown in this order
    std::wstring caption;
    bool showCount = true;
    HFONT font = nullptr;  // of the list and the label; the system's when null
};

// Shows the window and returns when it has been closed. False when it could not be made.
bool ShowListWindow(const ListWindowRequest& request);

// The control ids of the list and the label, for the window's own tests.
inline constexpr int kListId = 1001;
inline constexpr int kLabelId = 1002;

}  // namespace bk::listdialog
