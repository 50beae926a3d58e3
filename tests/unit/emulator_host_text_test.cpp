// The host file's text is written by a serializer of our own, which must
// spell every state exactly as the JSON library's dump(2) does.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "emulator/emulated_host.h"
#include "emulator/host_text.h"
#include "test_support.h"

namespace emulator_host_text_test {
namespace {

using nlohmann::json;

void ExpectLibrarySpelling(const json& state) {
    EXPECT_EQ(emulator::hostFileText(state), state.dump(2) + "\n") << state.dump();
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

}  // namespace
}  // namespace emulator_host_text_test
