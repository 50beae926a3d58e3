#include "emulator/host_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace emulator {
namespace {

using nlohmann::json;

constexpr size_t kIndent = 2;
// What comes before an item of an object or a list: the comma that ends
// the item before it (when there is one), the line end and the spaces that
// indent the item, copied as one piece; a line deeper than the spaces reach
// takes them in several.
constexpr char kItemBreak[] = ",\n                                                                ";
constexpr size_t kBreakPiece = sizeof kItemBreak - 1;
constexpr const char* kSpaces = kItemBreak + 2;
constexpr size_t kSpacesAtOnce = sizeof kItemBreak - 3;
// The least room the text starts with, and the share of the previous
// text's size added to it: a change may make the text a little longer.
constexpr size_t kLeastSize = 4096;
constexpr size_t kGrowthShare = 64;

// Which bytes of a text are written as they are: all of ASCII but the
// control characters, the quote and the backslash.
constexpr std::array<bool, 256> kPlainBytes = [] {
    std::array<bool, 256> plain{};
    for (size_t byte = 0x20; byte < 0x80; ++byte)
        plain[byte] = byte != '"' && byte != '\\';
    return plain;
}();

bool plainByte(char c) {
    return kPlainBytes[static_cast<unsigned char>(c)];
}

// Copies `text` to `to`, which has room for it, when all its bytes are
// written as they are; answers whether they are.
bool copyPlain(const std::string& text, char* to) {
    if (!std::all_of(text.begin(), text.end(), plainByte))
        return false;
    std::memcpy(to, text.data(), text.size());
    return true;
}

// Whether a text is all ASCII.
bool ascii(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The text being written. Room is made ahead in large steps, so each piece
// is a plain copy, without the checks and calls of std::string's appends.
class TextOut {
  public:
    // The text is written in the storage of `room`, which holds the
    // previous text: the new one is mostly as long. Only the bytes added to
    // it are cleared, and none are copied when it must move.
    explicit TextOut(std::string room) : text_(std::move(room)) {
        const size_t expected = text_.size() + text_.size() / kGrowthShare;
        if (text_.capacity() < expected)
            text_.clear();
        text_.resize(std::max(expected, kLeastSize));
        at_ = text_.data();
        end_ = at_ + text_.size();
    }

    // Where the next `n` bytes go; commit() says how far they reached.
    char* room(size_t n) {
        if (static_cast<size_t>(end_ - at_) < n)
            grow(n);
        return at_;
    }
    void commit(char* end) { at_ = end; }

    void put(char c) {
        *room(1) = c;
        ++at_;
    }
    void put(const char* bytes, size_t n) {
        std::memcpy(room(n), bytes, n);
        at_ += n;
    }
    template <size_t N>
    void put(const char (&literal)[N]) {
        put(literal, N - 1);
    }
    // The first `n` of the `N` bytes at `piece`: copying all N, a number
    // known here, costs less than copying n.
    template <size_t N>
    void putFirst(const char* piece, size_t n) {
        char* at = room(N);
        std::memcpy(at, piece, N);
        at_ = at + n;
    }

    std::string finish() {
        text_.resize(static_cast<size_t>(at_ - text_.data()));
        return std::move(text_);
    }

  private:
    void grow(size_t n) {
        const size_t used = static_cast<size_t>(at_ - text_.data());
        text_.resize(std::max(text_.size() * 2, used + n));
        at_ = text_.data() + used;
        end_ = text_.data() + text_.size();
    }

    std::string text_;
    char* at_ = nullptr;
    char* end_ = nullptr;
};

// Writes a state as the library's dump(2) spells it.
class HostTextWriter {
  public:
    explicit HostTextWriter(std::string room) : out_(std::move(room)) {}

    std::string text(const json& state) && {
        value(state, 0);
        out_.put('\n');
        return out_.finish();
    }

  private:
    void value(const json& value, size_t depth) {
        switch (value.type()) {
            case json::value_t::object:
                object(*value.get_ptr<const json::object_t*>(), depth);
                break;
            case json::value_t::array:
                array(*value.get_ptr<const json::array_t*>(), depth);
                break;
            case json::value_t::string:
                text(*value.get_ptr<const std::string*>());
                break;
            case json::value_t::number_integer:
                number(*value.get_ptr<const json::number_integer_t*>());
                break;
            case json::value_t::number_unsigned:
                number(*value.get_ptr<const json::number_unsigned_t*>());
                break;
            case json::value_t::boolean:
                if (*value.get_ptr<const json::boolean_t*>())
                    out_.put("true");
                else
                    out_.put("false");
                break;
            case json::value_t::null:
                out_.put("null");
                break;
            default:  // fractions and binary values: as the library writes them
                library(value);
                break;
        }
    }

    void object(const json::object_t& object, size_t depth) {
        block(object, "{}", depth, [&](const auto& member) {
            text(member.first);
            out_.put(": ");
            value(member.second, depth + 1);
        });
    }

    void array(const json::array_t& array, size_t depth) {
        block(array, "[]", depth, [&](const json& element) { value(element, depth + 1); });
    }

    // An object or a list between its brackets: empty on one line, else
    // each item on a line of its own, one level deeper than the brackets.
    template <typename Items, typename WriteItem>
    void block(const Items& items, const char* brackets, size_t depth, const WriteItem& writeItem) {
        out_.put(brackets[0]);
        if (!items.empty()) {
            bool first = true;
            for (const auto& item : items) {
                lineBreak(depth + 1, !first);
                first = false;
                writeItem(item);
            }
            lineBreak(depth, false);
        }
        out_.put(brackets[1]);
    }

    // A line end and the indentation of a line at `depth`, after the comma
    // that ends the item before when `afterItem`.
    void lineBreak(size_t depth, bool afterItem) {
        const size_t lead = afterItem ? 2 : 1;
        size_t spaces = depth * kIndent;
        const size_t first = std::min(spaces, kSpacesAtOnce);
        out_.putFirst<kBreakPiece>(kItemBreak + 2 - lead, lead + first);
        for (spaces -= first; spaces > 0;) {
            const size_t n = std::min(spaces, kSpacesAtOnce);
            out_.putFirst<kSpacesAtOnce>(kSpaces, n);
            spaces -= n;
        }
    }

    // A text in quotes, as the library writes it. Most texts need no escape
    // and are copied whole.
    void text(const std::string& text) {
        char* at = out_.room(text.size() + 2);
        *at++ = '"';
        if (!copyPlain(text, at))
            return textToEscape(text, at);
        at += text.size();
        *at++ = '"';
        out_.commit(at);
    }

    // A text that needs escapes, after its opening quote at `at`; one beyond
    // ASCII (UTF-8, and the library's check of it) is left to the library.
    void textToEscape(const std::string& text, char* at) {
        if (ascii(text)) {
            out_.commit(at);
            escapedRest(text);
        } else {
            library(json(text));
        }
    }

    // An ASCII text after its opening quote, escaped as the library escapes
    // it, and the closing quote: runs of plain bytes are copied whole.
    void escapedRest(const std::string& text) {
        size_t run = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (plainByte(text[i]))
                continue;
            out_.put(text.data() + run, i - run);
            run = i + 1;
            escape(text[i]);
        }
        out_.put(text.data() + run, text.size() - run);
        out_.put('"');
    }

    void escape(char c) {
        static const char kHex[] = "0123456789abcdef";
        switch (c) {
            case '"':
                out_.put("\\\"");
                break;
            case '\\':
                out_.put("\\\\");
                break;
            case '\b':
                out_.put("\\b");
                break;
            case '\f':
                out_.put("\\f");
                break;
            case '\n':
                out_.put("\\n");
                break;
            case '\r':
                out_.put("\\r");
                break;
            case '\t':
                out_.put("\\t");
                break;
            default:
                out_.put("\\u00");
                out_.put(kHex[(c >> 4) & 0x0F]);
                out_.put(kHex[c & 0x0F]);
        }
    }

    template <typename Number>
    void number(Number number) {
        constexpr size_t kDigits = 24;  // a 64-bit number with its sign
        char* at = out_.room(kDigits);
        out_.commit(std::to_chars(at, at + kDigits, number).ptr);
    }

    void library(const json& value) {
        const std::string text = value.dump();
        out_.put(text.data(), text.size());
    }

    TextOut out_;
};

// Reads the plain JSON that host files hold into the value the library's
// parser would make of it: objects keep the last of repeated names, a whole
// number is unsigned unless it has a minus sign. What it does not take on
// (fractions, exponents, numbers beyond 64 bits, bytes beyond ASCII, \u
// escapes, deeper nesting) or finds faulty ends the reading: false.
class PlainReader {
  public:
    explicit PlainReader(std::string_view text)
        : at_(text.data()), end_(text.data() + text.size()) {}

