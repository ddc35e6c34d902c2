// orxTextBoxDefButtonWatcher: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxTextBoxDefButtonWatcher : public DispatchObject<CorxTextBoxDefButtonWatcher, _orxTextBoxDefButtonWatcher> {
public:
    static constexpr wchar_t kName[] = L"orxTextBoxDefButtonWatcher";

    HRESULT STDMETHODCALLTYPE Init(IDispatch*, IDispatch*, IDispatch*) override { return NotBuilt(L"Init"); }
};

}  // namespace

HRESULT CreateOrxTextBoxDefButtonWatcher(REFIID iid, void** out) { return CorxTextBoxDefButtonWatcher::New(iid, out); }

}  // namespace bk
