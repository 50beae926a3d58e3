// Word helpers shared by the shell and the command words of every object.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <limits>
#include <sstream>
#include <string>
#include <type_traits>
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
// at its nearest end. Every setting reads the number of its value this
// way, and checks its range before it narrows it.
inline long long leadingNumber(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

// The number a value begins with, as leadingNumber reads it, held within
// the range of `T`, so that narrowing it never wraps round onto a small
// number.
template <class T>
T leadingNumberAs(const std::string& text) {
    static_assert(std::is_integral_v<T> && std::is_signed_v<T>, "a signed type");
    return static_cast<T>(std::clamp<long long>(leadingNumber(text), std::numeric_limits<T>::min(),
                                                std::numeric_limits<T>::max()));
}

// The decimal digits a text begins with, as a number: no blank or sign is
// read, no digit gives 0 and a number past the 32-bit range is held at
// its largest value.
inline int32_t leadingDigits(const std::string& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    return leadingNumberAs<int32_t>(text.substr(0, digits));
}

// Reads the next word of a command as a whole number in [low, high] into
// `value`. The number is read signed and wide and checked before it is
// narrowed: a minus sign gives a negative number, never one wrapped round
// onto an unsigned value, and a number past the wide range does not read.
// False when no number reads or it lies outside the range; the stream
// stands after the number.
template <class T>
bool readNumberIn(std::istream& words, long long low, long long high, T* value) {
    static_assert(std::is_integral_v<T> && (std::is_signed_v<T> || sizeof(T) < sizeof(long long)),
                  "a type that holds every value of the range");
    long long number = 0;
    if (!(words >> number) || number < low || number > high)
        return false;
    *value = static_cast<T>(number);
    return true;
}

}  // namespace shell_words
