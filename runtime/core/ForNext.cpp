// ForNext: the overflow test that ends a FOR loop before its counter would
// leave the type's range. Direction 1 counts up, -1 down; any other value
// answers false (the compiled loop then relies on its own end test).
#include <velbra/NumClasses.h>

#include <cfloat>
#include <cstdint>

namespace morka {

bool __exit_for_next__(CInt16 step, CInt16 counter, CInt32 direction) {
    // The limit is computed in int and clamped to 16 bits before comparing.
    if (direction.iValue == 1) {
        CInt16 limit = b_I(b_I(32767 - static_cast<int>(step)));
        return counter.iValue > limit.iValue;
    }
    if (direction.iValue == -1) {
        CInt16 limit = b_I(b_I(-32768 - static_cast<int>(step)));
        return counter.iValue < limit.iValue;
    }
    return false;
}

bool __exit_for_next__(CInt32 step, CInt32 counter, CInt32 direction) {
    int64_t iStep = step.iValue;
    if (direction.iValue == 1) return counter.iValue > INT64_C(2147483647) - iStep;
    if (direction.iValue == -1) return counter.iValue < INT64_C(-2147483648) - iStep;
    return false;
}

bool __exit_for_next__(CDfp step, CDfp counter, CInt32 direction) {
    dfp_t xMax = static_cast<dfp_t>(DBL_MAX);
    if (direction.iValue == 1) return counter.xValue > xMax - step.xValue;
    if (direction.iValue == -1) return counter.xValue < -xMax - step.xValue;
    return false;
}

}  // namespace morka
