// The host file's fields: what each documented field may hold (its JSON
// type and the range of a number), checked wherever the host text is read,
// so that a field of the wrong type or out of range is reported in one
// line naming the file and the field, instead of surfacing deep inside a
// model. Fields the table does not know are left alone.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace emulator {

// The first field of `state` that breaks the table, as
// "machine.controllers[0].units[1].type: expected a text"; empty when
// every field is sound.
[[nodiscard]] std::string findHostFieldError(const nlohmann::json& state);

// Parses the host text of the file `path` and checks its fields. Throws
// platform::HostUnusable with one line ("<path>: <field>: <problem>", or
// "<path>: not valid JSON at line L, column C") when it cannot be used.
[[nodiscard]] nlohmann::json parseHostFile(const std::string& text, const std::string& path);

// Checks a host held in memory; throws platform::HostUnusable like
// parseHostFile, naming the host `name`.
void checkHostFields(const nlohmann::json& state, const std::string& name);

}  // namespace emulator
