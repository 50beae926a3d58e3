// Message lookups for every source and the per-language message files.
#include "api/api_messages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "api_test_host.h"

namespace api_messages_test {
namespace {

class ApiMessagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetHost(std::make_unique<SystemMessagesHost>());
        char pattern[] = "/tmp/kv_api_messages_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        for (const char* name : {"kv_msg_de", "kv_msg_fr", "ost_msg_de"}) {
            std::remove((dir_ + "/" + name).c_str());
        }
        std::remove(dir_.c_str());
        theApiMessages.reset();
        platform::SetHost(nullptr);
    }
    void writeFile(const char* name, const std::string& content) {
        std::ofstream(dir_ + "/" + name) << content;
    }
    std::string lookup(uint32_t source, uint32_t code, uint8_t language = 0) {
        return theApiMessages.LookupMessage(source, code, dir_.c_str(), language);
    }
    std::string dir_;
};

TEST_F(ApiMessagesTest, BuiltinLookupsOfEverySource) {
    struct Case {
        uint32_t source, code;
        const char* expected;
    } cases[] = {
        {0, 1, ""},   // no source 0
        {27, 1, ""},  // past the last source
        {1, 11, "(0x01:0x000B): API"},
        {1, 25, "(0x01:0x0019): No SunOS Prane driver"},
        {1, 19, ""},  // a source without a name
        {2, 0, ""},
        {2, 2, "(0x02:0x0002): WARNING"},
        {2, 4, "(0x02:0x0004): DEBUG"},
        {2, 5, ""},
        {3, 0x0100, "(0x03:0x0100): SGL entry contains zero data"},
        {3, 0x3110, "(0x03:0x3110): Error manufacturing diagnostic test-Invalid Request failed"},
        {4, 0x0000, "(0x04:0x0000): AEN queue empty"},
        {4, 0x804B, "(0x04:0x804B): Enclosure audio alarm status unknown"},
        {5, 0, ""},  // sources without a table
        {7, 0x1001, "(0x07:0x1001): Not locked"},
        {7, 0x8007, "(0x07:0x8007): cannot execute command"},
        {10, 5, "(0x0A:0x0005): Access is denied.\r\n"},
        {10, 6, ""},
        {11, 1, "(0x0B:0x0001): No controller"},
        {11, 4, ""},  // its row text is empty
        {11, 69, "(0x0B:0x0045): Failed to remove device node; Are all filesystems unmounted?"},
        {11, 133, "(0x0B:0x0085): JBOD configuration not supported for SAS drive."},
        {11, 134, ""},
        {12, 0, ""},
        {13, 0, ""},
        {14, 0x00C4, "(0x0E:0x00C4): Invalid port map"},
        {14, 0x51C7, "(0x0E:0x51C7): Unclassified disk error"},
        {15, 2, "1(0x0F:0x0002): Unit degraded: Unit #"},
        {15, 0x30, "1(0x0F:0x0030): Drive not supported: Port #"},
        {15, 0x0E, ""},
        {18, 0, ""},
        {18, 2, ""},
        {19, 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookup(c.source, c.code), c.expected)
            << "source " << c.source << " code " << c.code;
    }
}

TEST_F(ApiMessagesTest, TablesHoldEveryRowAndUniqueCodes) {
    struct Case {
        uint32_t source;
        std::size_t rows;
    } cases[] = {{1, 25}, {3, 271}, {4, 154}, {7, 11}, {11, 134}, {14, 77}, {15, 31}, {18, 0}};
    for (const auto& c : cases) {
        const MessageRow* table = BuiltinMessageTable(c.source);
        ASSERT_NE(table, nullptr) << c.source;
        std::size_t n = 0;
        std::set<uint32_t> codes;
        for (; table[n].code != kMessageEndCode; ++n)
            codes.insert(table[n].code);
        EXPECT_EQ(n, c.rows) << "source " << c.source;
        EXPECT_EQ(codes.size(), c.rows) << "source " << c.source;
        EXPECT_STREQ(table[n].text, "");
    }
}

