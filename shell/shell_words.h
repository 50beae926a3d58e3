// Word helpers shared by the shell's command and address code.
#pragma once

#include <cstdlib>
#include <istream>
#include <sstream>
#include <string>
#include <vector>

namespace shell_words {

// The words of a text, split at white space as stream extraction does.
inline std::vector<std::string> split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string word;
    while (in >> word) {
        words.push_back(word);
    }
    return words;
}

// The next word of a command, empty when none is left.
inline std::string nextWord(std::istream& words) {
    std::string word;
    words >> word;
    return word;
}

// Skips white space; true when a further word follows.
inline bool hasMoreWords(std::istream& words) {
    words >> std::ws;
    return words.good() && !words.eof();
}

inline bool isHelpWord(const std::string& word) {
    return word == "help" || word == "?";
}

// A setting's value: the text after the first "=" of its word, or the
// whole word when it has none.
inline std::string valueAfterEquals(const std::string& word) {
    const std::string::size_type equals = word.find('=');
    return equals == std::string::npos ? word : word.substr(equals + 1);
}

// The number a value begins with, read as the C library reads it: leading
// blanks, an optional sign and the decimal digits that follow; 0 without
// digits, anything after them ignored, and a number beyond the range held
// at its nearest end.
inline long long leadingNumber(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

}  // namespace shell_words
