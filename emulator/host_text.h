#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

// The text of a host file holding `state`: the JSON indented by two spaces
// and a closing line end, exactly as nlohmann::json::dump(2) + "\n" spells
// it, written without the library's general serializer, whose cost counts
// when every change of the machine writes the whole file. The text is
// written in the storage of `room` (its contents are dropped): given the
// text the state last had, it mostly needs no more.
std::string hostFileText(const nlohmann::json& state, std::string room = {});

// The state a host file's text holds, read without the library's general
// parser, whose cost counts when every run reads the whole file: the same
// value the library would read, for a text that keeps to plain JSON (whole
// numbers within 64 bits, ASCII texts without \u escapes, at most
// kPlainDepth levels deep). Any other text, and every faulty one, gives
// nullopt: the library reads it, and names the place of a fault.
std::optional<nlohmann::json> readPlainHostText(std::string_view text);

constexpr size_t kPlainDepth = 128;

}  // namespace emulator
