// Building blocks shared by the help topic files. A piece is a fixed block
// of help lines ("" is an empty line); a topic maps each word it accepts to
// the pieces printed for that word, in order.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace help_text {

class Piece {
  public:
    // Implicit, so that topic tables can list the line arrays directly.
    template <std::size_t N>
    constexpr Piece(const char* const (&lines)[N])  // NOLINT(google-explicit-constructor)
        : lines_(lines), count_(N) {}

    // Writes each line and a line end to standard output.
    void print() const;

  private:
    const char* const* lines_;
    std::size_t count_;
};

inline constexpr const char* kEmptyLine[] = {""};

inline void printEmptyLine() {
    Piece(kEmptyLine).print();
}

using Topic = std::map<std::string, std::vector<Piece>>;

// Prints the pieces of `word`; false, with nothing printed, for a word the
// topic does not list.
bool printKnownWord(const Topic& topic, const std::string& word);
// Prints the pieces of `word`; a word the topic does not list raises
// KV_Exception 13 before anything is printed.
void printWord(const Topic& topic, const std::string& word);

// A word that no topic knows: KV_Exception 13 ("Invalid argument in help
// command.").
[[noreturn]] void rejectWord();

// The read-cache note, shared by the controller and the unit notes.
inline constexpr const char* kReadCacheNote[] = {
    "  (2) 'nordcache' overrides the read cache default and disables the read",
    "      cache; 'rdcachebasic' selects Read Cache Basic.  The read cache is",
    "      supported by Tevrin or newer controllers with release 9.5.2 or later.",
};

}  // namespace help_text
