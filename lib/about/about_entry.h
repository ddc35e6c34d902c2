// orxMain's About box members: where the title, icons and version come from before the
// dialog is shown (about_dialog.h).
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string_view>

namespace bk::about {

// The built-in author lines, used when a caller gives none.
inline constexpr std::wstring_view kDefaultAuthor = L"Andrey Kovalev";
inline constexpr std::wstring_view kDefaultAuthorEMail = L"akovalev@orvex.example";
inline constexpr std::wstring_view kDefaultDevote = L"Посвящается Lumen";

// Each returns S_OK or a failure with the thread's error information set (source
// `source`), for the member to hand on.
HRESULT ShowMSAboutBox(IDispatch* control);
HRESULT ShowAboutBox(std::wstring_view source, IDispatch* form, IDispatch* appObject, BSTR description,
                     IPictureDisp* picture, BSTR pictureToolTip);
HRESULT ShowAboutBox2(std::wstring_view source, IPictureDisp* icon, IPictureDisp* iconSmall, IDispatch* appObject,
                      BSTR description, IPictureDisp* picture, BSTR pictureToolTip);
HRESULT ShowAboutBoxEx(std::wstring_view source, BSTR title, IPictureDisp* icon, IPictureDisp* smallIcon, LONG major,
                       LONG minor, LONG revision, BSTR author, BSTR email, BSTR devote, BSTR description,
                       IPictureDisp* picture, BSTR pictureToolTip);

}  // namespace bk::about
