// Whether two JSON values are the same value of the same kinds all through:
// the library's == calls a signed and an unsigned number equal, which the
// host file's reader must keep apart as the library's parser does.
#pragma once

#include <nlohmann/json.hpp>

inline bool SameJson(const nlohmann::json& a, const nlohmann::json& b) {
    if (a.type() != b.type() || a.size() != b.size())
        return false;
    if (a.is_object()) {
        for (auto member = a.begin(); member != a.end(); ++member) {
            const auto other = b.find(member.key());
            if (other == b.end() || !SameJson(member.value(), *other))
                return false;
        }
        return true;
    }
    if (a.is_array()) {
        for (size_t i = 0; i < a.size(); ++i) {
            if (!SameJson(a[i], b[i]))
                return false;
        }
        return true;
    }
    return a == b;
}
