// Reads of host-file fields that never throw: a field that is missing, or
// of another type than the reader takes, reads as the fallback. (Numbers:
// numberField in emulator/faults.h.)
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace emulator {

// A text field.
[[nodiscard]] inline std::string textField(const nlohmann::json& object, std::string_view key,
                                           const std::string& fallback) {
    if (!object.is_object())
        return fallback;
    auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : fallback;
}

// A true-or-false field; a number stands for true when it is not 0.
[[nodiscard]] inline bool flagField(const nlohmann::json& object, std::string_view key,
                                    bool fallback) {
    if (!object.is_object())
        return fallback;
    auto it = object.find(key);
    if (it == object.end())
        return fallback;
    if (it->is_boolean())
        return it->get<bool>();
    if (it->is_number_integer())
        return it->get<int64_t>() != 0;
    return fallback;
}

}  // namespace emulator
