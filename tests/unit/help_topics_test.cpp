// The help texts, compared line for line with the expected output kept in
// tests/fixtures/help/*.txt. Each fixture file is a list of sections:
//
//   === <new|old> help <focus|all> [words...]   the "help" command
//   === <new|old> call <operation> [word]       one topic operation
//
// followed by the exact lines printed (empty lines included). A last line
// "!!! <message>" says that the command ends with that error after the
// lines before it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/help.h"
#include "base/kv_exception.h"
#include "test_support.h"

namespace help_topics_test {
namespace {

// Sets KV_CLI_STYLE (or unsets it for a null value) while alive.
class StyleSetting {
  public:
    explicit StyleSetting(const char* value) {
        const char* old = std::getenv("KV_CLI_STYLE");
        hadOld_ = old != nullptr;
        if (hadOld_) {
            old_ = old;
        }
        if (value == nullptr) {
            unsetenv("KV_CLI_STYLE");
        } else {
            setenv("KV_CLI_STYLE", value, 1);
        }
    }
    ~StyleSetting() {
        if (hadOld_) {
            setenv("KV_CLI_STYLE", old_.c_str(), 1);
        } else {
            unsetenv("KV_CLI_STYLE");
        }
    }
    StyleSetting(const StyleSetting&) = delete;
    StyleSetting& operator=(const StyleSetting&) = delete;

  private:
    bool hadOld_ = false;
    std::string old_;
};

using WordTopic = void (Help::*)(const std::string&);
using PlainTopic = void (Help::*)();

const std::map<std::string, WordTopic>& wordTopics() {
    static const std::map<std::string, WordTopic> topics = {
        {"showShellHelp", &Help::showShellHelp},
        {"showControllerHelp", &Help::showControllerHelp},
        {"showBbuHelp", &Help::showBbuHelp},
        {"showUnitHelp", &Help::showUnitHelp},
        {"showUnitStartHelp", &Help::showUnitStartHelp},
        {"showUnitPauseHelp", &Help::showUnitPauseHelp},
        {"showUnitResumeHelp", &Help::showUnitResumeHelp},
        {"showUnitStopHelp", &Help::showUnitStopHelp},
        {"showPortHelp", &Help::showPortHelp},
        {"showPortShowHelp", &Help::showPortShowHelp},
        {"showPortSetHelp", &Help::showPortSetHelp},
        {"showPhyHelp", &Help::showPhyHelp},
        {"showEnclosureHelp", &Help::showEnclosureHelp},
        {"showControllerEnclosureHelp", &Help::showControllerEnclosureHelp},
        {"showEnclosureSlotHelp", &Help::showEnclosureSlotHelp},
        {"showControllerEnclosureSlotHelp", &Help::showControllerEnclosureSlotHelp},
        {"showEnclosureFanHelp", &Help::showEnclosureFanHelp},
        {"showControllerEnclosureFanHelp", &Help::showControllerEnclosureFanHelp},
        {"showEnclosureTempSensorHelp", &Help::showEnclosureTempSensorHelp},
        {"showControllerEnclosureTempSensorHelp", &Help::showControllerEnclosureTempSensorHelp},
        {"showEnclosurePowerSupplyHelp", &Help::showEnclosurePowerSupplyHelp},
        {"showEnclosureAlarmHelp", &Help::showEnclosureAlarmHelp},
        {"showEnclosureDoorHelp", &Help::showEnclosureDoorHelp},
    };
    return topics;
}

const std::map<std::string, PlainTopic>& plainTopics() {
    static const std::map<std::string, PlainTopic> topics = {
        {"showMaintCreateUnitHelp", &Help::showMaintCreateUnitHelp},
        {"showUnitFlushHelp", &Help::showUnitFlushHelp},
        {"showUnitDelHelp", &Help::showUnitDelHelp},
        {"showUnitSetHelp", &Help::showUnitSetHelp},
        {"showUnitRemoveHelp", &Help::showUnitRemoveHelp},
        {"showUnitMigrateHelp", &Help::showUnitMigrateHelp},
        {"showEnclosureSlotShowHelp", &Help::showEnclosureSlotShowHelp},
        {"showControllerEnclosureSlotShowHelp", &Help::showControllerEnclosureSlotShowHelp},
        {"showEnclosureSlotSetHelp", &Help::showEnclosureSlotSetHelp},
        {"showControllerEnclosureSlotSetHelp", &Help::showControllerEnclosureSlotSetHelp},
    };
    return topics;
}

struct Section {
    std::string file;
    std::string header;    // the text after "=== "
    std::string expected;  // every line with its line end, the error line too
};

std::string fixtureDir() {
    const char* dir = std::getenv("KV_TEST_FIXTURES");
    return std::string(dir != nullptr ? dir : "tests/fixtures") + "/help/";
}

std::vector<Section> loadSections(const std::string& file) {
    std::ifstream in(fixtureDir() + file);
    std::vector<Section> sections;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("=== ", 0) == 0) {
            sections.push_back({file, line.substr(4), ""});
        } else if (!sections.empty()) {
            sections.back().expected += line + "\n";
        }
    }
    return sections;
}

