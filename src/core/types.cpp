// Run-time error numbers and checked rounding.
#include "core/types.h"

#include <cmath>

namespace varigap {

std::string ErrorDescription(int number) {
    switch (number) {
        case kErrOverflow: return "Overflow";
        case kErrOutOfMemory: return "Out of memory";
        case kErrSubscriptOutOfRange: return "Subscript out of range";
        case kErrTypeMismatch: return "Type mismatch";
        case kErrFileNotFound: return "File not found";
        case kErrDeviceIO: return "Device I/O error";
        case kErrDiskFull: return "Disk full";
        case kErrPermissionDenied: return "Permission denied";
        case kErrPathFileAccess: return "Path/File access error";
        case kErrPathNotFound: return "Path not found";
        default: return "Application-defined or object-defined error";
    }
}

void RaiseError(int number) { throw RunTimeError(number, ErrorDescription(number)); }

Integer RoundToInteger(double v) {
    if (!std::isfinite(v) || v < -32768.5 || v > 32767.5) RaiseError(kErrOverflow);
    double r = std::nearbyint(v);  // default rounding mode: halves to even
    return Integer(static_cast<long long>(r));
}

}  // namespace varigap
