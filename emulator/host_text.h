#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace emulator {

// Texts of any bytes. A controller keeps the bytes it is given (a unit name
// typed in the ANSI code page, a firmware image's version text), while JSON
// texts are UTF-8. In the host file and the request log a text's UTF-8
// characters are written as they are, and every other byte b (0x80 to 0xFF)
// as its stand-in, the character U+10FF00 + b, escaped "\udbff\udfXX" (XX
// the byte in hex); so is each byte of a stand-in that the text itself
// holds. Reading turns every stand-in back into its byte: a text reads as
// the bytes written, and one of UTF-8 without stand-ins reads as it is.

// The text of a host file holding `state`: the JSON indented by two spaces
// and a closing line end, exactly as nlohmann::json::dump(2) + "\n" spells
// it where dump can spell it (texts of UTF-8 without stand-ins), written
// without the library's general serializer, whose cost counts when every
// change of the machine writes the whole file. The text is written in the
// storage of `room` (its contents are dropped): given the text the state
// last had, it mostly needs no more.
std::string hostFileText(const nlohmann::json& state, std::string room = {});

// A value on one line, as nlohmann::json::dump() spells it, texts of any
// bytes written as in the host file (a request-log line).
std::string jsonLine(const nlohmann::json& value);

// Turns the stand-ins of every text and member name of `state`, which the
// JSON library read from `text`, back into their bytes.
void restoreTextBytes(nlohmann::json& state, std::string_view text);

// The state a host file's text holds, read without the library's general
// parser, whose cost counts when every run reads the whole file: the same
// value the library would read, for a text that keeps to plain JSON (whole
// numbers within 64 bits, ASCII texts without \u escapes, at most
// kPlainDepth levels deep). Any other text, and every faulty one, gives
// nullopt: the library reads it, and names the place of a fault.
std::optional<nlohmann::json> readPlainHostText(std::string_view text);

constexpr size_t kPlainDepth = 128;

}  // namespace emulator
