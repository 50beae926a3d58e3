#include "emulator/unit_commands.h"

#include <algorithm>
#include <string>

#include "emulator/faults.h"
#include "emulator/fields.h"
#include "emulator/unit_model.h"

namespace emulator {

using nlohmann::json;

namespace {

// Opcodes (low 5 bits) of the commands of this file.
constexpr uint8_t kOpVerify = 0x05;
constexpr uint8_t kOpImportScan = 0x07;
constexpr uint8_t kOpUnitUpdate = 0x0F;
constexpr uint8_t kOpAttach = 0x09;
constexpr uint8_t kOpFlush = 0x0E;
constexpr uint8_t kOpDeleteUnit = 0x15;
constexpr uint8_t kOpStartRebuild = 0x17;

// The controller's codes for what it refuses here.
constexpr uint16_t kFwUnitNotPresent = 0x010A;
constexpr uint16_t kFwInvalidFieldCode = 0x010D;
constexpr uint16_t kFwDriveNotDegraded = 0x0121;
constexpr uint16_t kFwDriveTooSmall = 0x0124;
constexpr uint16_t kFwUnitOffline = 0x0128;
constexpr uint16_t kFwUnitNotNormal = 0x0270;
constexpr uint16_t kFwInvalidMembers = 0x0271;

// Packet bytes (after the 128-byte header).
constexpr size_t kUnitByte = 3;
constexpr size_t kByte6 = 6;
constexpr size_t kByte7 = 7;
constexpr size_t kMaskByte = 8;
constexpr size_t kMaskSize = 32;

constexpr uint8_t kVerifyStart = 1;
constexpr uint8_t kVerifyStop = 0x80;
constexpr uint8_t kRebuildStart = 0x80;
constexpr uint8_t kModeDelete = 0x80;
constexpr uint8_t kModeExport = 0x40;
constexpr uint8_t kModeRelease = 0;
constexpr uint8_t kPresentBit = 0x80;
constexpr int64_t kUnitNumbers = 32;
constexpr size_t kUpdateAction = 10;

uint8_t packetByte(ConstByteSpan command, size_t offset) {
    return get8(command, kCmdHeaderSize + offset);
}

FirmwareResult refuse(uint16_t code) {
    FirmwareResult result;
    result.code = code;
    return result;
}

FirmwareResult done() {
    FirmwareResult result;
    result.changed = true;
    return result;
}

json& listOf(json& ctl, const char* key) {
    json& list = ctl[key];
    if (!list.is_array())
        list = json::array();
    return list;
}

std::string typeOf(const json& unit) {
    return textField(unit, "type", "single");
}

std::string stateOf(const json& node) {
    return textField(node, "state", "ok");
}

// The present drive object on `port`; null when the port is empty.
json* driveOn(json& ctl, int64_t port) {
    json* drive = driveOnPort(ctl, port);
    if (drive == nullptr || (numberField(*drive, "status", 255) & kPresentBit) == 0 ||
        !flagField(*drive, "present", true))
        return nullptr;
    return drive;
}

// Sets a unit's task state; a state without a task loses its progress.
void setState(json& node, const std::string& state) {
    node["state"] = state;
    node.erase("paused");
    node["progress"] = 0;
    if (state == "ok")
        node.erase("progress");
}

// The subunit list of a nested unit with states of its own; null when its
// subunits share the unit's state.
json* ownSubunits(json& unit) {
    auto it = unit.find("subunits");
    return it != unit.end() && it->is_array() ? &*it : nullptr;
}

// Every state of the unit: the unit's, its RAID-6 extensions' and its
// subunits'.
template <typename Visit>
void forEachState(json& unit, Visit visit) {
    visit(unit);
    auto extensions = unit.find("extensions");
    if (extensions != unit.end() && extensions->is_array()) {
        for (json& e : *extensions)
            visit(e);
    } else if (unit.find("extension") != unit.end()) {
        visit(unit["extension"]);
    }
    if (json* subunits = ownSubunits(unit)) {
        for (json& s : *subunits)
            visit(s);
    }
}

// The first extension element of a RAID-6 unit (an absent one is in
// normal state).
const json& firstExtension(const json& unit) {
    static const json normal = json::object();
    auto extensions = unit.find("extensions");
    if (extensions != unit.end() && extensions->is_array())
        return extensions->empty() ? normal : extensions->front();
    auto extension = unit.find("extension");
    return extension != unit.end() ? *extension : normal;
}

bool anyState(json& unit, const std::string& state) {
    bool found = false;
    forEachState(unit, [&](json& node) {
        // A nested unit without a state of its own takes its subunits'.
        if (&node == &unit && unit.find("state") == unit.end() && ownSubunits(unit) != nullptr)
            return;
        found = found || stateOf(node) == state;
    });
    return found;
}

// Verify start (byte 7 = 1) on a unit in normal state, stop (0x80) on a
// verifying one. A unit that was never initialised initialises first.
FirmwareResult verify(json& ctl, ConstByteSpan command) {
    json* unit = unitNumbered(ctl, packetByte(command, kUnitByte));
    if (unit == nullptr)
        return refuse(kFwUnitNotPresent);
    const uint8_t action = packetByte(command, kByte7);
    if (action == kVerifyStart) {
        // A RAID-6 unit verifies with one of its two elements in normal
        // state; any other unit needs every state normal.
        bool normal = true;
        forEachState(*unit, [&](json& node) { normal = normal && stateOf(node) == "ok"; });
        if (typeOf(*unit) == "raid6") {
            // The extension a RAID-6 unit has by default takes part.
            if (!unit->contains("extensions") && !unit->contains("extension"))
                (*unit)["extension"] = json::object();
            normal = stateOf(*unit) == "ok" || stateOf(firstExtension(*unit)) == "ok";
        }
        if (!normal)
            return refuse(kFwUnitNotNormal);
        const bool initialized = flagField(*unit, "initialized", true);
        forEachState(*unit, [&](json& node) {
            if (stateOf(node) == "ok")
                setState(node, initialized ? "verifying" : "initializing");
        });
        return done();
    }
    if (action == kVerifyStop) {
        if (!anyState(*unit, "verifying"))
            return refuse(kFwUnitNotNormal);
        forEachState(*unit, [&](json& node) {
            if (stateOf(node) == "verifying")
                setState(node, "ok");
        });
        return done();
    }
    return refuse(kFwInvalidFieldCode);
}

// The index of the member a replacement takes: the unit's "member" when it
// names a missing one, else the first member without a drive; -1 when
// every member has its drive.
int64_t missingMember(json& ctl, json& unit) {
    json& members = unit["members"];
    if (!members.is_array())
        return -1;
    auto missing = [&](size_t i) {
        return !members[i].is_number_integer() ||
               driveOn(ctl, members[i].get<int64_t>()) == nullptr;
    };
    const int64_t named = numberField(unit, "member", -1);
    if (named >= 0 && static_cast<size_t>(named) < members.size() &&
        missing(static_cast<size_t>(named)))
        return named;
    for (size_t i = 0; i < members.size(); ++i) {
        if (missing(i))
            return static_cast<int64_t>(i);
    }
    return -1;
}

uint64_t capacityOn(json& ctl, int64_t port) {
    json* drive = driveOn(ctl, port);
    return drive == nullptr ? 0 : static_cast<uint64_t>(numberField(*drive, "capacity", 0));
}

// The smallest capacity among the members that have a drive.
uint64_t smallestMember(json& ctl, json& unit) {
    uint64_t smallest = UINT64_MAX;
    for (const json& m : unit["members"]) {
        if (m.is_number_integer() && driveOn(ctl, m.get<int64_t>()) != nullptr)
            smallest = std::min(smallest, capacityOn(ctl, m.get<int64_t>()));
    }
    return smallest == UINT64_MAX ? 0 : smallest;
}

// Attaches the single-drive unit of byte 6 to the degraded unit of byte 3
// in place of its missing member; the rebuild start follows.
FirmwareResult attach(json& ctl, ConstByteSpan command) {
    json* unit = unitNumbered(ctl, packetByte(command, kUnitByte));
    const uint8_t replacementNumber = packetByte(command, kByte6);
    json* replacement = unitNumbered(ctl, replacementNumber);
    if (unit == nullptr || replacement == nullptr || unit == replacement)
        return refuse(kFwUnitNotPresent);
    const std::string kind = typeOf(*replacement);
    if (kind != "cbod" && kind != "spare")
        return refuse(kFwInvalidMembers);
    if (!anyState(*unit, "degraded"))
        return refuse(kFwDriveNotDegraded);
    const int64_t index = missingMember(ctl, *unit);
    if (index < 0)
        return refuse(kFwDriveNotDegraded);
    const json& ports = (*replacement)["members"];
    if (!ports.is_array() || ports.empty() || !ports[0].is_number_integer())
        return refuse(kFwInvalidMembers);
    const int64_t port = ports[0].get<int64_t>();
    if (capacityOn(ctl, port) < smallestMember(ctl, *unit))
        return refuse(kFwDriveTooSmall);
    (*unit)["members"][static_cast<size_t>(index)] = port;
    (*unit)["member"] = index;
    (*unit)["attached"] = true;  // the rebuild start takes it
    json& units = listOf(ctl, "units");
    units.erase(std::remove_if(units.begin(), units.end(),
                               [&](const json& u) {
                                   return numberField(u, "number", -1) == replacementNumber;
                               }),
                units.end());
    return done();
}

// Starts the rebuild of a degraded unit onto its attached replacement.
FirmwareResult startRebuild(json& ctl, ConstByteSpan command) {
    json* unit = unitNumbered(ctl, packetByte(command, kUnitByte));
    if (unit == nullptr)
        return refuse(kFwUnitNotPresent);
    if (packetByte(command, kByte6) != kRebuildStart)
        return refuse(kFwInvalidFieldCode);
    if (!anyState(*unit, "degraded"))
        return refuse(kFwDriveNotDegraded);
    // A replacement must have been attached (a RAID-6 unit may still miss
    // another member).
    if (!flagField(*unit, "attached", false) && missingMember(ctl, *unit) >= 0)
        return refuse(kFwInvalidMembers);
    unit->erase("attached");
    forEachState(*unit, [&](json& node) {
        if (stateOf(node) == "degraded")
            setState(node, "rebuilding");
    });
    return done();
}

FirmwareResult flush(json& ctl, ConstByteSpan command) {
    json* unit = unitNumbered(ctl, packetByte(command, kUnitByte));
    if (unit == nullptr)
        return refuse(kFwUnitNotPresent);
    if (stateOf(*unit) == "inoperable")
        return refuse(kFwUnitOffline);
    return FirmwareResult{};  // nothing cached in the model: nothing changes
}

// Delete (0x80) forgets the unit; export (0x40) and release (0) take it
// off the controller and keep its configuration on its drives.
FirmwareResult deleteUnit(json& ctl, ConstByteSpan command) {
    const uint8_t number = packetByte(command, kUnitByte);
    const uint8_t mode = packetByte(command, kByte7);
    if (mode != kModeDelete && mode != kModeExport && mode != kModeRelease)
        return refuse(kFwInvalidFieldCode);
    json* unit = unitNumbered(ctl, number);
    if (unit == nullptr)
        return refuse(kFwUnitNotPresent);
    if (mode != kModeDelete)
        listOf(ctl, "exported_units").push_back(*unit);
    json& units = listOf(ctl, "units");
    units.erase(
        std::remove_if(units.begin(), units.end(),
                       [&](const json& u) { return numberField(u, "number", -1) == number; }),
        units.end());
    return done();
}

bool inMask(ConstByteSpan command, int64_t port) {
    if (port < 0 || port >= static_cast<int64_t>(kMaskSize * 8))
        return false;
    const size_t bit = static_cast<size_t>(port);
    return (packetByte(command, kMaskByte + bit / 8) & (1u << (bit % 8))) != 0;
}

// The lowest unit number no unit has; kUnitNumbers when all are taken.
int64_t freeUnitNumber(json& ctl, int64_t preferred) {
    if (preferred >= 0 && preferred < kUnitNumbers && unitNumbered(ctl, preferred) == nullptr)
        return preferred;
    int64_t number = 0;
    while (number < kUnitNumbers && unitNumbered(ctl, number) != nullptr)
        ++number;
    return number;
}

// Brings back the exported units whose drives are all present, free and in
// the mask, under their old number when it is free.
FirmwareResult importScan(json& ctl, ConstByteSpan command) {
    FirmwareResult result;
    json& exported = listOf(ctl, "exported_units");
    for (auto it = exported.begin(); it != exported.end();) {
        bool complete = true;
        bool any = false;
        for (const json& m : (*it)["members"]) {
            if (!m.is_number_integer())
                continue;
            const int64_t port = m.get<int64_t>();
            any = true;
            complete = complete && inMask(command, port) && driveOn(ctl, port) != nullptr &&
                       unitOfPort(ctl, static_cast<uint64_t>(port)) == kNoUnit;
        }
        const int64_t number = freeUnitNumber(ctl, numberField(*it, "number", -1));
        if (!any || !complete || number == kUnitNumbers) {
            ++it;
            continue;
        }
        json unit = *it;
        unit["number"] = number;
        listOf(ctl, "units").push_back(unit);
        it = exported.erase(it);
        result.changed = true;
    }
    return result;
}

// The unit update; of its actions only the split of a RAID-1 unit (byte
// 10 = 2) is the controller's here: the unit keeps its first drive as a
// single disk and the second drive becomes a single disk of its own.
FirmwareResult unitUpdate(json& ctl, ConstByteSpan command) {
    if (packetByte(command, kUpdateAction) != kSplitMirrorAction)
        return refuse(kFwInvalidFieldCode);
    json* unit = unitNumbered(ctl, packetByte(command, kUnitByte));
    if (unit == nullptr)
        return refuse(kFwUnitNotPresent);
    if (typeOf(*unit) != "raid1")
        return refuse(kFwInvalidMembers);
    json members = (*unit)["members"];
    if (!members.is_array() || members.size() != 2)
        return refuse(kFwInvalidMembers);
    (*unit)["type"] = "single";
    (*unit)["members"] = json::array({members[0]});
    setState(*unit, "ok");
    if (members[1].is_number_integer() && driveOn(ctl, members[1].get<int64_t>()) != nullptr) {
        const int64_t number = freeUnitNumber(ctl, -1);
        if (number < kUnitNumbers) {
            listOf(ctl, "units")
                .push_back({{"number", number},
                            {"type", "single"},
                            {"members", json::array({members[1]})}});
        }
    }
    return done();
}

}  // namespace

bool carriesExportedUnit(const json& ctl, uint64_t port) {
    auto exported = ctl.find("exported_units");
    if (exported == ctl.end() || !exported->is_array())
        return false;
    for (const json& unit : *exported) {
        auto members = unit.find("members");
        if (members == unit.end() || !members->is_array())
            continue;
        for (const json& m : *members) {
            if (m.is_number_integer() && m.get<int64_t>() >= 0 &&
                static_cast<uint64_t>(m.get<int64_t>()) == port)
                return true;
        }
    }
    return false;
}

bool isUnitCommand(uint8_t opcode) {
    switch (opcode) {
        case kOpVerify:
        case kOpImportScan:
        case kOpUnitUpdate:
        case kOpAttach:
        case kOpFlush:
        case kOpDeleteUnit:
        case kOpStartRebuild:
            return true;
        default:
            return false;
    }
}

FirmwareResult executeUnitCommand(json& ctl, uint8_t opcode, ByteSpan command,
                                  ConstByteSpan /*data*/) {
    switch (opcode) {
        case kOpVerify:
            return verify(ctl, command);
        case kOpImportScan:
            return importScan(ctl, command);
        case kOpUnitUpdate:
            return unitUpdate(ctl, command);
        case kOpAttach:
            return attach(ctl, command);
        case kOpFlush:
            return flush(ctl, command);
        case kOpDeleteUnit:
            return deleteUnit(ctl, command);
        case kOpStartRebuild:
            return startRebuild(ctl, command);
        default:
            return refuse(kFwInvalidFieldCode);
    }
}

}  // namespace emulator
