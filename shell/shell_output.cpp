// Output services the object classes share: table columns, the old-style
// unit texts and the confirmation question.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "shell/shell.h"

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

}  // namespace

std::string Shell::padText(const std::string& text, int width) {
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

std::string Shell::padText(const char* text, int width) {
    return padText(std::string(text == nullptr ? "" : text), width);
}

std::string Shell::padNumber(int value, int width) {
    return padded(std::to_string(value), width);
}

std::string Shell::padNumber(unsigned value, int width) {
    return padded(std::to_string(value), width);
}

std::string Shell::padNumber(uint64_t value, int width) {
    return padded(std::to_string(value), width);
}

int Shell::unitTypeName(unsigned type, char* buffer) {
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

int Shell::unitStatusName(unsigned char status, char* buffer) {
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

int Shell::capacityText(uint64_t sectors, char* buffer) {
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

unsigned long Shell::versionNumber(const std::string& version) {
    std::string digits;
    for (char c : version) {
        if (c != '.') {
            digits += c;
        }
    }
    return std::strtoul(digits.c_str(), nullptr, 10);
}

bool Shell::confirm(const std::string& warning) {
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

bool Shell::confirm(std::stringstream& warning) {
    return confirm(warning.str());
}
