#include "emulator/unit_create_model.h"

#include <algorithm>
#include <string>
#include <vector>

#include "emulator/controller_codes.h"
#include "emulator/faults.h"
#include "emulator/fields.h"
#include "emulator/unit_model.h"

namespace emulator {

using nlohmann::json;

namespace {

// The controller's codes for a unit change it refuses.
constexpr uint16_t kFwUnitNotPresent = 0x010A;
constexpr uint16_t kFwPortRefused = 0x010E;  // an empty port or a failed drive
constexpr uint16_t kFwInvalidJoin = 0x012B;  // add-mirror of the wrong units
constexpr uint16_t kFwMixedInterfaces = 0x012F;
constexpr uint16_t kFwDescriptorSize = 0x0250;
constexpr uint16_t kFwDescriptorBeyondData = 0x0251;
constexpr uint16_t kFwNoSpaceForVolumes = 0x0253;
constexpr uint16_t kFwDriveInUse = 0x0255;
constexpr uint16_t kFwInvalidDescriptors = 0x025A;
constexpr uint16_t kFwInvalidStripe = 0x025C;
constexpr uint16_t kFwJbodRefused = 0x025D;
constexpr uint16_t kFwNoUnitNumber = 0x0261;
constexpr uint16_t kFwUnitNotNormal = 0x0270;
constexpr uint16_t kFwInvalidMembers = 0x0271;

constexpr size_t kEntry = kUnitDescriptorSize;
constexpr size_t kPacket = kCmdHeaderSize;
constexpr uint8_t kTypeRaid0 = 0;
constexpr uint8_t kTypeRaid1 = 2;
constexpr uint8_t kTypeRaid5 = 5;
constexpr uint8_t kTypeRaid6 = 7;
constexpr uint8_t kTypeSingle = 11;
constexpr uint8_t kTypeDrive = 12;
constexpr uint8_t kTypeSpare = 13;
constexpr uint8_t kTypeJbod = 15;
constexpr uint8_t kTypeExtension = 0x30;
constexpr uint8_t kTypeVolume = 0x80;
constexpr int64_t kUnitNumbers = 32;
constexpr uint8_t kUpdateReconfigure = 0;
constexpr uint8_t kUpdateAddMirror = 8;

// The layout a descriptor array describes.
struct Layout {
    std::string type;
    std::vector<uint8_t> members;
    uint8_t stripe = 0;
    size_t group = 0;  // nested layouts: drives per subunit
    std::vector<uint64_t> volumes;
};

struct Reader {
    ConstByteSpan data;
    size_t entries;
    size_t next = 0;

