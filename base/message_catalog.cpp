#include "base/message_catalog.h"

#include <cstdio>
#include <iostream>
#include <new>
#include <utility>

#include "base/kv_exception.h"

namespace {

struct CatalogEntry {
    int code;
    const char* text;
};

// The catalog's texts; a "\n" inside a text breaks the printed message
// into two lines.
constexpr CatalogEntry kEntries[] = {
    {1, "Only root/administrator can run this program."},
    {2, "Syntax Error."},
    {3, "Specified controller does not exist."},
    {4,
     "Firmware not compatible, please make sure you are running corresponding firmware & "
     "software."},
    {5, "Invalid command filename."},
    {6, "Specified unit does not exist."},
    {7, "Invalid ID specified."},
    {8, "Invalid ID specified.  Found a specified ID already in use."},
    {9, "Invalid port specified."},
    {10, "Invalid number of ports/drives specified."},
    {11, "Invalid command."},
    {12, "Invalid argument in info command."},
    {13, "Invalid argument in help command."},
    {14, "Invalid argument in set command."},
    {15, "Invalid argument in alarms command."},
    {16, "Invalid argument in maint command."},
    {17, "Invalid argument in sched command."},
    {18, "Invalid unit configuration detected."},
    {19, "Invalid operation for the current state of the specified unit."},
    {20, "Invalid operation for the current state of the specified port."},
    {21, "Failed to instantiate an object."},
    {22, "Failed to add drive."},
    {23, "No controller detected.\nMake sure respective device drivers are loaded."},
    {24, "Invalid operation(s) for the specified controller."},
    {25, "Invalid operation(s) for the specified unit."},
    {26, "Invalid RAID type or invalid RAID type for controller specified."},
    {27, "Invalid stripe size specified."},
    {28, "Invalid AEN Code."},
    {29, "Invalid operation on the specified controller architecture and unit type."},
    {30, "Invalid RAID-50 disk group."},
    {31, "Invalid controller command."},
    {32, "Invalid controller command syntax."},
    {33, "Invalid controller command value."},
    {34, "Invalid port command of the controller."},
    {35, "Invalid port command."},
    {36, "Invalid port command syntax."},
    {37, "Invalid port command value."},
    {38, "Invalid unit command."},
    {39, "Invalid unit command syntax."},
    {40, "Invalid unit command value."},
    {41, "Invalid shell command."},
    {42, "Invalid shell command URI specified."},
    {43, "Invalid shell command syntax."},
    {44, "Invalid shell command value."},
    {45, "Invalid unit migration path."},
    {46, "Invalid unit migration RAID type."},
    {47, "Invalid migration excluded drive(s)."},
    {48, "Invalid background task slot number."},
    {49, "Invalid background task time specification."},
    {50, "Invalid BBU."},
    {51, "Invalid BBU command."},
    {52, "Invalid BBU command syntax."},
    {53, "Invalid BBU command value."},
    {54, "Remote services are not supported with this software."},
    {55, "Invalid feature, only available with KV_CLI_INPUT_STYLE=new"},
    {56, "Invalid argument in show command."},
    {57, "Invalid argument in add command."},
    {58, "Either BBU detection on the controller is disabled or BBU is not present."},
    {59, "Battery Backup Unit is not present."},
    {60, "Battery is not present."},
    {61, "Invalid background task day specification."},
    {62, "Invalid set command."},
    {63, "Invalid set rebuild command."},
    {64, "Invalid set verify command."},
    {65, "Invalid set selftest command."},
    {66, "Invalid unit show command."},
    {67, "Invalid flush command."},
    {68, "Invalid start command."},
    {69, "Invalid start rebuild command."},
    {70, "Invalid start verify command."},
    {71, "Invalid stop command."},
    {72, "Invalid stop rebuild command."},
    {73, "Invalid stop verify command."},
    {74, "Invalid pause command."},
    {75, "Invalid pause rebuild command."},
    {76, "Invalid resume command."},
    {77, "Invalid resume rebuild command."},
    {78, "Invalid unit del command."},
    {79, "Invalid unit export command."},
    {80, "Invalid unit set command."},
    {81, "Invalid unit set cache command."},
    {82, "Invalid unit set autoverify command."},
    {83, "Invalid unit set ignoreECC command."},
    {84, "Invalid port show command."},
    {85, "Invalid port remove/export command."},
    {86, "Invalid port set identify command."},
    {87, "Invalid port set command."},
    {88, "Failed to export a drive which belongs to a migrating unit."},
    {89, "Invalid rescan command."},
    {90, "Invalid show command."},
    {91, "Invalid flush command."},
    {92, "Invalid update command."},
    {93, "Invalid commit command."},
    {94, "Invalid OS architecture for the application."},
    {95, "Invalid image filename or update command syntax."},
    {96, "Invalid file size."},
    {97, "Can not open the file specified."},
    {98, "Failed to allocate the memory buffer for the specified file."},
    {99, "Failed to read the data in the specified file."},
    {100, "Invalid unit set name command."},
    {101, "Specified unit name is too long."},
    {102, "Invalid unit show name command."},
    {103, "Invalid unit show serial command."},
    {104, "Invalid unit show volume command."},
    {105, "Invalid unit set identify command."},
    {106, "Invalid unit set queuing policy command."},
    {107, "Invalid unit show queuing policy command."},
    {108, "Invalid unit set keepwell policy command."},
    {109, "Invalid unit show keepwell policy command."},
    {110, "Invalid unit set keepwell operation.  Use this command when write cache is on."},
    {111, "Device not found."},
    {112, "Specified enclosure does not exist."},
    {113, "Specified enclosure slot does not exist."},
    {114, "Specified enclosure fan does not exist."},
    {115, "Invalid enclosure command syntax."},
    {116, "Invalid enclosure command."},
    {117, "Invalid enclosure show command."},
    {118, "Invalid door command syntax."},
    {119, "Invalid door command."},
    {120, "Invalid slot command syntax."},
    {121, "Invalid slot command."},
    {122, "Invalid fan command syntax."},
    {123, "Invalid fan command."},
    {124, "Invalid alarm command syntax."},
    {125, "Invalid alarm command."},
    {126, "Invalid temperature sensor command syntax."},
    {127, "Specified enclosure temperature sensor does not exist."},
    {128, "Invalid power supply command syntax."},
    {129, "Specified enclosure power supply does not exist."},
    {130, "No mapping between the enclosure number to controller."},
    {131, "Invalid object to convert."},
    {132, "Invalid identify command."},
    {133, "Invalid identify command syntax."},
    {134, "Invalid LUN carving size specified; valid range=[1024..32768]."},
    {135, "Invalid parity number specified."},
    {136, "Invalid phy specified."},
    {137, "Invalid phy command."},
    {138, "Invalid phy show command."},
    {139,
     "A configuration of mixed SATA and SAS drives is not supported\nby the current controller."},
    {140, "Number of specified drives exceeds limit for a unit."},
    {141, "JBOD unit creation with SAS drive is not supported."},
    {142, "SMART data is not supported for this drive type."},
    {143, "Invalid port or drive ID specified."},
    {144, "Invalid drive(s) specified."},
    {145, "Invalid input- LUN size must be between 1TB and 32TB."},
    {146, "Invalid performance statistics type in command."},
    {147, "Invalid 32-bit hex value as input mask."},
    {148, "Basic/Advanced Verify not supported."},
    {149, "Feature not supported."},
    {150, "Rate input must be numeric and in the range of [1..5]."},
    {151,
     "Invalid input for drive coercion factor.\n       Valid range is [1..50], default: 1 if < "
     "45GB, 5 if >= 45GB."},
    {152, "Invalid set capture mode command; valid=[full|stopped]."},
    {153,
     "Invalid event capture debug command.\n       Valid mask type = "
     "[hostmask|intmask|intunmask]."},
    {154, "Specified enclosure alarm does not exist."},
    {155, "Invalid enclosure alarm command."},
    {156, "Invalid alarm state change request."},
    {157, "The Mute setting is not supported for the alarm specified."},
    {158, "Invalid Mode Page Control input [valid: ignore|honor]."},
    {159, "Invalid bkgd task mode input [valid: adaptive|lowlatency]."},
    {160, "Invalid set read cache command [valid: basic|intelligent|off]."},
    {161, "Invalid Advanced Event Capture set command."},
    {162, "Invalid AEC set capture cmd [valid: enable|disable|start|stop|debug]."},
    {163, "Invalid AEC num events input; valid value=[1024..1000000]."},
    {164, "Number of specified volumes exceeded [max=4]."},
};
static_assert(sizeof(kEntries) / sizeof(kEntries[0]) ==
                  MessageCatalog::kLastCode - MessageCatalog::kFirstCode + 1,
              "one catalog entry per code");

const char kPrefix[] = "Error: (CLI:";

// The message of a coded error: the prefix, the code in at least three
// zero-filled digits, ") " and the text.
std::string composeMessage(int code, const std::string& text) {
    char number[16];
    std::snprintf(number, sizeof(number), "%.3d", code);
    return std::string(kPrefix) + number + ") " + text;
}

// Error 21 raised while the catalog itself is being built cannot look its
// text up in the catalog; it carries this copy of the entry instead.
const char kInstantiationFailedText[] = "Failed to instantiate an object.";

std::unique_ptr<MessageCatalog>& instance() {
    static std::unique_ptr<MessageCatalog> catalog;
    return catalog;
}

bool failNextBuild = false;

}  // namespace

