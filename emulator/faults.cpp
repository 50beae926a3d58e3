#include "emulator/faults.h"

#include <cstdlib>

#include "emulator/fields.h"

namespace emulator {

using nlohmann::json;

int64_t numberValue(const json& value, int64_t fallback) {
    if (value.is_number_integer())
        return value.get<int64_t>();
    if (value.is_number_unsigned())
        return static_cast<int64_t>(value.get<uint64_t>());
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        char* end = nullptr;
        long long number = std::strtoll(text.c_str(), &end, 0);
        if (!text.empty() && end != nullptr && *end == '\0')
            return number;
    }
    return fallback;
}

int64_t numberField(const json& object, std::string_view key, int64_t fallback) {
    if (!object.is_object())
        return fallback;
    auto it = object.find(key);
    return it == object.end() ? fallback : numberValue(*it, fallback);
}

namespace {

bool matches(const json& match, const FaultQuery& q) {
    if (textField(match, "layer", "") != q.layer)
        return false;
    if (auto kind = match.find("kind");
        kind != match.end() &&
        (!kind->is_string() || kind->get_ref<const std::string&>() != q.kind))
        return false;
    struct Key {
        const char* name;
        int64_t value;
        int64_t mask;
    };
    const Key keys[] = {{"controller", q.controller, -1},
                        {"opcode", q.opcode, 0x1F},
                        {"table", q.table, 0x7FFF},
                        {"parameter", q.parameter, -1},
                        {"code", q.code, -1}};
    for (const Key& k : keys) {
        if (!match.contains(k.name))
            continue;
        int64_t wanted = numberField(match, k.name, -2);
        if (k.value < 0 || (wanted & k.mask) != (k.value & k.mask))
            return false;
    }
    return true;
}

// Uses up one firing of the rule; false when it has none left, or when it
// still lets matching requests pass ("skip": so many matches go through
// before the rule fires, which makes the Nth matching request fail).
// `moved` is set when the rule's skip or count changed.
bool fire(json& rule, bool* moved) {
    const int64_t skip = numberField(rule, "skip", 0);
    if (skip > 0) {
        rule["skip"] = skip - 1;
        *moved = true;
        return false;
    }
    json& count = rule["count"];
    if (count.is_null() || count == "once") {
        count = 1;
    }
    if (count != "always") {
        int64_t left = numberField(rule, "count", 0);
        if (left <= 0)
            return false;
        count = left - 1;
    }
    rule["fired"] = numberField(rule, "fired", 0) + 1;
    *moved = true;
    return true;
}

}  // namespace

bool anyLiveFault(const json& state) {
    auto it = state.find("faults");
    if (it == state.end() || !it->is_array())
        return false;
    for (const json& rule : *it) {
        // Spent: a count of 0 (or less) and nothing left to skip; any
        // other count ("once", "always", absent, a number left) fires.
        auto count = rule.is_object() ? rule.find("count") : rule.end();
        const bool spent = rule.is_object() && count != rule.end() && count->is_number() &&
                           numberField(rule, "count", 0) <= 0 && numberField(rule, "skip", 0) <= 0;
        if (rule.is_object() && !spent)
            return true;
    }
    return false;
}

json takeFault(json& state, const FaultQuery& query, bool* stateChanged) {
    bool moved = false;
    json action;
    auto it = state.find("faults");
    if (it != state.end() && it->is_array()) {
        for (json& rule : *it) {
            if (!rule.is_object() || !matches(rule.value("match", json()), query))
                continue;
            if (fire(rule, &moved)) {
                action = rule.value("action", json::object());
                break;
            }
        }
    }
    if (stateChanged != nullptr)
        *stateChanged = moved;
    return action;
}

}  // namespace emulator