    std::optional<json> state() && {
        json state;
        if (!value(state, 0))
            return std::nullopt;
        skipSpace();
        if (at_ != end_)
            return std::nullopt;
        return state;
    }

  private:
    bool value(json& into, size_t depth) {
        skipSpace();
        if (at_ == end_)
            return false;
        switch (*at_) {
            case '{':
                return depth < kPlainDepth && object(into, depth);
            case '[':
                return depth < kPlainDepth && array(into, depth);
            case '"': {
                std::string text;
                if (!quoted(text))
                    return false;
                into = std::move(text);
                return true;
            }
            case 't':
                return literal("true", json(true), into);
            case 'f':
                return literal("false", json(false), into);
            case 'n':
                return literal("null", json(nullptr), into);
            default:
                return number(into);
        }
    }

    bool object(json& into, size_t depth) {
        into = json::object();
        auto& members = *into.get_ptr<json::object_t*>();
        ++at_;
        if (next('}'))
            return true;
        do {
            std::string name;
            skipSpace();
            if (at_ == end_ || *at_ != '"' || !quoted(name) || !next(':'))
                return false;
            // Names come sorted from the writer: each goes at the end.
            auto member = members.emplace_hint(members.end(), std::move(name), nullptr);
            if (!value(member->second, depth + 1))
                return false;
        } while (next(','));
        return next('}');
    }

