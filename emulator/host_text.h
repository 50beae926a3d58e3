#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace emulator {

// The text of a host file holding `state`: the JSON indented by two spaces
// and a closing line end, exactly as nlohmann::json::dump(2) + "\n" spells
// it, written without the library's general serializer, whose cost counts
// when every change of the machine writes the whole file.
std::string hostFileText(const nlohmann::json& state);

}  // namespace emulator