Message::Message(int code, const std::string& text, const std::string& secondText)
    : code_(code), text_(text), secondText_(secondText) {}

MessageCatalog::MessageCatalog() {
    try {
        if (failNextBuild) {
            failNextBuild = false;
            throw std::bad_alloc();
        }
        for (const CatalogEntry& entry : kEntries) {
            entries_[entry.code] = std::make_unique<Message>(entry.code, entry.text, "");
        }
    } catch (const std::bad_alloc&) {
        throw KV_Exception(composeMessage(kInstantiationFailed, kInstantiationFailedText));
    }
}

MessageCatalog* MessageCatalog::getInstance() {
    std::unique_ptr<MessageCatalog>& catalog = instance();
    if (!catalog) {
        // Stored only once fully built: a failed build leaves the pointer
        // unset and the next call starts again.
        auto built = std::make_unique<MessageCatalog>();
        catalog = std::move(built);
    }
    return catalog.get();
}

void MessageCatalog::resetInstance() {
    instance().reset();
}

void MessageCatalog::failNextBuildForTesting() {
    failNextBuild = true;
}

std::string MessageCatalog::formatMessage(int code) const {
    auto found = entries_.find(code);
    if (found == entries_.end()) {
        return std::string(kPrefix) + "\?\?\?)";
    }
    return composeMessage(found->second->getCode(), found->second->getText());
}

void MessageCatalog::printAll() const {
    for (const auto& [code, message] : entries_) {
        std::cout << composeMessage(code, message->getText()) << std::endl;
    }
}
