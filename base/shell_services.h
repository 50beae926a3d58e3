// The services of the shell that every object uses: the table columns and
// old-style unit texts it prints with, the confirmation question, the one
// reader of input lines, and the settings of the run (output style, host
// name, help printer). The shell implements them; an object reaches them
// through theShell, or by the class name for those that need no shell.
#pragma once

#include <cstdint>
#include <istream>
#include <sstream>
#include <string>

class Help;

class ShellServices {
  public:
    virtual ~ShellServices() = default;

    // --- Settings of the run ---
    [[nodiscard]] virtual bool isNewOutputStyle() const = 0;
    [[nodiscard]] virtual Help* getHelp() const = 0;
    // The host name up to its first "." (shortForm) or whole.
    [[nodiscard]] virtual std::string getHostName(bool shortForm) const = 0;

    // --- Output services ---
    static std::string padText(const std::string& text, int width);
    static std::string padText(const char* text, int width);
    static std::string padNumber(int value, int width);
    static std::string padNumber(unsigned value, int width);
    static std::string padNumber(uint64_t value, int width);
    // Old-style unit texts into caller buffers (63, 31 and 15 bytes); -1
    // for a null buffer.
    static int unitTypeName(unsigned type, char* buffer);
    static int unitStatusName(unsigned char status, char* buffer);
    static int capacityText(uint64_t sectors, char* buffer);
    // A dotted version text as a number: "2.06.00.012" gives 20600012.
    static unsigned long versionNumber(const std::string& version);
    // Asks "Do you want to continue ? Y|N [N]: " after the warning; true
    // for yes. End of input answers no.
    static bool confirm(const std::string& warning);
    static bool confirm(std::stringstream& warning);
    // The long OS description, ending in the build number and a line end.
    static std::string getOsVersion();

    // --- Lines and words ---
    // Reads one line of input, as the prompt, every question and command
    // files do: the line end is consumed and not kept, and a carriage
    // return before it belongs to it (CR LF). On Windows a Ctrl-Z ends the
    // input, as the C runtime's text mode ends a file there: the text
    // before it on its line is a last line. False when no line was read.
    static bool readLine(std::istream& in, std::string& line);
    // Lower-cases a word; a word that begins with "fw" has only those two
    // letters lowered, so a firmware file name keeps its case.
    static void toLower(std::string& word);
    static void toLower(char* word);
    static void replaceWithSpace(std::string& text, char c);
};

// The one shell of the run; null until main has created it.
extern ShellServices* theShell;
