#include "emulator/model_paths.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace emulator {

using nlohmann::json;

namespace {

// A model path: dotted steps, each an object key or "key#i", the element
// i of the array under key.
struct Step {
    std::string_view key;
    size_t index;  // SIZE_MAX: not an array step
};

// The step at `start` of `path`; `next` is where the following one starts
// (npos after the last).
Step stepAt(std::string_view path, size_t start, size_t* next) {
    const size_t dot = path.find('.', start);
    std::string_view step = path.substr(start, dot == std::string_view::npos ? dot : dot - start);
    *next = dot == std::string_view::npos ? dot : dot + 1;
    const size_t hash = step.find('#');
    if (hash == std::string_view::npos)
        return {step, SIZE_MAX};
    return {step.substr(0, hash), std::strtoul(step.data() + hash + 1, nullptr, 10)};
}

}  // namespace

const json* findModel(const json& root, std::string_view path) {
    const json* node = &root;
    for (size_t at = 0; at != std::string_view::npos;) {
        const Step step = stepAt(path, at, &at);
        if (!node->is_object())
            return nullptr;
        auto it = node->find(step.key);
        if (it == node->end())
            return nullptr;
        node = &*it;
        if (step.index != SIZE_MAX) {
            if (!node->is_array() || step.index >= node->size())
                return nullptr;
            node = &(*node)[step.index];
        }
    }
    return node;
}

json& makeModel(json& root, std::string_view path) {
    json* node = &root;
    for (size_t at = 0; at != std::string_view::npos;) {
        const Step step = stepAt(path, at, &at);
        if (!node->is_object())
            *node = json::object();
        node = &(*node)[std::string(step.key)];
        if (step.index != SIZE_MAX)
            node = &(*node)[step.index];
    }
    return *node;
}

uint64_t numberOr(const json* node, uint64_t fallback) {
    if (node == nullptr)
        return fallback;
    if (node->is_number_unsigned())
        return node->get<uint64_t>();
    if (node->is_number_integer())
        return static_cast<uint64_t>(node->get<int64_t>());
    if (node->is_boolean())
        return node->get<bool>() ? 1 : 0;
    return fallback;
}

size_t arraySize(const json& ctl, const char* list) {
    auto it = ctl.find(list);
    return it != ctl.end() && it->is_array() ? it->size() : 0;
}

}  // namespace emulator
