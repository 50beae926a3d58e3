#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace emulator {

// The text of a host file holding `state`: the JSON indented by two spaces
// and a closing line end, exactly as nlohmann::json::dump(2) + "\n" spells
// it, written without the library's general serializer, whose cost counts
// when every change of the machine writes the whole file. The text is
// written in the storage of `room` (its contents are dropped): given the
// text the state last had, it mostly needs no more.
std::string hostFileText(const nlohmann::json& state, std::string room = {});

}  // namespace emulator
