// The attribute words of a controller's show command on a family-4
// controller object over the fake controller.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/api.h"
#include "controllers/controller_rhosk.h"
#include "rhosk_query_fake.h"
#include "test_support.h"

namespace controller_views_attributes_test {
namespace {

constexpr uint16_t kInfoTable = 0x402;
constexpr uint16_t kSettingsTable = 0x403;

struct AttributeController : FakeRhoskController {
    // The attribute words in turn: standard output, then "!" and the
    // error's message when one ends them.
    std::string show(std::initializer_list<const char*> words) {
        const test_support::Outcome outcome = test_support::Run([&] {
            for (const char* word : words)
                controller->showAttribute(word, 0);
        });
        return outcome.out + (outcome.error ? "!" + *outcome.error : "");
    }

    std::size_t reads(uint16_t table, uint16_t parameter) const {
        std::size_t n = 0;
        for (const auto& access : fw.accesses)
            n += !access.set && access.table == (table | 0x8000) && access.parameter == parameter;
        return n;
    }
};

TEST(ControllerViewsAttributesTest, ModelIsReadOncePerControllerObject) {
    AttributeController c;
    std::vector<uint8_t> model(16, 0);
    std::memcpy(model.data(), "KV-S620RE", 9);
    c.fw.put(kInfoTable, 8, model);
    c.fw.accesses.clear();
    EXPECT_EQ(c.show({"model", "model"}), "/c0 Model = KV-S620RE\n/c0 Model = KV-S620RE\n");
    EXPECT_EQ(c.reads(kInfoTable, 8), 1u);
}

TEST(ControllerViewsAttributesTest, FailedModelPrintsTheMessageAndAnEmptyValue) {
    AttributeController c;
    c.fw.remove(kInfoTable, 8);
    const std::string out = c.show({"model"});
    // The library's message, an empty line, then the line with no value.
    const std::string tail = "\n\n/c0 Model = \n";
    ASSERT_GT(out.size(), tail.size());
    EXPECT_EQ(out.substr(out.size() - tail.size()), tail) << out;
    EXPECT_EQ(out.find("/c0 Model"), out.size() - tail.size() + 2) << out;
}

TEST(ControllerViewsAttributesTest, WordsAndTheirLines) {
    struct Case {
        const char* word;
        const char* out;
    };
    const Case cases[] = {
        {"foo", "'foo' is not a valid controller parameter of the show command.\n"},
        {"numports", "/c0 Number of Ports = 0\n"},
        {"autocarve", "/c0 Auto-Carving Policy = on\n"},
        {"connectioncnt", "!Error: (CLI:024)"},
        {"iostat", "!Error: (CLI:024)"},
        {"phy", "!Error: (CLI:024)"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.word);
        AttributeController c;
        c.fw.putValue(kSettingsTable, 24, 1, 1);
        const std::string out = c.show({k.word});
        EXPECT_EQ(out.substr(0, std::strlen(k.out)), k.out);
    }
}

TEST(ControllerViewsAttributesTest, AutoCarveSetting) {
    AttributeController c;
    c.fw.putValue(kSettingsTable, 24, 0, 1);
    const test_support::Outcome outcome =
        test_support::Run([&] { c.controller->setAutoCarve("autocarve=maybe"); });
    const std::string error = outcome.error.value_or("");
    EXPECT_EQ(outcome.out, "Setting Auto-Carving Policy on /c0 to [maybe] ... Failed.\n");
    EXPECT_EQ(error.substr(0, 17), "Error: (CLI:033) ");
    EXPECT_EQ(c.fw.value(kSettingsTable, 24), 0u);
}

}  // namespace
}  // namespace controller_views_attributes_test
