// The host file's text is written by a serializer of our own, which must
// spell every state exactly as the JSON library's dump(2) does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "emulator/emulated_host.h"
#include "emulator/host_text.h"

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

TEST(EmulatorHostText, SpellsTheDefaultHostAndEveryFixtureAsTheLibrary) {
    ExpectLibrarySpelling(emulator::EmulatedHost::defaultHost());
    const char* fixtures = std::getenv("KV_TEST_FIXTURES");
    ASSERT_NE(fixtures, nullptr);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(fixtures)) {
        if (entry.path().extension() != ".json")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const json state = json::parse(text.str(), nullptr, false);
        if (!state.is_discarded())
            ExpectLibrarySpelling(state);
    }
}

}  // namespace
