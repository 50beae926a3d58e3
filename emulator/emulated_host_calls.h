// What the emulated host's groups of Windows calls (emulator/emulated_host_*.cpp)
// share with its core (emulator/emulated_host.cpp): the machine's own
// numbers and a few small helpers.
#pragma once

#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>

#include "emulator/fields.h"

namespace emulator {

// Windows errors beyond the seam's list.
constexpr uint32_t kErrorInvalidData = 13;
constexpr uint32_t kErrorNotLocked = 158;
constexpr uint32_t kErrorMoreData = 234;

// Configuration-manager device instances: the root, and the ranges of
// the emulated devices (a device's own "dev_inst" field overrides them).
constexpr uint32_t kRootDevInst = 1;
constexpr uint32_t kControllerDevInstBase = 0x100;
constexpr uint32_t kDiskDevInstBase = 0x200;
constexpr uint32_t kVolumeDevInstBase = 0x300;

// Copies `text` into a caller buffer of `size` bytes, NUL included.
inline bool copyOut(const std::string& text, char* buffer, uint32_t size) {
    if (buffer == nullptr || text.size() + 1 > size)
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

inline bool present(const nlohmann::json& device) {
    return flagField(device, "present", true);
}

inline const char* kindName(int kind) {
    static const char* const names[] = {"controller", "disk", "volume"};
    return names[kind];
}

}  // namespace emulator
