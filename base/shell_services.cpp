// The shell's services that need no shell: table columns, the old-style
// unit texts, the confirmation question, the OS description and the one
// reader of input lines.
#include "base/shell_services.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "api/os/os_layer.h"
#include "platform/host_files.h"

namespace {

// Zero-fills a caller buffer of `size` bytes and copies the text into it,
// always leaving a terminating zero.
int copyText(const char* text, char* buffer, size_t size) {
    if (buffer == nullptr) {
        return -1;
    }
    std::memset(buffer, 0, size);
    const size_t length = std::strlen(text);
    std::memcpy(buffer, text, length < size ? length : size - 1);
    return 0;
}

// Byte sizes of the caller buffers of the old-style unit texts.
constexpr size_t kUnitTypeNameSize = 63;
constexpr size_t kUnitStatusNameSize = 31;
constexpr size_t kCapacityTextSize = 15;

std::string padded(std::string text, int width) {
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
        text.append(static_cast<size_t>(width) - text.size(), ' ');
    }
    return text;
}

char lowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether a word begins with "fw" in any case: only those two letters are
// lowered, so a firmware file name keeps its case.
bool isFirmwareWord(const char* word) {
    return (word[0] == 'f' || word[0] == 'F') && (word[1] == 'w' || word[1] == 'W');
}

constexpr char kCtrlZ = '\x1a';

// Cuts the line at a Ctrl-Z and ends the input there: a Ctrl-Z at the
// start of a line leaves no line at all. False when the line has none.
bool endAtCtrlZ(std::istream& in, std::string& line) {
    const std::string::size_type at = line.find(kCtrlZ);
    if (at == std::string::npos)
        return false;
    line.resize(at);
    in.setstate(at == 0 ? std::ios::eofbit | std::ios::failbit : std::ios::eofbit);
    return true;
}

}  // namespace

ShellServices* theShell = nullptr;

std::string ShellServices::padText(const std::string& text, int width) {
    if (width <= 0) {
        return std::string();
    }
    const size_t columns = static_cast<size_t>(width);
    if (text.size() <= columns) {
        return padded(text, width);
    }
    // A cut text keeps one blank before the next column.
    return text.substr(0, columns - 1) + " ";
}

std::string ShellServices::padText(const char* text, int width) {
    return padText(std::string(text == nullptr ? "" : text), width);
}

std::string ShellServices::padNumber(int value, int width) {
    return padded(std::to_string(value), width);
}

std::string ShellServices::padNumber(unsigned value, int width) {
    return padded(std::to_string(value), width);
}

std::string ShellServices::padNumber(uint64_t value, int width) {
    return padded(std::to_string(value), width);
}

int ShellServices::unitTypeName(unsigned type, char* buffer) {
    struct TypeName {
        unsigned type;
        const char* text;
    };
    static const TypeName kNames[] = {
        {0, "RAID 0"},  {1, "RAID 1"}, {2, "RAID 1"},        {5, "RAID 5"},
        {6, "RAID 10"}, {7, "RAID 6"}, {8, "RAID 50"},       {11, "Single Disk"},
        {12, "CBOD"},   {13, "SPARE"}, {14, "RAID SUBUNIT"}, {15, "JBOD"},
    };
    const char* text = "UNKNOWN";
    for (const TypeName& each : kNames) {
        if (each.type == type) {
            text = each.text;
        }
    }
    return copyText(text, buffer, kUnitTypeNameSize);
}

int ShellServices::unitStatusName(unsigned char status, char* buffer) {
    struct StatusName {
        unsigned char status;
        const char* text;
    };
    static const StatusName kNames[] = {
        {0, "INOPERABLE"},     {175, "MIGRATING"}, {223, "REBUILDING"}, {239, "DEGRADED"},
        {247, "INITIALIZING"}, {251, "VERIFYING"}, {255, "OK"},
    };
    const char* text = "UNKNOWN MODE";
    for (const StatusName& each : kNames) {
        if (each.status == status) {
            text = each.text;
        }
    }
    return copyText(text, buffer, kUnitStatusNameSize);
}

int ShellServices::capacityText(uint64_t sectors, char* buffer) {
    if (buffer == nullptr) {
        return -1;
    }
    // Counted in 512-byte sectors, so that no capacity overflows: 2^11
    // sectors make a MB, 2^21 a GB, 2^31 a TB.
    uint64_t unitSectors = uint64_t{1} << 11;
    const char* unit = "MB";
    if (sectors >= (uint64_t{1} << 31)) {
        unitSectors = uint64_t{1} << 31;
        unit = "TB";
    } else if (sectors >= (uint64_t{1} << 21)) {
        unitSectors = uint64_t{1} << 21;
        unit = "GB";
    }
    uint64_t whole = sectors / unitSectors;
    uint64_t thousandths = (sectors % unitSectors) * 1000 / unitSectors;
    if (thousandths % 10 >= 5) {
        ++thousandths;
    }
    uint64_t hundredths = thousandths / 10;
    if (thousandths >= 1000) {
        ++whole;
        hundredths = 0;
    }
    char text[48];
    std::snprintf(text, sizeof(text), "%" PRIu64 ".%02" PRIu64 " %s", whole, hundredths, unit);
    return copyText(text, buffer, kCapacityTextSize);
}

unsigned long ShellServices::versionNumber(const std::string& version) {
    std::string digits;
    for (char c : version) {
        if (c != '.') {
            digits += c;
        }
    }
    return std::strtoul(digits.c_str(), nullptr, 10);
}

bool ShellServices::confirm(const std::string& warning) {
    for (;;) {
        std::cout << warning << std::endl;
        std::cout << "Do you want to continue ? Y|N [N]: " << std::flush;
        std::string answer;
        // End of input (or a failed read) answers no, so the question is
        // never asked again on a stream that has ended.
        if (!readLine(std::cin, answer) || answer.empty()) {
            answer = "n";
        }
        toLower(answer);
        if (answer == "y" || answer == "yes") {
            return true;
        }
        if (answer == "n" || answer == "no") {
            std::cout << "The command is aborted." << std::endl;
            return false;
        }
    }
}

bool ShellServices::confirm(std::stringstream& warning) {
    return confirm(warning.str());
}

std::string ShellServices::getOsVersion() {
    char text[512] = {};
    OsLayer::GetOsVersionText(true, text, sizeof(text));
    text[sizeof(text) - 1] = '\0';
    return text;
}

bool ShellServices::readLine(std::istream& in, std::string& line) {
    std::getline(in, line);
    if (platform::CtrlZEndsText() && endAtCtrlZ(in, line))
        return !in.fail();
    // Without a line end (at the end of the input) a carriage return is
    // part of the text.
    if (!in.eof() && !line.empty() && line.back() == '\r')
        line.pop_back();
    return !in.fail();
}

void ShellServices::toLower(std::string& word) {
    if (word.size() >= 2 && isFirmwareWord(word.c_str())) {
        word[0] = lowerChar(word[0]);
        word[1] = lowerChar(word[1]);
        return;
    }
    for (char& c : word) {
        c = lowerChar(c);
    }
}

void ShellServices::toLower(char* word) {
    if (word == nullptr) {
        return;
    }
    if (word[0] != '\0' && isFirmwareWord(word)) {
        word[0] = lowerChar(word[0]);
        word[1] = lowerChar(word[1]);
        return;
    }
    for (char* c = word; *c != '\0'; ++c) {
        *c = lowerChar(*c);
    }
}

void ShellServices::replaceWithSpace(std::string& text, char c) {
    for (char& each : text) {
        if (each == c) {
            each = ' ';
        }
    }
}
