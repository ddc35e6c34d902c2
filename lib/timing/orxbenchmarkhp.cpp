// orxBenchMarkHP: a stopwatch on the high-resolution performance counter.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"
#include "lib/timing/stopwatch.h"
#include "lib/timing/system_clock.h"

namespace bk {
namespace {

class CorxBenchMarkHP : public DispatchObject<CorxBenchMarkHP, _orxBenchMarkHP> {
public:
    static constexpr wchar_t kName[] = L"orxBenchMarkHP";

    HRESULT STDMETHODCALLTYPE FirstMark(VARIANT_BOOL doBeep) override {
        watch_.FirstMark(doBeep != VARIANT_FALSE);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE LastMark() override {
        watch_.LastMark();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTickDifference(double* result) override {
        if (!result) return E_POINTER;
        *result = watch_.Difference();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTickDifferenceMS(double* result) override {
        return PutTime(result, watch_.DifferenceMs());
    }
    HRESULT STDMETHODCALLTYPE GetTickDifferenceSec(double* result) override {
        return PutTime(result, watch_.DifferenceSec());
    }
    HRESULT STDMETHODCALLTYPE GetTickFrequencyPerSec(double* result) override {
        if (!result) return E_POINTER;
        *result = watch_.FrequencyPerSec();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTickFrequencyPerMS(double* result) override {
        if (!result) return E_POINTER;
        *result = watch_.FrequencyPerMs();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE toString(LONG iterations, VARIANT_BOOL integerValues, VARIANT_BOOL useSeconds,
                                       BSTR* result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        return Guard([&] {
            const bool seconds = useSeconds != VARIANT_FALSE;
            const auto total = seconds ? watch_.DifferenceSec() : watch_.DifferenceMs();
            if (!total) return Raise(kErrDivisionByZero);
            const auto text = StopwatchReport(*total, iterations, integerValues != VARIANT_FALSE, seconds);
            if (!text) return Raise(kErrOverflow);
            return support::AllocBstr(*text, result);
        });
    }

private:
    // A time in milliseconds or seconds. On a host without the counter the frequency is 0,
    // and the caller gets the division-by-zero error that dividing by it stands for.
    static HRESULT PutTime(double* result, std::optional<double> time) {
        if (!result) return E_POINTER;
        *result = 0;
        if (!time) return Raise(kErrDivisionByZero);
        *result = *time;
        return S_OK;
    }

    CounterStopwatch watch_{SystemStopwatchClock()};
};

}  // namespace

HRESULT CreateOrxBenchMarkHP(REFIID iid, void** out) { return CorxBenchMarkHP::New(iid, out); }

}  // namespace bk
