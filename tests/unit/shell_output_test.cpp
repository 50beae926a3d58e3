// Output services: table columns, the old-style unit texts, capacities,
// the confirmation question and the progress line a failure closes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "shell/progress_line.h"
#include "shell/shell.h"
#include "test_support.h"

namespace shell_output_test {
namespace {

// A failure that ends the run from inside a library call ends the line the
// running command flushed and left open with "Failed."; a line ended, one
// never flushed (a table row being built) and what stood on the line
// before the command (the prompt) are left alone.
TEST(ShellOutput, AnOpenProgressLineIsClosedAsFailed) {
    struct Case {
        const char* before;  // flushed before the command starts
        const char* written;
        bool flushed;
        const char* out;
    };
    const Case cases[] = {
        {"", "Setting X on /c0 to [on] ... ", true, "Setting X on /c0 to [on] ... Failed.\n"},
        {"", "Done.\nRemoving /c0/u1 ... ", true, "Done.\nRemoving /c0/u1 ... Failed.\n"},
        {"", "Setting X on /c0 to [on] ... Done.\n", true, "Setting X on /c0 to [on] ... Done.\n"},
        {"", "u0  RAID-5  ", false, "u0  RAID-5  "},
        {"//kvhost> ", "", true, ""},
    };
    for (const Case& c : cases) {
        std::ostringstream captured;
        std::streambuf* const saved = std::cout.rdbuf(captured.rdbuf());
        {
            const ProgressLineWatch watch;
            std::cout << c.before << std::flush;
            ProgressLineWatch::commandStarts();
            std::cout << c.written;
            if (c.flushed)
                std::cout << std::flush;
            ProgressLineWatch::closeAsFailed();
        }
        std::cout.rdbuf(saved);
        EXPECT_EQ(captured.str(), std::string(c.before) + c.out) << c.written;
    }
}

TEST(ShellOutput, PadText) {
    struct Case {
        const char* text;
        int width;
        const char* out;
    };
    const Case cases[] = {
        {"abc", 5, "abc  "},
        {"abcde", 5, "abcde"},     // exactly the width: touches the next
                                   // column
        {"abcdefgh", 5, "abcd "},  // cut, with one blank kept
        {"", 3, "   "},
        {"ab", 1, " "},
        {"ab", 0, ""},
        {"ab", -4, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shell::padText(std::string(c.text), c.width), c.out) << c.text << "/" << c.width;
        EXPECT_EQ(Shell::padText(c.text, c.width), c.out) << c.text << "/" << c.width;
    }
    EXPECT_EQ(Shell::padText(static_cast<const char*>(nullptr), 2), "  ");
}

TEST(ShellOutput, PadNumber) {
    EXPECT_EQ(Shell::padNumber(12345, 3), "12345");  // never cut
    EXPECT_EQ(Shell::padNumber(7, 3), "7  ");
    EXPECT_EQ(Shell::padNumber(-7, 4), "-7  ");
    EXPECT_EQ(Shell::padNumber(4294967295u, 12), "4294967295  ");
    EXPECT_EQ(Shell::padNumber(uint64_t{18446744073709551615u}, 4), "18446744073709551615");
}

TEST(ShellOutput, UnitTypeAndStatusNames) {
    const std::pair<unsigned, const char*> types[] = {
        {0, "RAID 0"},        {1, "RAID 1"},  {2, "RAID 1"},       {3, "UNKNOWN"}, {6, "RAID 10"},
        {7, "RAID 6"},        {8, "RAID 50"}, {11, "Single Disk"}, {12, "CBOD"},   {13, "SPARE"},
        {14, "RAID SUBUNIT"}, {15, "JBOD"},   {16, "UNKNOWN"},
    };
    for (const auto& [type, text] : types) {
        char buffer[63];
        std::memset(buffer, 'x', sizeof(buffer));
        ASSERT_EQ(Shell::unitTypeName(type, buffer), 0);
        EXPECT_STREQ(buffer, text) << type;
        EXPECT_EQ(buffer[sizeof(buffer) - 1], '\0');  // the rest is zero-filled
    }
    const std::pair<unsigned char, const char*> statuses[] = {
        {0, "INOPERABLE"},     {175, "MIGRATING"}, {223, "REBUILDING"}, {239, "DEGRADED"},
        {247, "INITIALIZING"}, {251, "VERIFYING"}, {255, "OK"},         {254, "UNKNOWN MODE"},
    };
    for (const auto& [status, text] : statuses) {
        char buffer[31];
        std::memset(buffer, 'x', sizeof(buffer));
        ASSERT_EQ(Shell::unitStatusName(status, buffer), 0);
        EXPECT_STREQ(buffer, text) << static_cast<int>(status);
        EXPECT_EQ(buffer[sizeof(buffer) - 1], '\0');
    }
    EXPECT_EQ(Shell::unitTypeName(2, nullptr), -1);
    EXPECT_EQ(Shell::unitStatusName(255, nullptr), -1);
}

TEST(ShellOutput, CapacityText) {
    const uint64_t gib = uint64_t{1} << 21;  // sectors
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "0.00 MB"},
        {1, "0.00 MB"},
        {2048, "1.00 MB"},
        {gib - 1, "1024.00 MB"},
        {gib, "1.00 GB"},
        {gib + gib / 8, "1.12 GB"},  // 1.125: only a ninth thousandth rounds up
        {gib + gib * 129 / 1000 + 1, "1.13 GB"},
        {gib + gib * 995 / 1000 + 1, "1.99 GB"},
        {gib + gib * 999 / 1000 + 1, "2.00 GB"},
        {976773168, "465.76 GB"},
        {(uint64_t{1} << 31) - 1, "1024.00 GB"},  // the carry stays in the unit
        {uint64_t{1} << 31, "1.00 TB"},
        // Sector counts whose byte count does not fit in 64 bits.
        {uint64_t{1} << 56, "33554432.00 TB"},
    };
    for (const auto& [sectors, text] : cases) {
        char buffer[15];
        ASSERT_EQ(Shell::capacityText(sectors, buffer), 0);
        EXPECT_STREQ(buffer, text) << sectors;
    }
    // The largest count is cut to the buffer, never written past it.
    char guarded[20];
    std::memset(guarded, '#', sizeof(guarded));
    ASSERT_EQ(Shell::capacityText(UINT64_MAX, guarded), 0);
    EXPECT_EQ(std::strlen(guarded), 14u);
    EXPECT_EQ(guarded[15], '#');
    EXPECT_EQ(Shell::capacityText(1, nullptr), -1);
}