    bool more() const { return next < entries; }
    uint8_t at(size_t entry, size_t byte) const { return get8(data, entry * kEntry + byte); }
    uint64_t u64(size_t entry, size_t byte) const {
        return getLe(data.data(), data.size(), entry * kEntry + byte, 8);
    }
};

const char* singleTypeName(uint8_t type) {
    switch (type) {
        case kTypeSingle:
            return "single";
        case kTypeDrive:
            return "cbod";
        case kTypeSpare:
            return "spare";
        case kTypeJbod:
            return "jbod";
        default:
            return nullptr;
    }
}

// `count` drive entries.
bool readDrives(Reader& r, size_t count, std::vector<uint8_t>& members) {
    for (size_t i = 0; i < count; ++i) {
        if (!r.more() || r.at(r.next, 1) != kTypeDrive)
            return false;
        members.push_back(r.at(r.next, 3));
        ++r.next;
    }
    return true;
}

// Reads the unit's entries (not the volumes) into `out`.
bool readLayout(Reader& r, Layout& out) {
    if (!r.more())
        return false;
    const size_t top = r.next++;
    const uint8_t children = r.at(top, 0);
    const uint8_t type = r.at(top, 1);
    if (const char* name = singleTypeName(type)) {
        out.type = name;
        out.members.push_back(r.at(top, 3));
        return children == 0;
    }
    const bool nested = type == kTypeRaid0 && r.more() &&
                        (r.at(r.next, 1) == kTypeRaid1 || r.at(r.next, 1) == kTypeRaid5);
    if (nested) {
        const uint8_t childType = r.at(r.next, 1);
        out.type = childType == kTypeRaid1 ? "raid10" : "raid50";
        out.group = r.at(r.next, 0);
        out.stripe = childType == kTypeRaid1 ? r.at(top, 2) : r.at(r.next, 2);
        for (uint8_t g = 0; g < children; ++g) {
            if (!r.more() || r.at(r.next, 1) != childType || r.at(r.next, 0) != out.group)
                return false;
            ++r.next;
            if (!readDrives(r, out.group, out.members))
                return false;
        }
        return children >= 2 && out.group >= 2;
    }
    switch (type) {
        case kTypeRaid0:
            out.type = "raid0";
            break;
        case kTypeRaid1:
            out.type = "raid1";
            break;
        case kTypeRaid5:
            out.type = "raid5";
            break;
        case kTypeRaid6:
            out.type = "raid6";
            if (!r.more() || r.at(r.next, 1) != kTypeExtension)
                return false;
            ++r.next;
            break;
        default:
            return false;
    }
    out.stripe = r.at(top, 2);
    return readDrives(r, children, out.members);
}

// The volume entries after the unit's: consecutive indexes, each starting
// where the one before ends.
bool readVolumes(Reader& r, Layout& out) {
    uint64_t first = 0;
    while (r.more()) {
        if (r.at(r.next, 1) != kTypeVolume || r.at(r.next, 2) != out.volumes.size() ||
            r.u64(r.next, 4) != first || r.u64(r.next, 12) == 0 ||
            out.volumes.size() == kMaxVolumes) {
            return false;
        }
        out.volumes.push_back(r.u64(r.next, 12));
        first += r.u64(r.next, 12);
        ++r.next;
    }
    return true;
}

bool isStriped(const std::string& type) {
    return type == "raid0" || type == "raid5" || type == "raid6" || type == "raid10" ||
           type == "raid50";
}

// The rules the controller holds a layout to: member counts, stripe sizes
// and RAID-6 only with its feature bit.
uint16_t checkLayout(const json& ctl, const Layout& l) {
    const size_t n = l.members.size();
    if (isStriped(l.type) &&
        ((l.stripe != 5 && l.stripe != 7 && l.stripe != 9) || (l.type == "raid6" && l.stripe == 5)))
        return kFwInvalidStripe;
    bool fits = n == 1;
    if (l.type == "raid0")
        fits = n >= 2;
    else if (l.type == "raid1")
        fits = n == 2;
    else if (l.type == "raid5")
        fits = n >= 3;
    else if (l.type == "raid6")
        fits = n >= 5 &&
               (numberField(ctl.value("identity", json::object()), "features", 0) & 0x02) != 0;
    else if (l.type == "raid10")
        fits = l.group == 2 && n >= 4;
    else if (l.type == "raid50")
        fits = l.group >= 3 && n >= 6;
    return fits ? 0 : kFwInvalidDescriptors;
}

bool isSas(const json& drive) {
    const int64_t interface = numberField(drive, "interface", 1);
    return interface == 3 || interface == 7;
}

// The drives of a layout: present, healthy, free (or the changed unit's
// own), one kind of interface, no port twice.
uint16_t checkMembers(const json& ctl, const Layout& l, int64_t ownUnit) {
    bool anySas = false;
    bool anySata = false;
    for (size_t i = 0; i < l.members.size(); ++i) {
        const uint8_t port = l.members[i];
        const json* drive = driveOnPort(ctl, port);
        if (drive == nullptr || (numberField(*drive, "status", 255) & 0x81) != 0x81)
            return kFwPortRefused;
        const uint8_t owner = unitOfPort(ctl, port);
        if (owner != kNoUnit && owner != ownUnit)
            return kFwDriveInUse;
        if (std::count(l.members.begin(), l.members.end(), port) != 1)
            return kFwInvalidMembers;
        if (l.type == "jbod" && isSas(*drive))
            return kFwJbodRefused;
        (isSas(*drive) ? anySas : anySata) = true;
    }
    return anySas && anySata ? kFwMixedInterfaces : 0;
}

json layoutJson(const Layout& l) {
    json unit = {{"type", l.type}, {"members", l.members}};
    if (isStriped(l.type))
        unit["stripe"] = l.stripe;
    if (l.group != 0)
        unit["group"] = l.group;
    return unit;
}

// Reads the whole descriptor array of a command whose data length is the
// packet's word at byte 6.
uint16_t readCommand(ConstByteSpan command, ConstByteSpan data, bool withVolumes, Layout* out) {
    const size_t length = get16(command, kPacket + 6);
    if (length == 0 || length % kEntry != 0)
        return kFwDescriptorSize;
    if (length > data.size())
        return kFwDescriptorBeyondData;
    Reader r{data, length / kEntry};
    if (!readLayout(r, *out))
        return kFwInvalidDescriptors;
    if (withVolumes ? !readVolumes(r, *out) : r.more())
        return kFwInvalidDescriptors;
    return 0;
}

void dropUnit(json& ctl, int64_t number) {
    json& units = ctl["units"];
    for (auto it = units.begin(); it != units.end(); ++it) {
        if (numberField(*it, "number", -1) == number) {
            units.erase(it);
            return;
        }
    }
}

// The layout keys of a unit description; the rest (name, serial, cache
// and policy settings) belongs to the unit whatever its layout.
constexpr const char* kLayoutKeys[] = {
    "type",     "members",          "stripe",     "group",    "state",
    "progress", "member",           "paused",     "subunits", "extension",
    "capacity", "initialized",      "extensions", "source",   "destination",
    "layouts",  "migrate_capacity", "code",
};

// Turns `unit` into a migrating unit from its present layout to `to`.
void startMigration(json& unit, const json& to) {
    json source = json::object();
    json settings = json::object();
    for (auto it = unit.begin(); it != unit.end(); ++it) {
        const bool layout =
            std::find_if(std::begin(kLayoutKeys), std::end(kLayoutKeys),
                         [&](const char* key) { return it.key() == key; }) != std::end(kLayoutKeys);
        (layout ? source : settings)[it.key()] = it.value();
    }
    source.erase("state");
    source.erase("progress");
    source.erase("paused");
    settings["type"] = "migrating";
    settings["progress"] = 0;
    settings["source"] = source;
    settings["destination"] = to;
    unit = settings;
}

}  // namespace

FirmwareResult createUnitCommand(json& ctl, ByteSpan command, ConstByteSpan data) {
    FirmwareResult result;
    Layout layout;
    result.code = readCommand(command, data, true, &layout);
    if (result.code == 0)
        result.code = checkLayout(ctl, layout);
    if (result.code == 0)
        result.code = checkMembers(ctl, layout, -1);
    int64_t number = 0;
    while (result.code == 0 && number < kUnitNumbers && unitNumbered(ctl, number) != nullptr)
        ++number;
    if (result.code == 0 && number == kUnitNumbers)
        result.code = kFwNoUnitNumber;
    if (result.code != 0)
        return result;

    json unit = layoutJson(layout);
    unit["number"] = number;
    if (!newUnitWriteCache(ctl))
        unit["cache_bits"] = 0;  // read cache on, write cache (bit 2) off
    if (!layout.volumes.empty()) {
        // The requested volumes, then one over what they leave of the unit.
        uint64_t used = 0;
        for (uint64_t size : layout.volumes)
            used += size;
        const uint64_t capacity = unitCapacity(ctl, unit);
        if (used > capacity) {
            result.code = kFwNoSpaceForVolumes;
            return result;
        }
        json volumes = layout.volumes;
        if (capacity > used && volumes.size() < kMaxVolumes)
            volumes.push_back(capacity - used);
        unit["volumes"] = volumes;
    }
    ctl["units"].push_back(unit);
    put8(command, kPacket + 3, static_cast<uint64_t>(number));
    result.changed = true;
    return result;
}

FirmwareResult updateUnitCommand(json& ctl, ByteSpan command, ConstByteSpan data) {
    FirmwareResult result;
    const int64_t number = get8(command, kPacket + 3);
    json* unit = unitNumbered(ctl, number);
    if (unit == nullptr) {
        result.code = kFwUnitNotPresent;
        return result;
    }
    const uint8_t mode = get8(command, kPacket + 10);
    if (mode == kUpdateAddMirror) {
        const int64_t partnerNumber = get8(command, kPacket + 11);
        json* partner = unitNumbered(ctl, partnerNumber);
        if (partner == nullptr) {
            result.code = kFwUnitNotPresent;
            return result;
        }
        if (textField(*unit, "type", "") != "single" || textField(*partner, "type", "") != "cbod") {
            result.code = kFwInvalidJoin;
            return result;
        }
        const json& ownMembers = unit->value("members", json::array());
        const json& partnerMembers = partner->value("members", json::array());
        if (ownMembers.empty() || partnerMembers.empty() || !ownMembers[0].is_number_integer() ||
            !partnerMembers[0].is_number_integer()) {
            result.code = kFwInvalidJoin;
            return result;
        }
        Layout mirror;
        mirror.type = "raid1";
        mirror.members = {static_cast<uint8_t>(ownMembers[0].get<int64_t>()),
                          static_cast<uint8_t>(partnerMembers[0].get<int64_t>())};
        dropUnit(ctl, partnerNumber);
        startMigration(*unitNumbered(ctl, number), layoutJson(mirror));
        result.changed = true;
        return result;
    }
    if (mode != kUpdateReconfigure) {
        result.code = kFwInvalidField;
        return result;
    }
    if (textField(*unit, "type", "") == "migrating") {
        result.code = kFwUnitNotNormal;
        return result;
    }
    Layout layout;
    result.code = readCommand(command, data, false, &layout);
    if (result.code == 0)
        result.code = checkLayout(ctl, layout);
    if (result.code == 0)
        result.code = checkMembers(ctl, layout, number);
    // The new layout keeps every drive the unit has.
    for (const json& member : unit->value("members", json::array())) {
        if (result.code == 0 && member.is_number_integer() &&
            std::find(layout.members.begin(), layout.members.end(), member.get<int64_t>()) ==
                layout.members.end()) {
            result.code = kFwInvalidMembers;
        }
    }
    if (result.code != 0)
        return result;
    startMigration(*unit, layoutJson(layout));
    result.changed = true;
    return result;
}

}  // namespace emulator
