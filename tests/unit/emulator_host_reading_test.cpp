// The host file's text is read by a reader of our own when it is plain
// JSON, and must give exactly the value the JSON library's parser gives;
// every other text, faulty ones included, is left to the library.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator/host_text.h"
#include "same_json.h"
#include "test_support.h"

namespace emulator_host_reading_test {
namespace {

using nlohmann::json;

std::optional<json> LibraryReading(const std::string& text) {
    try {
        return json::parse(text);
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

std::string Nested(size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

enum class Reading { Plain, Library, Fault };

TEST(EmulatorHostReading, ReadsPlainTextsAsTheLibraryAndLeavesTheRestToIt) {
    const struct {
        std::string text;
        Reading reading;
    } cases[] = {
        {"{}", Reading::Plain},
        {" [ ] \n", Reading::Plain},
        {"0", Reading::Plain},
        {"-0", Reading::Plain},
        {"-12", Reading::Plain},
        {"18446744073709551615", Reading::Plain},
        {"9223372036854775808", Reading::Plain},
        {"-9223372036854775808", Reading::Plain},
        {"{\"b\": 1, \"a\": [true, false, null, \"x\", {}]}", Reading::Plain},
        {"{\"a\": 1, \"a\": \"two\"}", Reading::Plain},
        {"{\"a\": {\"x\": 1}, \"b\": 2, \"a\": [3]}", Reading::Plain},
        {"\"q\\\" s\\\\ f\\/ b\\b f\\f n\\n r\\r t\\t\x7f\"", Reading::Plain},
        {"\t{\r\n\"k\"\t:\r[1 ,2] }\n\n", Reading::Plain},
        {Nested(emulator::kPlainDepth), Reading::Plain},
        {Nested(emulator::kPlainDepth + 1), Reading::Library},
        {"1.5", Reading::Library},
        {"[1e3, -1E2]", Reading::Library},
        {"18446744073709551616", Reading::Library},
        {"-9223372036854775809", Reading::Library},
        {"\"\\u0041\"", Reading::Library},
        {"\"caf\xc3\xa9\"", Reading::Library},
        {"\xef\xbb\xbf{}", Reading::Library},
        {"", Reading::Fault},
        {"  ", Reading::Fault},
        {"{", Reading::Fault},
        {"{\"a\" 1}", Reading::Fault},
        {"{\"a\": 1,}", Reading::Fault},
        {"{1: 2}", Reading::Fault},
        {"[1,]", Reading::Fault},
        {"[1 2]", Reading::Fault},
        {"01", Reading::Fault},
        {"-", Reading::Fault},
        {"--1", Reading::Fault},
        {"+1", Reading::Fault},
        {"1.", Reading::Fault},
        {"tru", Reading::Fault},
        {"truex", Reading::Fault},
        {"nul", Reading::Fault},
        {"\"abc", Reading::Fault},
        {"\"a\x01\"", Reading::Fault},
        {"\"\\x\"", Reading::Fault},
        {"\"\\", Reading::Fault},
        {"{} x", Reading::Fault},
        {std::string("{}\0 x", 4), Reading::Library},
        {"\xc3\xa9", Reading::Fault},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<json> plain = emulator::readPlainHostText(c.text);
        const std::optional<json> library = LibraryReading(c.text);
        EXPECT_EQ(plain.has_value(), c.reading == Reading::Plain);
        EXPECT_EQ(library.has_value(), c.reading != Reading::Fault);
        if (plain && library) {
            EXPECT_TRUE(SameJson(*plain, *library))
                << plain->dump() << " against " << library->dump();
        }
    }
}

// What the emulated host writes, it reads plainly.
TEST(EmulatorHostReading, ReadsTheDefaultHostAndEveryFixturePlainly) {
    std::vector<std::string> texts = {emulator::EmulatedHost::defaultHost().dump(2) + "\n"};
    for (const std::string& text : test_support::FixtureHostTexts()) {
        if (LibraryReading(text))
            texts.push_back(text);
    }
    for (const std::string& text : texts) {
        const std::optional<json> plain = emulator::readPlainHostText(text);
        ASSERT_TRUE(plain.has_value()) << text.substr(0, 200);
        EXPECT_TRUE(SameJson(*plain, json::parse(text)));
    }
}

}  // namespace
}  // namespace emulator_host_reading_test
