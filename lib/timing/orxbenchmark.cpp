// orxBenchMark: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxBenchMark : public DispatchObject<CorxBenchMark, _orxBenchMark> {
public:
    static constexpr wchar_t kName[] = L"orxBenchMark";

    HRESULT STDMETHODCALLTYPE FirstMark(VARIANT_BOOL) override { return NotBuilt(L"FirstMark"); }
    HRESULT STDMETHODCALLTYPE LastMark() override { return NotBuilt(L"LastMark"); }
    HRESULT STDMETHODCALLTYPE GetTickDifferenceMS(double*) override { return NotBuilt(L"GetTickDifferenceMS"); }
    HRESULT STDMETHODCALLTYPE GetTickDifferenceSec(double*) override { return NotBuilt(L"GetTickDifferenceSec"); }
    HRESULT STDMETHODCALLTYPE toString(LONG, VARIANT_BOOL, VARIANT_BOOL, BSTR*) override { return NotBuilt(L"toString"); }
};

}  // namespace

HRESULT CreateOrxBenchMark(REFIID iid, void** out) { return CorxBenchMark::New(iid, out); }

}  // namespace bk
