#include "lib/about/about_entry.h"

#include <string>

#include "lib/about/about_dialog.h"
#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/latebinding.h"
#include "lib/objectmodel/variants.h"
#include "support/as/icons.h"
#include "support/win/com.h"

namespace bk::about {
namespace {

using support::ComPtr;

// The dialog's failure as the member's error: its own error information when it left one.
HRESULT Shown(std::wstring_view source, const AboutContent& content) {
    const HRESULT hr = RealShowAboutBox(content);
    if (SUCCEEDED(hr)) return S_OK;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        SetErrorInfo(0, info.get());
        return hr;
    }
    return RaiseHResult(source, hr, L"");
}

// Title, Major, Minor and Revision of the caller's application object.
HRESULT ReadAppObject(std::wstring_view source, IDispatch* appObject, AboutContent& content) {
    LateBound app(appObject);
    support::Variant value, converted;
    if (FAILED(app.Get(L"Title", *value.put()))) return RaiseRecord(app.error(), source);
    if (HRESULT hr = ConvertValue(*value.get(), VT_BSTR, *converted.put()); FAILED(hr))
        return RaiseError(source, ErrorNumberOf(hr));
    content.title.assign(support::BstrView(V_BSTR(converted.get())));
    LONG* numbers[] = {&content.major, &content.minor, &content.revision};
    const wchar_t* names[] = {L"Major", L"Minor", L"Revision"};
    for (int i = 0; i < 3; ++i) {
        if (FAILED(app.Get(names[i], *value.put()))) return RaiseRecord(app.error(), source);
        if (HRESULT hr = ConvertValue(*value.get(), VT_I4, *converted.put()); FAILED(hr))
            return RaiseError(source, ErrorNumberOf(hr));
        *numbers[i] = V_I4(converted.get());
    }
    return S_OK;
}

void SetBuiltInTexts(AboutContent& content) {
    content.author = kDefaultAuthor;
    content.email = kDefaultAuthorEMail;
    content.devote = kDefaultDevote;
}

void SetLastThree(AboutContent& content, BSTR description, IPictureDisp* picture, BSTR pictureToolTip) {
    content.description.assign(support::BstrView(description));
    content.picture = ComPtr<IPictureDisp>::Share(picture);
    content.pictureToolTip.assign(support::BstrView(pictureToolTip));
}

// A string default of the type library reaches the member as the reader's ANSI code page
// decodes its Windows-1251 bytes: right under a Cyrillic code page, garbled under others.
// The dedication's default, garbled so, is the default all the same.
std::wstring DedicationOrDefault(std::wstring_view given) {
    const std::wstring_view wanted = kDefaultDevote;
    if (given == wanted || GetACP() == 1251) return std::wstring(given);
    const int n = WideCharToMultiByte(1251, 0, wanted.data(), static_cast<int>(wanted.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(1251, 0, wanted.data(), static_cast<int>(wanted.size()), bytes.data(), n, nullptr, nullptr);
    const int m = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
    std::wstring garbled(static_cast<size_t>(m), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, garbled.data(), m);
    return given == garbled ? std::wstring(wanted) : std::wstring(given);
}

}  // namespace

HRESULT ShowMSAboutBox(IDispatch* control) {
    // Each step on its own: a control without a Parent or an AboutBox still gets the others.
    LateBound c(control);
    support::Variant parent;
    LateBound form;
    if (SUCCEEDED(c.Get(L"Parent", *parent.put())) && V_VT(parent.get()) == VT_DISPATCH)
        form = LateBound(V_DISPATCH(parent.get()));
    if (form.valid()) form.Put(L"Enabled", *support::Variant::FromBool(false).get());
    c.Call(L"AboutBox");
    if (form.valid()) {
        form.Put(L"Enabled", *support::Variant::FromBool(true).get());
        form.Call(L"SetFocus");
    }
    SetErrorInfo(0, nullptr);
    return S_OK;
}

HRESULT ShowAboutBox(std::wstring_view source, IDispatch* form, IDispatch* appObject, BSTR description,
                     IPictureDisp* picture, BSTR pictureToolTip) {
    AboutContent content;
    // The form's window icons, when it has a window with icons.
    LateBound f(form);
    support::Variant handle, number;
    if (SUCCEEDED(f.Get(L"hWnd", *handle.put())) && SUCCEEDED(ConvertValue(*handle.get(), VT_I4, *number.put()))) {
        HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(V_I4(number.get())));
        support::asGetWindowIconSmall(window, content.smallIcon.put());
        support::asGetWindowIcon(window, content.icon.put());
    }
    if (HRESULT hr = ReadAppObject(source, appObject, content); FAILED(hr)) return hr;
    SetBuiltInTexts(content);
    SetLastThree(content, description, picture, pictureToolTip);
    return Shown(source, content);
}

HRESULT ShowAboutBox2(std::wstring_view source, IPictureDisp* icon, IPictureDisp* iconSmall, IDispatch* appObject,
                      BSTR description, IPictureDisp* picture, BSTR pictureToolTip) {
    AboutContent content;
    content.icon = ComPtr<IPictureDisp>::Share(icon);
    content.smallIcon = ComPtr<IPictureDisp>::Share(iconSmall ? iconSmall : icon);
    if (HRESULT hr = ReadAppObject(source, appObject, content); FAILED(hr)) return hr;
    SetBuiltInTexts(content);
    SetLastThree(content, description, picture, pictureToolTip);
    return Shown(source, content);
}

HRESULT ShowAboutBoxEx(std::wstring_view source, BSTR title, IPictureDisp* icon, IPictureDisp* smallIcon, LONG major,
                       LONG minor, LONG revision, BSTR author, BSTR email, BSTR devote, BSTR description,
                       IPictureDisp* picture, BSTR pictureToolTip) {
    AboutContent content;
    content.title.assign(support::BstrView(title));
    content.icon = ComPtr<IPictureDisp>::Share(icon);
    content.smallIcon = ComPtr<IPictureDisp>::Share(smallIcon);
    content.major = major;
    content.minor = minor;
    content.revision = revision;
    content.author.assign(support::BstrView(author));
    content.email.assign(support::BstrView(email));
    content.devote = DedicationOrDefault(support::BstrView(devote));
    SetLastThree(content, description, picture, pictureToolTip);
    return Shown(source, content);
}

}  // namespace bk::about
