// QuickTime's types and error codes as the utility passes them, and the
// codes of the failures of finding and binding QuickTime's library.
#pragma once

#include <cstdint>

namespace quicktime {

using OSErr = std::int16_t;  // 0 is success
using OSType = std::uint32_t;
using ComponentResult = std::int32_t;

struct ComponentInstanceRecord;
using ComponentInstance = ComponentInstanceRecord*;

// The parameter block of a component call.
struct ComponentParameters {
    std::uint8_t flags;
    std::uint8_t paramSize;  // bytes of parameters
    std::int16_t what;       // the component's routine
    std::int32_t params[1];
};
static_assert(sizeof(ComponentParameters) == 8, "ComponentParameters layout");

constexpr OSErr QT_ERR_NOT_BOUND = -2095;      // QuickTime's library is not loaded and bound
constexpr OSErr QT_ERR_ENTRY_MISSING = -2094;  // the library lacks an entry point
constexpr OSErr QT_ERR_LOAD_FAILED = -2093;    // the library was not found or did not load

// QuickTime's four-character codes hold the first character in the high byte.
constexpr OSType MakeOSType(const char (&s)[5]) {
    return (OSType(std::uint8_t(s[0])) << 24) | (OSType(std::uint8_t(s[1])) << 16) |
           (OSType(std::uint8_t(s[2])) << 8) | OSType(std::uint8_t(s[3]));
}

}  // namespace quicktime
