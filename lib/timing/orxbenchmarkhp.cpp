// orxBenchMarkHP: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxBenchMarkHP : public DispatchObject<CorxBenchMarkHP, _orxBenchMarkHP> {
public:
    static constexpr wchar_t kName[] = L"orxBenchMarkHP";

    HRESULT STDMETHODCALLTYPE FirstMark(VARIANT_BOOL) override { return NotBuilt(L"FirstMark"); }
    HRESULT STDMETHODCALLTYPE LastMark() override { return NotBuilt(L"LastMark"); }
    HRESULT STDMETHODCALLTYPE GetTickDifference(double*) override { return NotBuilt(L"GetTickDifference"); }
    HRESULT STDMETHODCALLTYPE GetTickDifferenceMS(double*) override { return NotBuilt(L"GetTickDifferenceMS"); }
    HRESULT STDMETHODCALLTYPE GetTickDifferenceSec(double*) override { return NotBuilt(L"GetTickDifferenceSec"); }
    HRESULT STDMETHODCALLTYPE GetTickFrequencyPerSec(double*) override { return NotBuilt(L"GetTickFrequencyPerSec"); }
    HRESULT STDMETHODCALLTYPE GetTickFrequencyPerMS(double*) override { return NotBuilt(L"GetTickFrequencyPerMS"); }
    HRESULT STDMETHODCALLTYPE toString(LONG, VARIANT_BOOL, VARIANT_BOOL, BSTR*) override { return NotBuilt(L"toString"); }
};

}  // namespace

HRESULT CreateOrxBenchMarkHP(REFIID iid, void** out) { return CorxBenchMarkHP::New(iid, out); }

}  // namespace bk