    bool array(json& into, size_t depth) {
        into = json::array();
        auto& items = *into.get_ptr<json::array_t*>();
        ++at_;
        if (next(']'))
            return true;
        do {
            if (!value(items.emplace_back(), depth + 1))
                return false;
        } while (next(','));
        return next(']');
    }

    // A text in quotes, `at_` on the opening quote.
    bool quoted(std::string& text) {
        ++at_;
        const char* run = at_;
        while (at_ != end_) {
            const char c = *at_;
            if (plainByte(c)) {
                ++at_;
                continue;
            }
            text.append(run, static_cast<size_t>(at_ - run));
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c != '\\' || !unescape(text))
                return false;
            run = at_;
        }
        return false;
    }

    // One escape, `at_` on its backslash.
    bool unescape(std::string& text) {
        if (end_ - at_ < 2)
            return false;
        static constexpr std::string_view kEscaped = "\"\\/bfnrt";
        static constexpr std::string_view kMeant = "\"\\/\b\f\n\r\t";
        const size_t which = kEscaped.find(at_[1]);
        if (which == std::string_view::npos)
            return false;
        text.push_back(kMeant[which]);
        at_ += 2;
        return true;
    }

    bool literal(std::string_view word, json value, json& into) {
        if (static_cast<size_t>(end_ - at_) < word.size() ||
            std::string_view(at_, word.size()) != word)
            return false;
        at_ += word.size();
        into = std::move(value);
        return true;
    }

    // A whole number; one the library would read as a fraction is left to it.
    bool number(json& into) {
        const bool negative = *at_ == '-';
        const char* digits = negative ? at_ + 1 : at_;
        uint64_t magnitude = 0;
        const auto [end, error] = std::from_chars(digits, end_, magnitude);
        if (error != std::errc() || (*digits == '0' && end - digits > 1) ||
            (end != end_ && (*end == '.' || *end == 'e' || *end == 'E')))
            return false;
        at_ = end;
        if (!negative)
            into = magnitude;
        else if (magnitude == 0)
            into = int64_t{0};
        else if (magnitude - 1 <= uint64_t{INT64_MAX})
            into = -static_cast<int64_t>(magnitude - 1) - 1;
        else
            return false;
        return true;
    }

    // Skips white space; true when the next byte is `c`, which is passed.
    bool next(char c) {
        skipSpace();
        if (at_ == end_ || *at_ != c)
            return false;
        ++at_;
        return true;
    }

    void skipSpace() {
        while (at_ != end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t'))
            ++at_;
    }

    const char* at_;
    const char* end_;
};

}  // namespace

std::string hostFileText(const json& state, std::string room) {
    return HostTextWriter(std::move(room)).text(state);
}

std::optional<json> readPlainHostText(std::string_view text) {
    return PlainReader(text).state();
}

}  // namespace emulator
