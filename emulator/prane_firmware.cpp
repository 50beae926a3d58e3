#include "emulator/prane_firmware.h"

#include <algorithm>
#include <string>
#include <vector>

#include "emulator/controller_codes.h"
#include "emulator/controller_model.h"
#include "emulator/faults.h"
#include "emulator/fields.h"
#include "emulator/unit_model.h"

namespace emulator {

using nlohmann::json;

namespace {

// Descriptor layout (the controller's UnitTable parameter 6).
constexpr size_t kDescSize = 512;
constexpr size_t kMembers = 12;
constexpr size_t kMemberSize = 12;
constexpr size_t kSubunitStatus = 14;
constexpr size_t kSubunits = 24;
constexpr size_t kSubunitSize = 36;
constexpr uint64_t kReserved = 2048;
constexpr uint8_t kNoPort = 255;
constexpr size_t kMaxUnits = 16;
constexpr size_t kMaxPorts = 16;
constexpr size_t kErrorLogSize = 32768;

// Controller codes of refused commands (status byte, byte 5).
constexpr uint16_t kInvalidUnit = 0x00CB;
constexpr uint16_t kUnsupported = kPraneUnsupportedCommand;
constexpr uint16_t kBadDescriptor = 0x31C4;
constexpr uint16_t kBadConfiguration = 0x31DB;
constexpr uint16_t kNoDrive = 0x41C4;
constexpr uint16_t kDriveBusy = 0x42C4;
constexpr uint16_t kNotMember = 0x3EC1;

// The unit types of the host file and their descriptor codes.
struct TypeName {
    const char* name;
    uint8_t code;
};
constexpr TypeName kTypes[] = {{"raid0", 0},   {"raid1", 2},  {"raid5", 5}, {"raid10", 6},
                               {"single", 12}, {"spare", 13}, {"jbod", 15}};

uint8_t typeCode(const json& unit) {
    const std::string name = textField(unit, "type", "single");
    for (const TypeName& t : kTypes) {
        if (name == t.name)
            return t.code;
    }
    return 0xFF;
}

const char* typeName(uint8_t code) {
    for (const TypeName& t : kTypes) {
        if (t.code == code)
            return t.name;
    }
    return nullptr;
}

bool isArray(uint8_t code) {
    return code == 0 || code == 2 || code == 5;
}
bool isRedundant(uint8_t code) {
    return code == 2 || code == 5 || code == 6;
}

// The raw state bytes: the top of each range, with bit 1 set while the
// task runs (clear when paused) and bit 0 when Windows sees the unit.
struct StateByte {
    const char* state;
    uint8_t base;
};
constexpr StateByte kStates[] = {
    {"ok", 252}, {"verifying", 248}, {"initializing", 244}, {"degraded", 236}, {"rebuilding", 220}};
constexpr uint8_t kOtherState = 0x10;

uint8_t stateBase(const std::string& state) {
    for (const StateByte& s : kStates) {
        if (state == s.state)
            return s.base;
    }
    return kOtherState;
}

std::string stateOf(const json& unit) {
    return textField(unit, "state", "ok");
}

bool paused(const json& unit) {
    return flagField(unit, "paused", false);
}

std::vector<uint8_t> portsOf(const json& unit) {
    std::vector<uint8_t> ports;
    auto it = unit.find("members");
    if (it == unit.end() || !it->is_array())
        return ports;
    for (const json& m : *it) {
        const bool isPort = m.is_number_integer() && m.get<int64_t>() >= 0 &&
                            m.get<int64_t>() < static_cast<int64_t>(kMaxPorts);
        ports.push_back(isPort ? static_cast<uint8_t>(m.get<int64_t>()) : kNoPort);
    }
    return ports;
}

uint8_t driveStatus(const json& ctl, uint64_t port) {
    const json* d = driveOnPort(ctl, port);
    return d == nullptr ? 0 : static_cast<uint8_t>(numberField(*d, "status", 255));
}

uint64_t driveCapacity(const json& ctl, uint64_t port) {
    const json* d = driveOnPort(ctl, port);
    return d == nullptr ? 0 : static_cast<uint64_t>(numberField(*d, "capacity", 0));
}

uint8_t rawState(const json& unit) {
    const int64_t given = numberField(unit, "status_byte", -1);
    if (given >= 0)
        return static_cast<uint8_t>(given);
    uint8_t raw = stateBase(stateOf(unit));
    if (!paused(unit))
        raw |= 2;
    if (flagField(unit, "os_visible", true))
        raw |= 1;
    return raw;
}

// The member index that a degraded or rebuilding state concerns: the
// first missing member, else "member".
int64_t concernedMember(const json& unit) {
    const std::vector<uint8_t> ports = portsOf(unit);
    for (size_t i = 0; i < ports.size(); ++i) {
        if (ports[i] == kNoPort)
            return static_cast<int64_t>(i);
    }
    return numberField(unit, "member", 0);
}

bool concernsMember(const json& unit) {
    const std::string state = stateOf(unit);
    return state == "degraded" || state == "rebuilding";
}

// The degraded-member bitmap over the flat member list.
uint16_t degradedBits(const json& unit) {
    uint16_t bits = 0;
    const std::vector<uint8_t> ports = portsOf(unit);
    for (size_t i = 0; i < ports.size() && i < 16; ++i) {
        if (ports[i] == kNoPort)
            bits |= static_cast<uint16_t>(1u << i);
    }
    const int64_t member = concernedMember(unit);
    if (concernsMember(unit) && member >= 0 && member < 16)
        bits |= static_cast<uint16_t>(1u << member);
    return bits;
}

// Capacity of the unit and of each member record.
struct Sizes {
    uint64_t unit = 0;
    uint64_t member = 0;
    uint64_t subunit = 0;
};

Sizes sizesOf(const json& ctl, const json& unit) {
    Sizes s;
    const uint8_t code = typeCode(unit);
    const std::vector<uint8_t> ports = portsOf(unit);
    uint64_t smallest = 0;
    bool any = false;
    for (uint8_t p : ports) {
        if (p == kNoPort)
            continue;
        const uint64_t c = driveCapacity(ctl, p);
        smallest = !any || c < smallest ? c : smallest;
        any = true;
    }
    const uint64_t u = smallest > kReserved ? smallest - kReserved : 0;
    const uint64_t stripe = static_cast<uint64_t>(numberField(unit, "stripe", 7));
    const uint64_t n = ports.size();
    auto total = [&](uint64_t data) {
        uint64_t t = std::min<uint64_t>(data * u, 0xFFFFFFFFu);
        const uint64_t whole = stripe < 32 ? data << stripe : 0;
        return whole == 0 ? t : t - t % whole;
    };
    uint64_t data = 1;
    switch (code) {
        case 0:
            // A RAID-0 without members has no size, not a division by zero.
            data = n > 0 ? n : 1;
            s.unit = total(n);
            break;
        case 5:
            data = n > 1 ? n - 1 : 1;
            s.unit = total(data);
            break;
        case 6:
            data = n / 2 > 0 ? n / 2 : 1;
            s.unit = total(data);
            s.subunit = u;
            break;
        case 2:
            s.unit = u;
            break;
        default:
            s.unit = ports.empty() ? 0 : driveCapacity(ctl, ports[0]);
            break;
    }
    const int64_t given = numberField(unit, "capacity", -1);
    if (given >= 0)
        s.unit = static_cast<uint64_t>(given);
    s.member = code == 2 ? s.unit : s.unit / data;
    return s;
}

// The state of RAID-10 subunit i: its own when "subunits" gives it, else
// the task of the unit, or the degraded state for the subunit that holds
// the concerned member.
json subunitState(const json& unit, size_t i) {
    auto it = unit.find("subunits");
    if (it != unit.end() && it->is_array() && i < it->size())
        return (*it)[i];
    const std::string state = stateOf(unit);
    json sub = {{"state", "ok"}, {"progress", 0}, {"paused", paused(unit)}};
    if (concernsMember(unit)) {
        if (static_cast<size_t>(concernedMember(unit)) / 2 == i) {
            sub["state"] = state;
            sub["progress"] = numberField(unit, "progress", 0);
        }
    } else {
        sub["state"] = state;
        sub["progress"] = numberField(unit, "progress", 0);
    }
    return sub;
}

void putMember(Bytes& d, size_t at, uint8_t port, uint8_t index, uint64_t capacity) {
    put8(d, at + 1, 12);
    put8(d, at + 2, port);
    put8(d, at + 3, index);
    put32(d, at + 8, std::min<uint64_t>(capacity, 0xFFFFFFFFu));
}

Bytes descriptorOf(const json& ctl, const json& unit) {
    Bytes d(kDescSize, 0);
    const uint8_t code = typeCode(unit);
    const std::vector<uint8_t> ports = portsOf(unit);
    const Sizes sizes = sizesOf(ctl, unit);
    const uint8_t stripe = static_cast<uint8_t>(numberField(unit, "stripe", 7));
    put8(d, 1, code);
    put32(d, 8, std::min<uint64_t>(sizes.unit, 0xFFFFFFFFu));
    if (isArray(code)) {
        const size_t n = std::min(ports.size(), size_t{16});
        put8(d, 0, n);
        put8(d, 2, code == 2 ? 0 : stripe);
        put16(d, 3, degradedBits(unit));
        for (size_t i = 0; i < n; ++i)
            putMember(d, kMembers + kMemberSize * i, ports[i], static_cast<uint8_t>(i),
                      sizes.member);
        d.resize(kMembers + kMemberSize * n);
        return d;
    }
    if (code == 6) {
        const size_t h = std::min(ports.size() / 2, size_t{8});
        const uint16_t bits = degradedBits(unit);
        put8(d, 0, h);
        put8(d, 2, stripe);
        put16(d, 3, bits);
        put8(d, 12, 0xFF);
        for (size_t at = kSubunitStatus; at < kSubunits; ++at)
            put8(d, at, 0xFF);
        for (size_t i = 0; i < h; ++i) {
            const json sub = subunitState(unit, i);
            uint8_t raw = stateBase(textField(sub, "state", "ok")) | 1;
            if (!flagField(sub, "paused", false))
                raw |= 2;
            put8(d, kSubunitStatus + i, raw);
            const size_t at = kSubunits + kSubunitSize * i;
            put8(d, at, 2);
            put8(d, at + 1, 2);
            put16(d, at + 3, (bits >> (2 * i)) & 3);
            put32(d, at + 8, sizes.subunit);
            for (size_t j = 0; j < 2; ++j)
                putMember(d, at + kMembers + kMemberSize * j, ports[2 * i + j],
                          static_cast<uint8_t>(j), sizes.member);
        }
        d.resize(kSubunits + kSubunitSize * h);
        return d;
    }
    put8(d, 2, ports.empty() ? kNoPort : ports[0]);
    d.resize(kMembers);
    return d;
}

// --- Commands ---

uint8_t lowestFreeUnit(const json& ctl) {
    for (uint8_t n = 0; n < kMaxUnits; ++n) {
        if (unitNumbered(const_cast<json&>(ctl), n) == nullptr)
            return n;
    }
    return 0xFF;
}

bool portFree(const json& ctl, uint8_t port) {
    return driveStatus(ctl, port) == 255 && unitOfPort(ctl, port) == kNoUnit;
}

void eraseUnit(json& ctl, uint64_t number) {
    json& units = ctl["units"];
    for (size_t i = 0; i < units.size(); ++i) {
        if (static_cast<uint64_t>(numberField(units[i], "number", -1)) == number) {
            units.erase(i);
            return;
        }
    }
}

// Drops the unit configuration ("import") that drives on these ports
// carry, present or taken off their ports alike.
void forgetCarried(json& ctl, const std::vector<uint8_t>& ports) {
    for (const char* list : {"drives", "removed_drives"}) {
        auto drives = ctl.find(list);
        if (drives == ctl.end() || !drives->is_array())
            continue;
        for (json& d : *drives) {
            const uint64_t port = static_cast<uint64_t>(numberField(d, "port", -1));
            if (std::find(ports.begin(), ports.end(), port) != ports.end())
                d.erase("import");
        }
    }
}

// An exported unit leaves the controller, but its drives keep its
// configuration: an import scan of one of them brings the unit back.
void exportUnit(json& ctl, uint64_t number) {
    const json* unit = unitNumbered(ctl, number);
    if (unit == nullptr)
        return;
    json carried = *unit;
    carried.erase("number");
    for (uint8_t port : portsOf(*unit)) {
        json* drive = port == kNoPort ? nullptr : const_cast<json*>(driveOnPort(ctl, port));
        if (drive != nullptr)
            (*drive)["import"] = carried;
    }
    eraseUnit(ctl, number);
}

// 'T': a new unit from the descriptor the host built.
FirmwareResult createUnit(json& ctl, Bytes& packet, const Bytes& data) {
    FirmwareResult r;
    const uint16_t length = get16(packet, 6);
    const uint8_t code = get8(data, 1);
    const char* name = typeName(code);
    if (name == nullptr || length > data.size()) {
        r.code = kBadDescriptor;
        return r;
    }
    std::vector<uint8_t> ports;
    if (code == 6) {
        const size_t h = get8(data, 0);
        for (size_t i = 0; i < h && i < 8; ++i) {
            const size_t at = kSubunits + kSubunitSize * i;
            for (size_t j = 0; j < 2; ++j)
                ports.push_back(get8(data, at + kMembers + kMemberSize * j + 2));
        }
    } else if (isArray(code)) {
        const size_t n = get8(data, 0);
        for (size_t i = 0; i < n && i < 16; ++i)
            ports.push_back(get8(data, kMembers + kMemberSize * i + 2));
    } else {
        ports.push_back(get8(data, 2));
    }
    if (ports.empty()) {
        r.code = kBadConfiguration;
        return r;
    }
    for (size_t i = 0; i < ports.size(); ++i) {
        if (!portFree(ctl, ports[i]) || std::count(ports.begin(), ports.end(), ports[i]) != 1) {
            r.code = kBadConfiguration;
            return r;
        }
    }
    const uint8_t number = lowestFreeUnit(ctl);
    if (number == 0xFF) {
        r.code = kBadConfiguration;
        return r;
    }
    // The new unit's configuration replaces whatever its drives carried.
    forgetCarried(ctl, ports);
    json unit = {{"number", number}, {"type", name}, {"members", ports}, {"state", "ok"}};
    if (code == 0 || code == 5 || code == 6)
        unit["stripe"] = get8(data, 2);
    unit["capacity"] = get32(data, 8);
    if (!newUnitWriteCache(ctl))
        unit["write_cache"] = 0;
    if (!ctl["units"].is_array())
        ctl["units"] = json::array();
    ctl["units"].push_back(unit);
    put8(packet, 3, number);
    r.changed = true;
    return r;
}

// 0x05: a verify starts on an OK unit and stops on a verifying one.
FirmwareResult verify(json& ctl, const Bytes& packet) {
    FirmwareResult r;
    json* unit = unitNumbered(ctl, get8(packet, 3));
    if (unit == nullptr) {
        r.code = kInvalidUnit;
        return r;
    }
    const uint8_t mode = get8(packet, 7);
    const std::string state = stateOf(*unit);
    if (mode == 1 && state == "ok") {
        (*unit)["state"] = "verifying";
        (*unit)["progress"] = 0;
    } else if (mode == 0x80 && state == "verifying") {
        (*unit)["state"] = "ok";
        unit->erase("progress");
        unit->erase("paused");
    } else {
        r.code = kUnsupported;
        return r;
    }
    r.changed = true;
    return r;
}

// 0x17: pause (2) or start and resume (4) of a unit's task.
FirmwareResult unitTask(json& ctl, const Bytes& packet) {
    FirmwareResult r;
    json* unit = unitNumbered(ctl, get8(packet, 3));
    if (unit == nullptr) {
        r.code = kInvalidUnit;
        return r;
    }
    const uint8_t action = get8(packet, 6) & 0x3F;
    const std::string state = stateOf(*unit);
    if (action == 2 && (state == "rebuilding" || state == "verifying")) {
        (*unit)["paused"] = true;
    } else if (action == 4 && paused(*unit)) {
        (*unit)["paused"] = false;
    } else if (action == 4 && state == "degraded") {
        const std::vector<uint8_t> ports = portsOf(*unit);
        if (std::find(ports.begin(), ports.end(), kNoPort) != ports.end()) {
            r.code = kNoDrive;
            return r;
        }
        (*unit)["state"] = "rebuilding";
        (*unit)["progress"] = 0;
        (*unit)["paused"] = false;
    } else if (action == 4 && (state == "verifying" || state == "rebuilding")) {
        // Already running.
    } else {
        r.code = kUnsupported;
        return r;
    }
    r.changed = true;
    return r;
}

// 0x09: the replacement's single-drive unit becomes member `index`.
FirmwareResult attachReplacement(json& ctl, const Bytes& packet) {
    FirmwareResult r;
    json* unit = unitNumbered(ctl, get8(packet, 3));
    json* single = unitNumbered(ctl, get8(packet, 6));
    const uint8_t index = get8(packet, 7);
    if (unit == nullptr || single == nullptr || unit == single) {
        r.code = kInvalidUnit;
        return r;
    }
    const uint8_t kind = typeCode(*single);
    const std::vector<uint8_t> singlePorts = portsOf(*single);
    if ((kind != 12 && kind != 13) || singlePorts.empty() || !isRedundant(typeCode(*unit)) ||
        index >= portsOf(*unit).size()) {
        r.code = kNotMember;
        return r;
    }
    const uint8_t port = singlePorts[0];
    json& members = (*unit)["members"];
    members[index] = port;
    (*unit)["member"] = index;
    if (stateOf(*unit) != "rebuilding")
        (*unit)["state"] = "degraded";
    eraseUnit(ctl, get8(packet, 6));
    r.changed = true;
    return r;
}

// 0x0A: the drive of a port leaves the controller; a unit that held it
// loses that member.
FirmwareResult removeDrive(json& ctl, const Bytes& packet) {
    FirmwareResult r;
    const uint8_t port = get8(packet, 7);
    if (driveOnPort(ctl, port) == nullptr) {
        r.code = kNoDrive;
        return r;
    }
    const uint8_t holder = unitOfPort(ctl, port);
    if (holder != kNoUnit) {
        json& unit = *unitNumbered(ctl, holder);
        const std::vector<uint8_t> ports = portsOf(unit);
        const uint8_t code = typeCode(unit);
        if (!isRedundant(code)) {
            r.code = kDriveBusy;
            return r;
        }
        for (size_t i = 0; i < ports.size(); ++i) {
            if (ports[i] != port)
                continue;
            unit["members"][i] = nullptr;
            const std::string state = stateOf(unit);
            const bool concerned = static_cast<uint64_t>(numberField(unit, "member", -1)) == i;
            if (state == "rebuilding" && concerned) {
                // The drive being rebuilt goes: the rebuild ends and the
                // unit is degraded again, short of that member.
                unit["state"] = "degraded";
            } else if (state == "degraded" || state == "rebuilding") {
                unit["state"] = "inoperable";
            } else {
                unit["state"] = "degraded";
                unit["member"] = i;
            }
        }
        unit.erase("progress");
        unit.erase("paused");
    }
    // The drive goes offline: its port reads empty until a port detection
    // finds it again.
    json& drives = ctl["drives"];
    for (size_t i = 0; i < drives.size(); ++i) {
        if (static_cast<uint64_t>(numberField(drives[i], "port", -1)) == port) {
            if (!ctl["removed_drives"].is_array())
                ctl["removed_drives"] = json::array();
            ctl["removed_drives"].push_back(drives[i]);
            drives.erase(i);
            break;
        }
    }
    r.changed = true;
    return r;
}

// Port detection brings a drive taken off its port back onto it.
bool attachRemoved(json& ctl, uint8_t port) {
    auto offline = ctl.find("removed_drives");
    if (offline == ctl.end() || !offline->is_array())
        return false;
    for (size_t i = 0; i < offline->size(); ++i) {
        if (static_cast<uint64_t>(numberField((*offline)[i], "port", -1)) == port) {
            if (!ctl["drives"].is_array())
                ctl["drives"] = json::array();
            ctl["drives"].push_back((*offline)[i]);
            offline->erase(i);
            return true;
        }
    }
    return false;
}

// 0x06: a drive waiting on a port (status 0 with a model) is found; 0x07:
// the unit a found drive carries ("import") becomes the controller's.
FirmwareResult scanPorts(json& ctl, const Bytes& packet, bool import) {
    FirmwareResult r;
    const uint32_t mask = get32(packet, 8);
    for (uint8_t port = 0; port < kMaxPorts; ++port) {
        if ((mask >> port & 1) == 0)
            continue;
        json* drive = driveOnPort(ctl, port);
        if (drive == nullptr) {
            if (!import && attachRemoved(ctl, port))
                r.changed = true;
            continue;
        }
        if (!import) {
            if (numberField(*drive, "status", 255) == 0 && drive->contains("model")) {
                drive->erase("status");
                r.changed = true;
            }
            continue;
        }
        auto carried = drive->find("import");
        if (carried == drive->end() || !carried->is_object())
            continue;
        json unit = *carried;
        drive->erase("import");
        r.changed = true;
        const uint8_t number = lowestFreeUnit(ctl);
        if (number == 0xFF) {
            r.code = kBadConfiguration;
            return r;
        }
        if (!unit.contains("members"))
            unit["members"] = json::array({port});
        // A member whose drive has since gone into another unit is missing
        // from the unit that comes back: a redundant unit runs degraded
        // without it, one missing more than that does not run.
        const std::vector<uint8_t> members = portsOf(unit);
        for (size_t i = 0; i < members.size(); ++i) {
            if (members[i] == kNoPort || members[i] == port ||
                unitOfPort(ctl, members[i]) == kNoUnit) {
                continue;
            }
            unit["members"][i] = nullptr;
            const std::string state = stateOf(unit);
            if (state == "ok" && isRedundant(typeCode(unit))) {
                unit["state"] = "degraded";
                unit["member"] = i;
            } else {
                unit["state"] = "inoperable";
            }
        }
        unit["number"] = number;
        // The other members' drives carry the same unit: it is here now.
        forgetCarried(ctl, portsOf(unit));
        if (!ctl["units"].is_array())
            ctl["units"] = json::array();
        ctl["units"].push_back(unit);
    }
    return r;
}

// 0x1C: the next queued event, 0 when none.
FirmwareResult nextEvent(json& ctl, Bytes& packet) {
    FirmwareResult r;
    auto queue = ctl.find("events");
    uint16_t word = 0;
    if (queue != ctl.end() && queue->is_array() && !queue->empty()) {
        const json event = queue->front();
        queue->erase(0);
        const uint64_t code =
            static_cast<uint64_t>(event.is_object()           ? numberField(event, "code", 0)
                                  : event.is_number_integer() ? event.get<int64_t>()
                                                              : 0);
        const uint64_t parameter =
            event.is_object() ? static_cast<uint64_t>(numberField(event, "parameter", 0)) : 0;
        word = static_cast<uint16_t>((code & 0xFF) | (parameter & 0xFF) << 8);
        r.changed = true;
    }
    put16(packet, 8, word);
    return r;
}

FirmwareResult driverVersion(const json& ctl, Bytes& packet) {
    FirmwareResult r;
    if (get8(packet, 2) != 1) {
        r.code = kUnsupported;
        return r;
    }
    const json* version = nullptr;
    auto driver = ctl.find("driver");
    if (driver != ctl.end() && driver->is_object() && driver->contains("version"))
        version = &(*driver)["version"];
    for (size_t i = 0; i < 4; ++i) {
        uint64_t part = i == 0 ? 3 : i == 3 ? 1 : 0;
        if (version != nullptr && version->is_array() && i < version->size() &&
            (*version)[i].is_number_integer()) {
            part = static_cast<uint64_t>((*version)[i].get<int64_t>());
        }
        put16(packet, 40 + 2 * i, part);
    }
    return r;
}

// 0xB1 (opcode 0x11): the ATA pass-through; the drive answers SMART READ
// DATA with its "smart" bytes (revision 0x10 and zeros otherwise).
FirmwareResult ataPassThrough(const json& ctl, const Bytes& packet, Bytes& data) {
    FirmwareResult r;
    const json* drive = driveOnPort(ctl, get8(packet, 3));
    if (drive == nullptr || numberField(*drive, "status", 255) == 0) {
        r.code = kNoDrive;
        return r;
    }
    if (get8(packet, 19) != 0xB0 || get16(packet, 8) != 0xD0 || data.size() < 512) {
        r.code = kUnsupported;
        return r;
    }
    std::fill(data.begin(), data.begin() + 512, 0);
    put16(data, 0, 0x10);
    auto smart = drive->find("smart");
    if (smart != drive->end() && smart->is_array()) {
        for (size_t i = 0; i < smart->size() && i < 512; ++i) {
            if ((*smart)[i].is_number_integer())
                data[i] = static_cast<uint8_t>((*smart)[i].get<int64_t>());
        }
    }
    return r;
}

}  // namespace

void derivePraneUnitStates(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    auto it = ctl.find("units");
    if (it == ctl.end() || !it->is_array())
        return;
    for (const json& unit : *it) {
        const uint64_t number = static_cast<uint64_t>(numberField(unit, "number", -1));
        if (number < out.size())
            out[number] = rawState(unit);
    }
}

void derivePraneDescriptorLength(const ControllerModel& model, const json* unit, Bytes& out) {
    put16(out, 0, praneDescriptorSize(model, unit) + 3);
}

void derivePraneDescriptor(const ControllerModel& model, const json* unit, Bytes& out) {
    const json& ctl = model.json();
    if (unit == nullptr)
        return;
    const Bytes d = descriptorOf(ctl, *unit);
    std::copy_n(d.begin(), std::min(d.size(), out.size()), out.begin());
}

uint32_t praneDescriptorSize(const ControllerModel& model, const json* unit) {
    const json& ctl = model.json();
    return unit == nullptr ? 0 : static_cast<uint32_t>(descriptorOf(ctl, *unit).size());
}

bool answerPraneProgress(const json& ctl, const Bytes& packet, Bytes& data,
                         FirmwareResult* result) {
    constexpr size_t kHeader = 4;
    constexpr size_t kSize = 16;
    if ((get8(packet, 0) & 0x1F) != 0x12 || get16(data, 0) != 0x0406)
        return false;
    *result = FirmwareResult{};
    if (get8(data, 2) != 2) {
        result->code = kPraneNoSuchParameter;
        return true;
    }
    if (get8(data, 3) != kSize || data.size() < kHeader + kSize) {
        result->code = kPraneInvalidSize;
        return true;
    }
    json* unit = unitNumbered(const_cast<json&>(ctl), get8(packet, 3));
    if (unit == nullptr) {
        result->code = kInvalidUnit;
        return true;
    }
    std::fill(data.begin() + kHeader, data.begin() + kHeader + kSize, 0);
    const uint64_t progress = static_cast<uint64_t>(numberField(*unit, "progress", 0));
    for (size_t i = 0; i < 8; ++i) {
        uint64_t each = progress;
        if (typeCode(*unit) == 6)
            each = static_cast<uint64_t>(numberField(subunitState(*unit, i), "progress", 0));
        put16(data, kHeader + 2 * i, std::min<uint64_t>(each, 100) * 10);
    }
    return true;
}

FirmwareResult executePraneTask(json& ctl, Bytes& packet, Bytes& data) {
    FirmwareResult r;
    const uint8_t opcode = get8(packet, 0) & 0x1F;
    switch (opcode) {
        case 0x05:
            return verify(ctl, packet);
        case 0x06:
            return scanPorts(ctl, packet, false);
        case 0x07:
            return scanPorts(ctl, packet, true);
        case 0x09:
            return attachReplacement(ctl, packet);
        case 0x0A:
            return removeDrive(ctl, packet);
        case 0x0E:
            if (unitNumbered(ctl, get8(packet, 3)) == nullptr)
                r.code = kInvalidUnit;
            return r;
        case 0x11:
            return ataPassThrough(ctl, packet, data);
        case 0x14:
            return createUnit(ctl, packet, data);
        case 0x15: {
            const uint8_t mode = get8(packet, 7);
            if (unitNumbered(ctl, get8(packet, 3)) == nullptr) {
                r.code = kInvalidUnit;
            } else if (mode != 0x80 && mode != 0) {
                r.code = kUnsupported;
            } else if (mode == 0) {
                exportUnit(ctl, get8(packet, 3));
                r.changed = true;
            } else {
                eraseUnit(ctl, get8(packet, 3));
                r.changed = true;
            }
            return r;
        }
        case 0x16:
            if (get16(packet, 6) != 8 || data.empty()) {
                r.code = kUnsupported;
            } else {
                ctl["firmware_image"] = {{"size", data.size()}};
                r.changed = true;
            }
            return r;
        case 0x17:
            return unitTask(ctl, packet);
        case 0x18:
            if (get8(packet, 5) != 4 || get8(packet, 6) > 1) {
                r.code = kUnsupported;
            } else {
                ctl["media_scan"] = get8(packet, 6) == 1;
                r.changed = true;
            }
            return r;
        case 0x19: {
            if (get16(packet, 6) != 2 || data.size() < kErrorLogSize) {
                r.code = kUnsupported;
                return r;
            }
            std::fill(data.begin(), data.begin() + kErrorLogSize, 0);
            putText(data, 0, kErrorLogSize - 1, textField(ctl, "error_log", ""));
            return r;
        }
        case 0x1C:
            return nextEvent(ctl, packet);
        case 0x1D:
            return driverVersion(ctl, packet);
        case 0x1E:
            if (get8(packet, 2) != 0x67)
                r.code = kUnsupported;
            return r;
        default:
            r.code = kPraneUnsupportedOpcode;
            return r;
    }
}

}  // namespace emulator
