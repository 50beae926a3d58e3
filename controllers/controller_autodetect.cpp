// The controller setting "autodetect": automatic drive detection switched
// on or off for a list of ports, with the list's grammar and the report of
// which named ports are empty and which hold a drive.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "api/api.h"
#include "base/shell_words.h"
#include "controllers/controller.h"

namespace {

// The list holds at most this many pieces; text beyond them is ignored.
constexpr std::size_t kMaxPieces = 128;
// Port numbers from this one on are no port of any controller. Every
// number of the list is bounded by it, so that a range cannot grow the
// list beyond the ports a controller can have and no large number can
// wrap around to a small port.
constexpr int32_t kPortNumberLimit = 129;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal number at the start of `text` from `start`; a number that
// reaches the limit reads as the limit.
int32_t numberAt(const std::string& text, std::size_t start) {
    return std::min(shell_words::leadingDigits(text.substr(start)), kPortNumberLimit);
}

// The numbers of a set as "[n,m,...]".
std::string numberListText(const std::vector<int32_t>& numbers) {
    std::string text = "[";
    for (int32_t each : numbers)
        text += std::to_string(each) + ",";
    text.back() = ']';
    return text;
}

// Ends the open progress line as failed and raises CLI error `code`.
[[noreturn]] void refusePortList(CliCode code) {
    std::cout << " ...Failed." << std::endl;
    throwError(code);
}

// Ends the open progress line as failed and raises the library's error.
[[noreturn]] void failWithLibraryError() {
    std::cout << " Failed." << std::endl;
    throwApiError();
}

}  // namespace

int Controller::setAutoDetect(std::istream& words, const std::string& word) {
    const std::string value = shell_words::valueAfterEquals(word);
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommand);
    if (family < 4)
        throwError(kInvalidControllerOperation);
    if (value != "on" && value != "off")
        throwError(kInvalidControllerCommand);

    printProgress("Setting Auto-Detect on /" + name + " to [" + value + "]");
    portNumbers.clear();
    ObjectIdList128 ids;
    ids.clear();
    std::string each;
    while (words >> each) {
        toLower(each);
        if (each.find("disk=") == std::string::npos)
            refusePortList(kInvalidControllerCommand);
        const std::string list = shell_words::valueAfterEquals(each);
        if (list != "all") {
            parsePortList("p" + list);
            buildAutoDetectList(&ids);
        } else if (Api::GetPortIdList(objectId, &ids) == 0) {
            std::cout << " for all disks/ports... " << std::flush;
        } else {
            failWithLibraryError();
        }
    }
    const int result = value == "on" ? Api::EnableAutoDetect(objectId, &ids)
                                     : Api::DisableAutoDetect(objectId, &ids);
    if (result != 0)
        throwFailedApiError();
    printDone();
    return 0;
}

bool Controller::parsePortList(const std::string& text) {
    if (text.size() < 2 || !isDigit(text[1]))
        refusePortList(kInvalidPortOrDriveId);
    const std::string list = text.substr(1);
    if (list.find_first_not_of(":-0123456789") != std::string::npos)
        refusePortList(kInvalidPortOrDriveId);
    if (list.back() == ':' || list.back() == '-')
        refusePortList(kInvalidPortOrDriveId);
    for (const char* pair : {"::", "--", ":-", "-:"}) {
        if (list.find(pair) != std::string::npos)
            refusePortList(kInvalidPortOrDriveId);
    }

    // A number that is no port of any controller refuses the whole list.
    const auto take = [this](int32_t port) {
        if (port >= kPortNumberLimit)
            refusePortList(kInvalidPortOrDriveId);
        portNumbers.push_back(port);
    };
    const auto takeRange = [&take](int32_t low, int32_t high) {
        if (high >= kPortNumberLimit)
            refusePortList(kInvalidPortOrDriveId);
        for (int32_t port = low; port <= high; ++port)
            take(port);
    };

    std::size_t start = 0;
    for (std::size_t piece = 0; piece < kMaxPieces; ++piece) {
        const std::size_t separator = list.find_first_of(":-", start);
        if (separator == std::string::npos) {
            take(numberAt(list, start));
            break;
        }
        if (list[separator] == ':') {
            take(numberAt(list, start));
            start = separator + 1;
            continue;
        }
        const int32_t low = numberAt(list, start);
        if (low >= kPortNumberLimit)
            refusePortList(kInvalidPortOrDriveId);
        start = separator + 1;
        const std::size_t next = list.find(':', start);
        if (next == std::string::npos) {
            takeRange(low, numberAt(list, start));
            break;
        }
        takeRange(low, numberAt(list, start));
        start = next + 1;
    }

    portNumbers.sort();
    const std::size_t before = portNumbers.size();
    portNumbers.unique();
    if (portNumbers.size() != before)
        refusePortList(kIdInUse);
    return true;
}

void Controller::buildAutoDetectList(ObjectIdList128* list) {
    std::vector<int32_t> empty;
    std::vector<int32_t> occupied;
    for (int32_t port : portNumbers) {
        ObjectId drive{};
        uint8_t status = 0;
        if (Api::MakeDriveId(static_cast<uint8_t>(number), static_cast<uint8_t>(port), &drive) !=
            0) {
            failWithLibraryError();
        }
        // A number the library takes may still be no port of this controller.
        if (!hasPort(port))
            refusePortList(kInvalidPortOrDriveId);
        if (Api::GetDriveStatus(drive, &status) != 0) {
            failWithLibraryError();
        }
        (IsDrivePresent(status) ? occupied : empty).push_back(port);
    }
    if (!empty.empty()) {
        const std::string text = " for port " + numberListText(empty);
        std::cout << text << (occupied.empty() ? "... " : " ");
    }
    if (!occupied.empty()) {
        std::cout << (empty.empty() ? " for disk " : "and for disk ") << numberListText(occupied)
                  << "... ";
    }
    std::cout << std::flush;

    list->clear();
    for (int32_t port : portNumbers) {
        ObjectId id{};
        if (Api::MakePortId(static_cast<uint8_t>(number), static_cast<uint8_t>(port), &id) != 0) {
            failWithLibraryError();
        }
        if (!list->add(id))
            refusePortList(kInvalidPortOrDriveId);
    }
}
