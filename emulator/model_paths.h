// Paths into a controller's part of the host file, where the parameter
// tables and the battery find their values: dotted steps, each an object
// key or "key#i", the element i of the array under key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

namespace emulator {

// The node at `path` below `root`, or null when a step is missing.
[[nodiscard]] const nlohmann::json* findModel(const nlohmann::json& root, std::string_view path);
// The node at `path`, created (with objects along the way) when missing.
// Array steps address existing elements only (see resolveTable).
nlohmann::json& makeModel(nlohmann::json& root, std::string_view path);
// The node's number (true 1, false 0); `fallback` when there is no node
// or it holds no number.
[[nodiscard]] uint64_t numberOr(const nlohmann::json* node, uint64_t fallback);
// The length of the array `list` of `ctl`; 0 when it is no array.
[[nodiscard]] size_t arraySize(const nlohmann::json& ctl, const char* list);

}  // namespace emulator
