// Line handling: the reading of input lines, and the normalisation,
// lower-casing and word preparation of lines typed at the prompt or given
// as arguments.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "shell/shell.h"

namespace shell_lines_test {
namespace {

struct LineCase {
    std::string in;
    std::string out;
};

TEST(ShellLines, NormalizeLine) {
    const LineCase cases[] = {
        {"", ""},
        {" \t  \t", ""},
        {"a = b", "a=b"},
        {"a= b", "a=b"},
        {"a =b", "a=b"},
        {"a=b", "a=b"},
        {"  /c0   show\t\tver  ", "/c0 show ver"},
        // A word after a joined pair is set off by two blanks.
        {"a=b c", "a=b  c"},
        {"/c0/u1 set name = My Unit", "/c0/u1 set name=My  Unit"},
        {"x=1=2", "x=1 =2"},
        {"a =", "a="},
        {"= b", "=b"},
        {"=", "="},
        // Carriage returns and other white space separate words too.
        {"/c0 show\r", "/c0 show"},
        {"show\vver", "show ver"},
    };
    for (const LineCase& c : cases) {
        std::string line = c.in;
        Shell::normalizeLine(line);
        EXPECT_EQ(line, c.out) << "'" << c.in << "'";
    }
}

TEST(ShellLines, ToLower) {
    const LineCase cases[] = {
        {"SHOW", "show"},
        {"/C0/U1", "/c0/u1"},
        {"FW=C:\\Image.IMG", "fw=C:\\Image.IMG"},
        {"Fw=X", "fw=X"},
        {"fW", "fw"},
        {"F", "f"},
        {"FX=ABC", "fx=abc"},
        {"", ""},
        // Only A to Z are lowered; other bytes stay.
        {"\xC4\xD6-AZ_[@", "\xC4\xD6-az_[@"},
    };
    for (const LineCase& c : cases) {
        std::string word = c.in;
        Shell::toLower(word);
        EXPECT_EQ(word, c.out) << "'" << c.in << "'";

        std::string buffer = c.in;
        Shell::toLower(buffer.data());
        EXPECT_EQ(buffer, c.out) << "char array '" << c.in << "'";
    }
    Shell::toLower(static_cast<char*>(nullptr));
}

TEST(ShellLines, PrepareWords) {
    const LineCase cases[] = {
        {"/C0 SHOW", "/c0 show"},
        {"NAME=DataDisk", "name=DataDisk"},
        {"/C0/U1 SET NAME=Db", "/c0/u1 set name=Db"},
        {"rename=X", "name=X"},
        {"/c0/u0 set Name=", "/c0/u0 set name="},
        {"/C0 UPDATE FW=C:\\Fw\\Image.IMG FORCE", "/c0 update fw=C:\\Fw\\Image.IMG  force"},
        {"", ""},
    };
    for (const LineCase& c : cases) {
        std::string line = c.in;
        Shell::normalizeLine(line);
        EXPECT_EQ(Shell::prepareWords(line), c.out) << "'" << c.in << "'";
    }
}

// The lines readLine gives for an input, each followed by "|", and "$"
// once it reports that no line was read.
std::string linesRead(const std::string& input) {
    std::istringstream in(input);
    std::string lines;
    std::string line;
    for (int i = 0; i < 8; ++i) {
        if (!Shell::readLine(in, line))
            return lines + "$";
        lines += line + "|";
    }
    return lines;
}

TEST(ShellLines, ReadLine) {
    const LineCase cases[] = {
        {"a\nb\n", "a|b|$"},
        {"a\r\nb\r\n", "a|b|$"},
        {"\r\n\n", "||$"},
        {"a", "a|$"},
        // Only the carriage return before a line feed ends a line.
        {"a\r", "a\r|$"},
        {"a\rb\n", "a\rb|$"},
        {"a\r\r\n", "a\r|$"},
        {"", "$"},
#ifdef _WIN32
        // Ctrl-Z ends the input; the text before it is a last line.
        {"a\n\032\nb\n", "a|$"},
        {"a\032b\nc\n", "a|$"},
        {"a\n\032", "a|$"},
#else
        // Elsewhere Ctrl-Z is an ordinary character.
        {"a\n\032\nb\n", "a|\032|b|$"},
        {"a\032b\nc\n", "a\032b|c|$"},
        {"a\n\032", "a|\032|$"},
#endif
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(linesRead(c.in), c.out) << "'" << c.in << "'";
    }
}

TEST(ShellLines, ReplaceWithSpace) {
    std::string text = "sun:1:2::";
    Shell::replaceWithSpace(text, ':');
    EXPECT_EQ(text, "sun 1 2  ");
}

}  // namespace
}  // namespace shell_lines_test
