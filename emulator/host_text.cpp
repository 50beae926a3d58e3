#include "emulator/host_text.h"

#include <charconv>

namespace emulator {
namespace {

using nlohmann::json;

constexpr size_t kIndent = 2;

// Whether a byte of a text is written as it is.
bool plainByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
}

// Whether the text from `from` on is ASCII.
bool asciiFrom(const std::string& text, size_t from) {
    for (size_t i = from; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// An ASCII text in quotes, escaped as the library escapes it, its first
// `plain` bytes needing no escape: runs of plain characters are copied whole.
void appendEscaped(const std::string& text, size_t plain, std::string& out) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    size_t run = 0;
    for (size_t i = plain; i < text.size(); ++i) {
        const char c = text[i];
        if (plainByte(c))
            continue;
        out.append(text, run, i - run);
        run = i + 1;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += kHex[(c >> 4) & 0x0F];
                out += kHex[c & 0x0F];
        }
    }
    out.append(text, run, text.size() - run);
    out += '"';
}

// A text in quotes, as the library writes it. Most texts need no escape and
// are copied whole; a text beyond ASCII (UTF-8, and the library's check of
// it) is left to the library.
void appendText(const std::string& text, std::string& out) {
    size_t plain = 0;
    while (plain < text.size() && plainByte(text[plain]))
        ++plain;
    if (plain == text.size()) {
        out += '"';
        out += text;
        out += '"';
    } else if (asciiFrom(text, plain)) {
        appendEscaped(text, plain, out);
    } else {
        out += json(text).dump();
    }
}

template <typename Number>
void appendNumber(Number number, std::string& out) {
    char digits[24];  // a 64-bit number with its sign
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

void appendValue(const json& value, size_t depth, std::string& out);

void appendIndent(size_t depth, std::string& out) {
    out.append(depth * kIndent, ' ');
}

// An object or a list between its brackets: empty on one line, else each
// item on a line of its own, one level deeper than the brackets.
template <typename Items, typename AppendItem>
void appendBlock(const Items& items, const char* brackets, size_t depth, std::string& out,
                 const AppendItem& appendItem) {
    out += brackets[0];
    if (!items.empty()) {
        bool first = true;
        for (const auto& item : items) {
            out += first ? "\n" : ",\n";
            first = false;
            appendIndent(depth + 1, out);
            appendItem(item);
        }
        out += '\n';
        appendIndent(depth, out);
    }
    out += brackets[1];
}

void appendObject(const json::object_t& object, size_t depth, std::string& out) {
    appendBlock(object, "{}", depth, out, [&](const auto& member) {
        appendText(member.first, out);
        out += ": ";
        appendValue(member.second, depth + 1, out);
    });
}

void appendArray(const json::array_t& array, size_t depth, std::string& out) {
    appendBlock(array, "[]", depth, out,
                [&](const json& element) { appendValue(element, depth + 1, out); });
}

void appendValue(const json& value, size_t depth, std::string& out) {
    switch (value.type()) {
        case json::value_t::object:
            appendObject(value.get_ref<const json::object_t&>(), depth, out);
            break;
        case json::value_t::array:
            appendArray(value.get_ref<const json::array_t&>(), depth, out);
            break;
        case json::value_t::string:
            appendText(value.get_ref<const std::string&>(), out);
            break;
        case json::value_t::number_integer:
            appendNumber(value.get<json::number_integer_t>(), out);
            break;
        case json::value_t::number_unsigned:
            appendNumber(value.get<json::number_unsigned_t>(), out);
            break;
        case json::value_t::boolean:
            out += value.get<bool>() ? "true" : "false";
            break;
        case json::value_t::null:
            out += "null";
            break;
        default:  // fractions and binary values: as the library writes them
            out += value.dump();
            break;
    }
}

}  // namespace

std::string hostFileText(const json& state) {
    constexpr size_t kUsualSize = 64 * 1024;
    std::string out;
    out.reserve(kUsualSize);
    appendValue(state, 0, out);
    out += '\n';
    return out;
}

}  // namespace emulator
