// The walk of a map that holds objects by name ("u2", "slot10") in the
// order of the names' numbers, as the tables list them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Calls `visit` with every object of a tree or element map in ascending
// number order (u2 before u10), gaps skipped: the order of the tables that
// list a map by number. Tree numbers are 8-bit.
template <class Map, class Visit>
void forEachByNumber(const Map& map, const std::string& prefix, Visit visit) {
    std::size_t visited = 0;
    for (uint32_t n = 0; visited < map.size() && n <= 0xFF; ++n) {
        const auto found = map.find(prefix + std::to_string(n));
        if (found == map.end())
            continue;
        ++visited;
        visit(*found->second);
    }
}
