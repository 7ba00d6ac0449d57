#include "core/fp_guard.h"

#include <cfenv>

namespace zelkon {

FpFaultGuard::FpFaultGuard() { ClearFlags(); }

void FpFaultGuard::ClearFlags() {
    std::feclearexcept(FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID | FE_UNDERFLOW | FE_INEXACT);
}

std::int32_t FpFaultGuard::FaultCode() const {
    if (std::fetestexcept(FE_DIVBYZERO)) return ErrorDivideByZero;
    if (std::fetestexcept(FE_OVERFLOW)) return ErrorOverflow;
    if (std::fetestexcept(FE_INVALID)) return ErrorInvalidOperation;
    return 0;
}

}  // namespace zelkon
