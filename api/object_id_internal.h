// What the identifier builders share.
#pragma once

#include <cstdint>

namespace objectid {

constexpr uint8_t kMaxControllers = 16;

// A number below `limit`, or 255 (none).
constexpr bool InRangeOrNone(uint8_t number, unsigned limit) {
    return number < limit || number == 0xFF;
}

}  // namespace objectid
