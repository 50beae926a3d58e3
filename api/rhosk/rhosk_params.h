// Small helpers over the newer family's parameter access that the query
// and settings operations share: the controller and table of an object id,
// values widened from their parameter size, trimmed texts, and writes of a
// value in its parameter size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/object_id.h"
#include "api/rhosk/param_tables.h"

namespace rhosk {

// The controller id every request of an object goes to.
inline ObjectId ControllerOf(const ObjectId& id) {
    return id.controllerId();
}
// The object tables of a drive or port (byte 2) and of a unit (byte 4).
inline uint16_t DriveTableOf(const ObjectId& id) {
    return rhosk_tables::DriveTable(id[ObjectId::kNumber]);
}
inline uint16_t UnitTableOf(const ObjectId& id) {
    return rhosk_tables::UnitTable(id[ObjectId::kUnit]);
}

// Reads a little-endian unsigned value of `size` bytes (1 to 8), zero-
// extended. On failure *value is untouched.
[[nodiscard]] int32_t ReadValue(const ObjectId& id, uint16_t table, uint16_t parameter,
                                int32_t size, uint64_t* value);

// ReadValue into a narrower result.
template <typename T>
[[nodiscard]] int32_t ReadInto(const ObjectId& id, uint16_t table, uint16_t parameter, int32_t size,
                               T* out) {
    uint64_t value = 0;
    if (ReadValue(id, table, parameter, size, &value) != 0)
        return -1;
    *out = static_cast<T>(value);
    return 0;
}

// Reads a one-byte setting straight into the caller's byte (a read that
// fails once the device is open leaves it zero).
[[nodiscard]] int32_t ReadByte(const ObjectId& id, uint16_t table, uint16_t parameter,
                               uint8_t* out);

// Writes the low `size` bytes (1 to 8) of `value`, little-endian.
[[nodiscard]] int32_t WriteValue(const ObjectId& id, uint16_t table, uint16_t parameter,
                                 int32_t size, uint64_t value);

// Reads a text parameter of `size` bytes into a zeroed local buffer of
// `textSize` bytes, optionally trims it, and copies the whole buffer to
// `text`. On failure `text` is untouched.
[[nodiscard]] int32_t ReadText(const ObjectId& id, uint16_t table, uint16_t parameter, int32_t size,
                               char* text, std::size_t textSize, bool trim);

}  // namespace rhosk
