// orxBenchMark: a stopwatch on the system's millisecond tick count.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"
#include "lib/timing/stopwatch.h"
#include "lib/timing/system_clock.h"

namespace bk {
namespace {

class CorxBenchMark : public DispatchObject<CorxBenchMark, _orxBenchMark> {
public:
    static constexpr wchar_t kName[] = L"orxBenchMark";

    HRESULT STDMETHODCALLTYPE FirstMark(VARIANT_BOOL doBeep) override {
        watch_.FirstMark(doBeep != VARIANT_FALSE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE LastMark() override {
        watch_.LastMark();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTickDifferenceMS(double* result) override {
        if (!result) return E_POINTER;
        *result = watch_.DifferenceMs();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTickDifferenceSec(double* result) override {
        if (!result) return E_POINTER;
        *result = watch_.DifferenceSec();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE toString(LONG iterations, VARIANT_BOOL integerValues, VARIANT_BOOL useSeconds,
                                       BSTR* result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        return Guard([&] {
            const bool seconds = useSeconds != VARIANT_FALSE;
            const double total = seconds ? watch_.DifferenceSec() : watch_.DifferenceMs();
            const auto text = StopwatchReport(total, iterations, integerValues != VARIANT_FALSE, seconds);
            if (!text) return Raise(kErrOverflow);
            return support::AllocBstr(*text, result);
        });
    }

private:
    TickStopwatch watch_{SystemStopwatchClock()};
};

}  // namespace

HRESULT CreateOrxBenchMark(REFIID iid, void** out) { return CorxBenchMark::New(iid, out); }

}  // namespace bk
