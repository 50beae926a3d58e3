// Fault injection: rules kept in the host file's "faults" list that make
// one layer of the emulated host fail a request that matches them.
//
//   {"match": {"layer": "firmware", "opcode": "0x12", "table": "0x0402",
//              "parameter": 9},
//    "action": {"status": 1, "code": "0x010C"},
//    "count": "once"}
//
// Match keys (all but "layer" optional): layer (os | driver | firmware),
// kind (the request log's kind), controller (index), opcode, table
// (compared without bit 15), parameter, code (an I/O control code).
// Numbers may be written as JSON numbers or as "0x..." texts.
// Count: "once", "always" or a number of firings; a spent rule stays in the
// list with count 0 and its "fired" total. Skip: how many matching requests
// pass before the rule fires (default 0), so that the Nth one fails.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace emulator {

struct FaultQuery {
    // Names the emulator itself spells: they outlive every query.
    std::string_view layer;
    std::string_view kind;
    int64_t controller = -1;
    int64_t opcode = -1;
    int64_t table = -1;
    int64_t parameter = -1;
    int64_t code = -1;
};

// The action of the first live rule that matches, with one firing used up;
// null when no rule fires. `stateChanged` (may be null) tells whether a
// rule's count or skip moved, so that the host file is written back.
[[nodiscard]] nlohmann::json takeFault(nlohmann::json& state, const FaultQuery& query,
                                       bool* stateChanged = nullptr);

// Whether some rule of `state` could still fire or count down its skip:
// while none can, no request changes the fault list.
[[nodiscard]] bool anyLiveFault(const nlohmann::json& state);

// A number of a fault rule or host-file field: a JSON number or a text in
// C notation ("0x10C", "268"); `fallback` when absent or malformed.
[[nodiscard]] int64_t numberField(const nlohmann::json& object, std::string_view key,
                                  int64_t fallback);
// The same of a value found already.
[[nodiscard]] int64_t numberValue(const nlohmann::json& value, int64_t fallback);

}  // namespace emulator
