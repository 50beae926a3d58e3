#include "emulator/host_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <vector>

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
constexpr size_t kLeastLineSize = 256;  // a request-log line
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

// --- Texts of any bytes ---
//
// A byte that does not belong to a UTF-8 character, and each byte of a
// character in the stand-ins' own range, is written as its stand-in, the
// character U+10FF00 + byte (bytes 0x80 to 0xFF: U+10FF80 to U+10FFFF),
// escaped as "\udbff\udfXX". In UTF-8 a stand-in is F4 8F BE|BF xx.
constexpr unsigned char kStandInLead = 0xF4;
constexpr unsigned char kStandInSecond = 0x8F;
constexpr unsigned char kStandInThirdLow = 0xBE;  // BE: bytes 0x80-0xBF, BF: 0xC0-0xFF
constexpr char kStandInEscape[] = "\\udbff\\udf";

bool continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Whether the four bytes at `at` are a stand-in.
bool standIn(const unsigned char* at) {
    return at[0] == kStandInLead && at[1] == kStandInSecond && (at[2] & 0xFE) == kStandInThirdLow &&
           continuation(at[3]);
}

// The byte the stand-in at `at` stands for.
char byteOfStandIn(const unsigned char* at) {
    return static_cast<char>(0x80 | ((at[2] & 0x01) << 6) | (at[3] & 0x3F));
}

// The length of the UTF-8 character that byte `at` (0x80 or above) begins
// and that is written as it is; 0 when the byte is written as a stand-in.
// The forms are those the JSON library takes: no overlong form, no
// surrogate, nothing beyond U+10FFFF.
size_t keptCharacterLength(const unsigned char* at, const unsigned char* end) {
    const unsigned char lead = at[0];
    size_t length = 0;
    unsigned char low = 0x80;  // the range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (static_cast<size_t>(end - at) < length || at[1] < low || at[1] > high ||
        !std::all_of(at + 2, at + length, continuation)) {
        return 0;
    }
    return length == 4 && standIn(at) ? 0 : length;
}

// Puts back the bytes of the stand-ins in a text the library read.
void restoreBytes(std::string& text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    if (std::memchr(bytes, kStandInLead, size) == nullptr)
        return;
    std::string restored;
    restored.reserve(size);
    for (size_t i = 0; i < size;) {
        if (size - i >= 4 && standIn(bytes + i)) {
            restored.push_back(byteOfStandIn(bytes + i));
            i += 4;
        } else {
            restored.push_back(text[i++]);
        }
    }
    text = std::move(restored);
}

// Whether a host file's text may hold a stand-in: in UTF-8, or escaped
// ("\udbff" in any case).
bool mayHoldStandIns(std::string_view text) {
    if (text.find(static_cast<char>(kStandInLead)) != std::string_view::npos)
        return true;
    constexpr std::string_view kHigh = "dbff";
    for (size_t at = text.find("\\u"); at != std::string_view::npos;
         at = text.find("\\u", at + 2)) {
        const std::string_view digits = text.substr(at + 2, kHigh.size());
        if (std::equal(digits.begin(), digits.end(), kHigh.begin(), kHigh.end(),
                       [](char a, char b) { return (a | 0x20) == b; }))
            return true;
    }
    return false;
}

// Puts back the bytes of the member names of an object the library read.
void restoreNames(json::object_t& members) {
    const bool any = std::any_of(members.begin(), members.end(), [](const auto& member) {
        return std::memchr(member.first.data(), kStandInLead, member.first.size()) != nullptr;
    });
    if (!any)
        return;
    json::object_t renamed;
    for (auto& [name, value] : members) {
        std::string restored = name;
        restoreBytes(restored);
        renamed.insert_or_assign(std::move(restored), std::move(value));
    }
    members = std::move(renamed);
}

// The text being written. Room is made ahead in large steps, so each piece
// is a plain copy, without the checks and calls of std::string's appends.
class TextOut {
  public:
    // The text is written in the storage of `room`, which holds the
    // previous text: the new one is mostly as long. Only the bytes added to
    // it are cleared, and none are copied when it must move. It starts with
    // room for `least` bytes at least.
    TextOut(std::string room, size_t least) : text_(std::move(room)) {
        const size_t expected = text_.size() + text_.size() / kGrowthShare;
        if (text_.capacity() < expected)
            text_.clear();
        text_.resize(std::max(expected, least));
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

// How a value is laid out: as the library's dump(2) spells it, each item
// on a line of its own, or as its dump() does, on one line without blanks.
enum class Layout { Indented, OneLine };

// Writes a value in a layout, its texts' bytes as the library would write
// them where they are UTF-8, the others as stand-ins.
class HostTextWriter {
  public:
    HostTextWriter(std::string room, Layout layout)
        : out_(std::move(room), layout == Layout::Indented ? kLeastSize : kLeastLineSize),
          layout_(layout) {}

    std::string text(const json& state) && {
        value(state, 0);
        if (layout_ == Layout::Indented)
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
            if (layout_ == Layout::Indented)
                out_.put(": ");
            else
                out_.put(':');
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
    // that ends the item before when `afterItem`; on one line, the comma
    // alone.
    void lineBreak(size_t depth, bool afterItem) {
        if (layout_ == Layout::OneLine) {
            if (afterItem)
                out_.put(',');
            return;
        }
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
        if (!copyPlain(text, at)) {
            out_.commit(at);
            return escapedRest(text);
        }
        at += text.size();
        *at++ = '"';
        out_.commit(at);
    }

    // A text after its opening quote, escaped as the library escapes it,
    // UTF-8 characters as they are and other bytes as stand-ins, and the
    // closing quote: runs of bytes kept as they are are copied whole.
    void escapedRest(const std::string& text) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        const unsigned char* end = bytes + text.size();
        size_t run = 0;
        for (size_t i = 0; i < text.size();) {
            const size_t kept = keptLength(bytes + i, end);
            if (kept > 0) {
                i += kept;
                continue;
            }
            out_.put(text.data() + run, i - run);
            escape(text[i]);
            run = ++i;
        }
        out_.put(text.data() + run, text.size() - run);
        out_.put('"');
    }

    // How many bytes from `at` on are written as they are: 0 for a byte
    // that is escaped.
    static size_t keptLength(const unsigned char* at, const unsigned char* end) {
        if (*at < 0x80)
            return plainByte(static_cast<char>(*at)) ? 1 : 0;
        return keptCharacterLength(at, end);
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
                if (static_cast<unsigned char>(c) < 0x80)
                    out_.put("\\u00");
                else
                    out_.put(kStandInEscape);
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
    Layout layout_;
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
    return HostTextWriter(std::move(room), Layout::Indented).text(state);
}

std::string jsonLine(const json& value) {
    return HostTextWriter(std::string(), Layout::OneLine).text(value);
}

void restoreTextBytes(json& state, std::string_view text) {
    if (!mayHoldStandIns(text))
        return;
    std::vector<json*> pending{&state};
    while (!pending.empty()) {
        json& next = *pending.back();
        pending.pop_back();
        if (next.is_string()) {
            restoreBytes(*next.get_ptr<std::string*>());
        } else if (next.is_array()) {
            for (json& item : *next.get_ptr<json::array_t*>())
                pending.push_back(&item);
        } else if (next.is_object()) {
            auto& members = *next.get_ptr<json::object_t*>();
            restoreNames(members);
            for (auto& member : members)
                pending.push_back(&member.second);
        }
    }
}

std::optional<json> readPlainHostText(std::string_view text) {
    return PlainReader(text).state();
}

}  // namespace emulator