TEST(ShellOutput, VersionNumber) {
    EXPECT_EQ(Shell::versionNumber("2.06.00.012"), 20600012ul);
    EXPECT_EQ(Shell::versionNumber(""), 0ul);
    EXPECT_EQ(Shell::versionNumber("1.2x"), 12ul);
}

// Runs confirm with `input` as the standard input; returns its answer and
// what it wrote.
bool confirmWith(const std::string& input, std::string* output) {
    std::istringstream in(input);
    std::streambuf* oldIn = std::cin.rdbuf(in.rdbuf());
    bool answer = false;
    *output = test_support::Output([&] {
        std::stringstream warning;
        warning << "Deleting unit u0.";
        answer = Shell::confirm(warning);
    });
    std::cin.rdbuf(oldIn);
    std::cin.clear();
    return answer;
}

TEST(ShellOutput, Confirm) {
    const std::string question = "Deleting unit u0.\nDo you want to continue ? Y|N [N]: ";
    const std::string aborted = "The command is aborted.\n";
    struct Case {
        const char* input;
        bool answer;
        std::string output;
    };
    const Case cases[] = {
        {"y\n", true, question},
        {"YES\n", true, question},
        {"N\n", false, question + aborted},
        {"No\n", false, question + aborted},
        {"\n", false, question + aborted},
        {"maybe\nyes\n", true, question + question},
        {"maybe\n", false, question + question + aborted},  // end of input answers no
        {"", false, question + aborted},
        {"yes", true, question},  // a last answer without a line end
        // An answer read as any input line: CR LF is a line end.
        {"y\r\n", true, question},
        {"No\r\n", false, question + aborted},
        {"maybe\r\ny\r\n", true, question + question},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(confirmWith(c.input, &output), c.answer) << "'" << c.input << "'";
        EXPECT_EQ(output, c.output) << "'" << c.input << "'";
    }
}

}  // namespace
}  // namespace shell_output_test
