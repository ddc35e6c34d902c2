// The one table of the library's creatable and global classes. It drives the class
// factories (DllGetClassObject), registration and unregistration.
#pragma once

#include <windows.h>

#include <span>

namespace bk {

using CreateFunction = HRESULT (*)(REFIID iid, void** out);

struct ClassEntry {
    const CLSID* clsid;
    const wchar_t* name;  // the class name; the programmatic id is "Basekit0308." + name
    CreateFunction create;
};

std::span<const ClassEntry> ClassTable();

// Creation functions of the classes, one per class file.
HRESULT CreateOrxMain(REFIID iid, void** out);
HRESULT CreateOrxAlone(REFIID iid, void** out);
HRESULT CreateOrxBenchMark(REFIID iid, void** out);
HRESULT CreateOrxSimpleListDialog(REFIID iid, void** out);
HRESULT CreateOrxBenchMarkHP(REFIID iid, void** out);
HRESULT CreateOrxTextBoxDefButtonWatcher(REFIID iid, void** out);
HRESULT CreateOrxTabControl(REFIID iid, void** out);
HRESULT CreateOrxAutorunSupport(REFIID iid, void** out);
HRESULT CreateOrxClipboard(REFIID iid, void** out);
HRESULT CreateOrxErr(REFIID iid, void** out);
HRESULT CreateOrxMultiMonitor(REFIID iid, void** out);

}  // namespace bk