TEST_F(ApiMessagesTest, ATextStaysValidThroughNineFurtherLookups) {
    // Ten ring slots: the tenth further lookup reuses the first one's slot.
    const char* first = theApiMessages.LookupMessage(11, 1, "", 0);
    const std::string copy = first;
    for (int i = 0; i < 9; ++i)
        theApiMessages.LookupMessage(11, 2, "", 0);
    EXPECT_EQ(std::string(first), copy);
    // An empty lookup frees its slot but does not advance: the next
    // successful lookup fills the same slot.
    for (int i = 0; i < 9; ++i)
        theApiMessages.LookupMessage(11, 2, "", 0);
    EXPECT_STREQ(theApiMessages.LookupMessage(11, 4, "", 0), "");
    const char* after = theApiMessages.LookupMessage(11, 8, "", 0);
    for (int i = 0; i < 9; ++i)
        theApiMessages.LookupMessage(11, 2, "", 0);
    EXPECT_STREQ(after, "(0x0B:0x0008): Invalid controller ID");
}

TEST_F(ApiMessagesTest, MessageFileRowsAndFallbacks) {
    writeFile("kv_msg_de",
              "#0x03:3\n"
              "0x0100:\"skipped 1\"\n"
              "0x0101:\"skipped 2\"\n"
              "0x0102:\"skipped 3\"\n"
              "#0x0B:5\n"
              "0x0001:\"Kein Controller\"\n"
              "0x0002:\"\"\n"
              "0x0003:\"mit \"Zitat\" drin\" trailing\n"
              "0x0005:\"no closing quote\n"
              "0x0007:\"Speicher\"\n"
              "#0x0B:1\n"
              "0x0008:\"second section is never read\"\n");
    struct Case {
        const char* what;
        uint32_t source, code;
        const char* expected;
    } cases[] = {
        {"row of the wanted section after a skipped one", 11, 1, "(0x0B:0x0001): Kein Controller"},
        {"empty row text falls back to the built-in text", 11, 2,
         "(0x0B:0x0002): Feature not supported"},
        {"text runs to the last quote", 11, 3, "(0x0B:0x0003): mit \"Zitat\" drin"},
        {"no closing quote: empty, built-in text", 11, 5,
         "(0x0B:0x0005): Invalid driver control code"},
        {"last row", 11, 7, "(0x0B:0x0007): Speicher"},
        {"only the first section is searched", 11, 8, "(0x0B:0x0008): Invalid controller ID"},
        {"the skipped section's own rows", 3, 0x0100, "(0x03:0x0100): skipped 1"},
        {"source without a section", 7, 0x1001, "(0x07:0x1001): Not locked"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookup(c.source, c.code, 1), c.expected) << c.what;
    }
    // Another language has no file: built-in texts.
    EXPECT_EQ(lookup(11, 1, 5), "(0x0B:0x0001): No controller");
}

TEST_F(ApiMessagesTest, MalformedMessageFilesEndTheSearch) {
    struct Case {
        const char* what;
        const char* content;
    } cases[] = {
        {"text before the first header", "hello\n#0x0B:1\n0x0001:\"x\"\n"},
        {"header with one field", "#0x0B\n0x0001:\"x\"\n"},
        {"file ends while skipping", "#0x03:5\n0x0100:\"a\"\n"},
        {"a line that is no row inside the section", "#0x0B:2\nnot a row\n0x0001:\"x\"\n"},
        {"row without its opening quote", "#0x0B:1\n0x0001:x\"\n"},
        {"short row", "#0x0B:1\n0x1:\"\n"},
    };
    for (const auto& c : cases) {
        writeFile("kv_msg_de", c.content);
        char buffer[kMessageTextSize];
        EXPECT_STREQ(theApiMessages.FindFileText(buffer, 11, 1, dir_.c_str(), 1), "") << c.what;
        EXPECT_EQ(lookup(11, 1, 1), "(0x0B:0x0001): No controller") << c.what;
    }
}

TEST_F(ApiMessagesTest, FilePrefixFollowsTheSource) {
    writeFile("ost_msg_de", "#0x0B:1\n0x0001:\"wrong prefix\"\n#0x0C:1\n0x0001:\"ost\"\n");
    char buffer[kMessageTextSize];
    // Source 11 reads kv_msg_de only; source 12 reads ost_msg_de; source 10 none.
    EXPECT_STREQ(theApiMessages.FindFileText(buffer, 11, 1, dir_.c_str(), 1), "");
    EXPECT_STREQ(theApiMessages.FindFileText(buffer, 12, 1, dir_.c_str(), 1), "ost");
    EXPECT_STREQ(theApiMessages.FindFileText(buffer, 10, 1, dir_.c_str(), 1), "");
    // Past the language table: no file name.
    EXPECT_STREQ(theApiMessages.FindFileText(buffer, 12, 1, dir_.c_str(), 8), "");
}

}  // namespace
}  // namespace api_messages_test
