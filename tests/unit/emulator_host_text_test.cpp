// The host file's text is written by a serializer of our own, which must
// spell every state exactly as the JSON library's dump(2) does where the
// library can spell it, and write texts of any bytes so that they read back
// as they were.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator/host_schema.h"
#include "emulator/host_text.h"
#include "same_json.h"
#include "test_support.h"

namespace emulator_host_text_test {
namespace {

using nlohmann::json;

void ExpectLibrarySpelling(const json& state) {
    EXPECT_EQ(emulator::hostFileText(state), state.dump(2) + "\n") << state.dump();
    EXPECT_EQ(emulator::jsonLine(state), state.dump());
}

// A host file holding `texts`, each as a value and as a member name.
json HostWithTexts(const std::vector<std::string>& texts) {
    json state = {{"format", 1u}, {"texts", texts}, {"names", json::object()}};
    for (const std::string& text : texts)
        state["names"][text] = text;
    return state;
}

// What the host file's reader makes of the text the writer wrote.
json ReadBack(const json& state) {
    return emulator::parseHostFile(emulator::hostFileText(state), "host.json");
}

// The same through a request-log line.
json ReadBackLine(const json& value) {
    const std::string line = emulator::jsonLine(value);
    json read = json::parse(line);
    emulator::restoreTextBytes(read, line);
    return read;
}

TEST(EmulatorHostText, SpellsEveryKindOfValueAsTheLibrary) {
    const json cases[] = {
        json::object(),
        json::array(),
        json(nullptr),
        json{{"a", json::object()}, {"b", json::array()}, {"c", {json::array(), json::object()}}},
        json{{"on", true}, {"off", false}, {"none", nullptr}},
        json{{"small", std::numeric_limits<int64_t>::min()},
             {"large", std::numeric_limits<uint64_t>::max()},
             {"zero", 0},
             {"minus", -1}},
        json{{"fractions", {0.5, -2.25, 1e300, 3.0}}},
        json{{"quote\"key", "a \"quoted\" text"},
             {"back\\slash", "C:\\Windows"},
             {"controls", std::string("tab\tline\nbell\x07\b\f\r\x01\x1f\x7f")},
             {"registry", "HKLM\\SYSTEM\\CurrentControlSet"},
             {"utf-8", "caf\xc3\xa9"},
             {"empty", ""}},
        json{{"nested", {{"list", {1, {{"deep", {{"deeper", json::array({json::object()})}}}}}}}}},
    };
    for (const json& state : cases)
        ExpectLibrarySpelling(state);
}

// Texts are checked and copied a word of eight or four bytes at a time, the
// last word overlapping the one before: a byte to escape is found at every
// place of texts of every length around those words.
TEST(EmulatorHostText, FindsTheByteToEscapeAnywhereInATextOfAnyLength) {
    const std::string escaped[] = {"\"", "\\", "\n", "\x1f", "\xc3\xa9"};
    for (size_t length = 1; length <= 20; ++length) {
        for (size_t place = 0; place < length; ++place) {
            for (const std::string& special : escaped) {
                std::string text(length, 'a');
                text.replace(place, 1, special);
                ExpectLibrarySpelling(json{{text, text}});
            }
        }
        ExpectLibrarySpelling(json{{std::string(length, '~'), std::string(length, ' ')}});
    }
}

// The indentation is copied from a run of spaces of its own; a deeper line
// takes it in several pieces.
TEST(EmulatorHostText, IndentsLinesDeeperThanOneRunOfSpaces) {
    json state = {{"leaf", 1}};
    for (int depth = 0; depth < 80; ++depth)
        state = json{{"level", state}, {"list", {depth, true}}};
    ExpectLibrarySpelling(state);
}

// The text is written in the storage of the one it replaces: what that held
// never shows, whether it was longer or shorter.
TEST(EmulatorHostText, WritesOverTheTextItReplaces) {
    const json state = emulator::EmulatedHost::defaultHost();
    const std::string expected = state.dump(2) + "\n";
    const std::string rooms[] = {"", std::string(10, '#'), std::string(expected.size() - 1, '#'),
                                 std::string(expected.size() * 3, '#'), expected};
    for (const std::string& room : rooms)
        EXPECT_EQ(emulator::hostFileText(state, room), expected) << room.size();
}

TEST(EmulatorHostText, SpellsTheDefaultHostAndEveryFixtureAsTheLibrary) {
    ExpectLibrarySpelling(emulator::EmulatedHost::defaultHost());
    for (const std::string& text : test_support::FixtureHostTexts()) {
        const json state = json::parse(text, nullptr, false);
        if (!state.is_discarded())
            ExpectLibrarySpelling(state);
    }
}

// A controller keeps bytes: a text of any bytes, in a value or a member
// name, reads back as it was written, every byte value alone and in every
// company; so do texts that hold a stand-in character themselves.
TEST(EmulatorHostText, TextsOfAnyBytesReadBackAsWritten) {
    std::vector<std::string> texts;
    std::string every;
    for (int byte = 0; byte < 256; ++byte) {
        texts.emplace_back(1, static_cast<char>(byte));
        every.push_back(static_cast<char>(byte));
    }
    texts.push_back(every);
    texts.push_back(std::string(every.rbegin(), every.rend()));
    const char* const odd[] = {
        "B\xfcro",                            // Latin-1
        "caf\xc3",                            // a character cut short
        "\xc0\xaf \xe0\x80\xaf",              // overlong forms
        "\xed\xa0\x80",                       // a surrogate
        "\xf4\x90\x80\x80",                   // beyond U+10FFFF
        "\xf4\x8f\xbe\x80 \xf4\x8f\xbf\xbf",  // stand-ins as UTF-8
        "\xf4\x8f\xbf",                       // a stand-in cut short
        "\xf4\x8f\xbd\xbf",                   // the character just below them
    };
    texts.insert(texts.end(), std::begin(odd), std::end(odd));
    const json state = HostWithTexts(texts);
    EXPECT_TRUE(SameJson(ReadBack(state), state));
    EXPECT_TRUE(SameJson(ReadBackLine(state), state));
}

// A byte that is not UTF-8 is written as its stand-in, escaped; the UTF-8
// around it stays as it is, and so does a text of UTF-8 without stand-ins,
// so host files written before read the same.
TEST(EmulatorHostText, WritesABytePastUtf8AsItsEscapedStandIn) {
    const struct {
        std::string text;
        std::string written;
    } cases[] = {
        {"B\xfcro", "\"B\\udbff\\udffcro\""},
        {"\x80\xff", "\"\\udbff\\udf80\\udbff\\udfff\""},
        {"caf\xc3\xa9 \xe2\x82\xac", "\"caf\xc3\xa9 \xe2\x82\xac\""},
        {"\xf4\x8f\xbf\xbc", "\"\\udbff\\udff4\\udbff\\udf8f\\udbff\\udfbf\\udbff\\udfbc\""},
        {"\xf4\x8f\xbd\xbf", "\"\xf4\x8f\xbd\xbf\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(emulator::jsonLine(json(c.text)), c.written);
        EXPECT_EQ(emulator::hostFileText(json(c.text)), c.written + "\n");
    }
    // Written by hand in either spelling, and in capitals, a stand-in reads
    // as its byte.
    const std::string byHand =
        "{\"format\": 1, \"a\": \"B\\uDBFF\\uDFFCro\", \"b\": \"B\xf4\x8f\xbf\xbcro\"}";
    const json read = emulator::parseHostFile(byHand, "host.json");
    EXPECT_EQ(read["a"], "B\xfcro");
    EXPECT_EQ(read["b"], "B\xfcro");
}

}  // namespace
}  // namespace emulator_host_text_test
