#include "lib/objectmodel/classtable.h"

#include "Basekit0308.h"

namespace bk {

std::span<const ClassEntry> ClassTable() {
    static const ClassEntry table[] = {
        {&CLSID_orxMain, L"orxMain", CreateOrxMain},
        {&CLSID_orxAlone, L"orxAlone", CreateOrxAlone},
        {&CLSID_orxBenchMark, L"orxBenchMark", CreateOrxBenchMark},
        {&CLSID_orxSimpleListDialog, L"orxSimpleListDialog", CreateOrxSimpleListDialog},
        {&CLSID_orxBenchMarkHP, L"orxBenchMarkHP", CreateOrxBenchMarkHP},
        {&CLSID_orxTextBoxDefButtonWatcher, L"orxTextBoxDefButtonWatcher", CreateOrxTextBoxDefButtonWatcher},
        {&CLSID_orxTabControl, L"orxTabControl", CreateOrxTabControl},
        {&CLSID_orxAutorunSupport, L"orxAutorunSupport", CreateOrxAutorunSupport},
        {&CLSID_orxClipboard, L"orxClipboard", CreateOrxClipboard},
        {&CLSID_orxErr, L"orxErr", CreateOrxErr},
        {&CLSID_orxMultiMonitor, L"orxMultiMonitor", CreateOrxMultiMonitor},
    };
    return table;
}

}  // namespace bk