// Runs the command a section header names and returns what it printed,
// with a final "!!! " line for the error it raised.
std::string runSection(const std::string& header) {
    std::istringstream words(header);
    std::string style;
    std::string kind;
    words >> style >> kind;
    StyleSetting setting(style == "old" ? "OLD" : nullptr);
    Help help;
    const test_support::Outcome outcome = test_support::Run([&] {
        if (kind == "help") {
            std::string mode;
            words >> mode;
            help.showHelp(words, mode);
        } else {
            std::string operation;
            std::string word;
            words >> operation >> word;
            auto withWord = wordTopics().find(operation);
            if (withWord != wordTopics().end()) {
                (help.*(withWord->second))(word);
            } else {
                (help.*(plainTopics().at(operation)))();
            }
        }
    });
    // The error's message ends in its own line end.
    return outcome.out + (outcome.error ? "!!! " + *outcome.error : "");
}

// The fixture files, each holding sections (HelpFixtureFiles checks that
// every one is there: a missing one would take its cases away unseen).
constexpr const char* kFixtureFiles[] = {"general.txt", "shell_topics.txt", "controller_topics.txt",
                                         "unit_topics.txt", "enclosure_topics.txt"};

std::vector<Section> allSections() {
    std::vector<Section> all;
    for (const char* file : kFixtureFiles) {
        std::vector<Section> sections = loadSections(file);
        all.insert(all.end(), sections.begin(), sections.end());
    }
    return all;
}

class HelpFixtureTest : public testing::TestWithParam<Section> {};

TEST_P(HelpFixtureTest, PrintsExactText) {
    const Section& section = GetParam();
    EXPECT_EQ(runSection(section.header), section.expected)
        << section.file << ": " << section.header;
}

INSTANTIATE_TEST_SUITE_P(Sections, HelpFixtureTest, testing::ValuesIn(allSections()),
                         [](const testing::TestParamInfo<Section>& info) {
                             std::string name = std::to_string(info.index) + "_";
                             for (char c : info.param.header) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(HelpStyle, OldOnlyForOldInAnyCase) {
    struct Case {
        const char* value;  // null: variable unset
        bool newStyle;
    };
    const Case cases[] = {
        {"OLD", false}, {"old", false},  {"Old", false},  {"new", true},
        {"", true},     {"OLDER", true}, {nullptr, true},
    };
    for (const Case& c : cases) {
        StyleSetting setting(c.value);
        EXPECT_EQ(Help().isNewStyle(), c.newStyle) << (c.value ? c.value : "(unset)");
    }
}

TEST(HelpFixtureFiles, AreFound) {
    for (const char* file : kFixtureFiles)
        EXPECT_FALSE(loadSections(file).empty()) << fixtureDir() << file;
}

}  // namespace
}  // namespace help_topics_test
