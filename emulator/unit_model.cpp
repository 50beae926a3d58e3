#include "emulator/unit_model.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "emulator/controller_model.h"
#include "emulator/faults.h"
#include "emulator/fields.h"

namespace emulator {

using nlohmann::json;

namespace {

// ---------------------------------------------------------------------------
// RAID rules: how each kind of unit lays out its descriptors.

enum class Shape {
    Single,     // one descriptor that is also its own drive
    Array,      // one array element over its member drives
    Nested,     // a RAID-0 element over array elements of `child`
    Migrating,  // a type-0x20 element over the source and destination layouts
};

struct TypeRule {
    const char* name;
    uint8_t code;  // UnitType of the (top) element
    Shape shape;
    uint8_t redundancy;  // member drives whose room holds parity
    bool mirror;         // capacity of one member
    bool striped;
    const char* child;   // Nested: the type of the subunits
    size_t group;        // Nested: member drives per subunit by default
    uint8_t extensions;  // extension descriptors after the element by default
};

constexpr uint8_t kTypeDrive = 12;
constexpr uint8_t kTypeExtension = 0x30;
constexpr uint8_t kTypeDead = 64;

const TypeRule kTypeRules[] = {
    {"raid0", 0, Shape::Array, 0, false, true, nullptr, 0, 0},
    {"raid1", 2, Shape::Array, 0, true, false, nullptr, 0, 0},
    {"raid5", 5, Shape::Array, 1, false, true, nullptr, 0, 0},
    {"raid6", 7, Shape::Array, 2, false, true, nullptr, 0, 1},
    {"raid10", 0, Shape::Nested, 0, false, true, "raid1", 2, 0},
    {"raid50", 0, Shape::Nested, 0, false, true, "raid5", 3, 0},
    {"single", 11, Shape::Single, 0, true, false, nullptr, 0, 0},
    {"cbod", kTypeDrive, Shape::Single, 0, true, false, nullptr, 0, 0},
    {"spare", 13, Shape::Single, 0, true, false, nullptr, 0, 0},
    {"jbod", 15, Shape::Single, 0, true, false, nullptr, 0, 0},
    {"migrating", 0x20, Shape::Migrating, 0, false, false, nullptr, 0, 0},
};

// A description the controller cannot make sense of: a dead unit.
const TypeRule kDeadRule = {"dead", kTypeDead, Shape::Single, 0, true, false, nullptr, 0, 0};

const TypeRule& ruleOf(const std::string& name) {
    for (const TypeRule& rule : kTypeRules) {
        if (name == rule.name)
            return rule;
    }
    return kDeadRule;
}

const TypeRule& ruleOfUnit(const json& unit) {
    return ruleOf(textField(unit, "type", "single"));
}

// ---------------------------------------------------------------------------
// Element states.

struct StateName {
    const char* name;
    uint8_t status;  // UnitStatus
    bool task;       // a background task runs in this state
};

constexpr uint8_t kStatusOk = 255;
constexpr uint8_t kStatusInitializing = 247;
constexpr uint8_t kStatusMigrating = 175;

const StateName kStates[] = {
    {"ok", kStatusOk, false}, {"verifying", 251, true},  {"initializing", 247, true},
    {"degraded", 239, false}, {"rebuilding", 223, true}, {"recovery", 191, true},
    {"migrating", 175, true}, {"unknown", 17, false},    {"inoperable", 0, false},
};

// The states whose byte 3 names the member they concern.
bool concernsMember(uint8_t status) {
    return status == 239 || status == 223 || status == 191 || status == 0;
}

struct ElementState {
    uint8_t status = kStatusOk;
    bool task = false;
    bool paused = false;
    uint16_t progress = 0;  // 0-1024
    int64_t member = -1;    // the member the state concerns; -1: derive
    bool initialized = true;
    int64_t code = -1;  // the UnitType the descriptor reports; -1: the type's own
};

constexpr uint16_t kProgressFull = 1024;
constexpr uint16_t kTaskRunning = 0x8000;

// The state fields of `node` over `base`.
ElementState readState(const json& node, ElementState base) {
    if (!node.is_object())
        return base;
    auto it = node.find("state");
    if (it != node.end() && it->is_string()) {
        const std::string name = it->get<std::string>();
        for (const StateName& s : kStates) {
            if (name == s.name) {
                base.status = s.status;
                base.task = s.task;
                base.initialized = s.status != kStatusInitializing;
            }
        }
    }
    // The controller counts progress in 1/1024 steps; it holds the first
    // step at or past the percent the host file names, so the percent reads
    // back as written.
    int64_t percent = numberField(node, "progress", -1);
    if (percent >= 0)
        base.progress =
            static_cast<uint16_t>((std::min<int64_t>(percent, 100) * kProgressFull + 99) / 100);
    base.paused = flagField(node, "paused", base.paused);
    base.member = numberField(node, "member", base.member);
    base.initialized = flagField(node, "initialized", base.initialized);
    const int64_t code = numberField(node, "code", -1);
    if (code >= 0 && code <= 255)
        base.code = code;
    return base;
}

// ---------------------------------------------------------------------------
// Descriptors.

struct Descriptor {
    uint8_t children = 0;
    uint8_t type = 0;
    uint8_t stripe = 0;
    uint8_t byte3 = 0;
    uint8_t status = kStatusOk;
    uint16_t task = 0;
    uint64_t capacity = 0;
    uint8_t extensions = 0;
    bool initialized = true;
};

void appendDescriptor(Bytes& out, const Descriptor& d) {
    size_t at = out.size();
    out.resize(at + kUnitDescriptorSize, 0);
    put8(out, at + 0, d.children);
    put8(out, at + 1, d.type);
    put8(out, at + 2, d.stripe);
    put8(out, at + 3, d.byte3);
    put8(out, at + 5, d.status);
    put16(out, at + 6, d.task);
    // The field holds 32 bits; a larger element reads as the largest.
    put32(out, at + 12, std::min<uint64_t>(d.capacity, 0xFFFFFFFFu));
    put8(out, at + 18, d.extensions);
    put8(out, at + 19, d.initialized ? 0x80 : 0);
}

Descriptor stateDescriptor(uint8_t type, const ElementState& s) {
    Descriptor d;
    d.type = s.code >= 0 ? static_cast<uint8_t>(s.code) : type;
    d.status = s.status;
    d.task = static_cast<uint16_t>(s.progress | (s.task && !s.paused ? kTaskRunning : 0));
    d.initialized = s.initialized;
    return d;
}

constexpr uint8_t kMissingPort = 255;

const json* driveAt(const ControllerModel& ctl, uint64_t port) {
    const json* drive = ctl.drive(static_cast<int64_t>(port));
    return drive != nullptr && flagField(*drive, "present", true) ? drive : nullptr;
}

uint64_t driveCapacity(const ControllerModel& ctl, uint8_t port) {
    const json* drive = port == kMissingPort ? nullptr : driveAt(ctl, port);
    return drive == nullptr ? 0 : static_cast<uint64_t>(numberField(*drive, "capacity", 0));
}

// The member ports of a unit; a member that is not a port number (null)
// is missing and reads as port 255.
std::vector<uint8_t> membersOf(const json& unit) {
    std::vector<uint8_t> ports;
    auto it = unit.find("members");
    if (it == unit.end() || !it->is_array())
        return ports;
    for (const json& m : *it) {
        bool isPort = m.is_number_integer() && m.get<int64_t>() >= 0 && m.get<int64_t>() < 128;
        ports.push_back(isPort ? static_cast<uint8_t>(m.get<int64_t>()) : kMissingPort);
    }
    return ports;
}

constexpr uint8_t kDefaultStripe = 7;  // 64 KiB

uint8_t stripeOf(const json& unit) {
    return static_cast<uint8_t>(numberField(unit, "stripe", kDefaultStripe));
}

const json& emptyObject() {
    static const json empty = json::object();
    return empty;
}

// The descriptions in the list `key` of `unit`, at most 255 (an element
// counts its children and its extensions in one byte); null when there is
// no such list.
std::optional<std::vector<const json*>> listOf(const json& unit, const char* key) {
    auto list = unit.find(key);
    if (list == unit.end() || !list->is_array())
        return std::nullopt;
    std::vector<const json*> items;
    for (size_t i = 0; i < list->size() && i < 255; ++i)
        items.push_back(&(*list)[i]);
    return items;
}

// The extension elements of an array unit, in descriptor order: a RAID-6
// unit's "extensions", else its one "extension" (normal when not given);
// none for the other types.
std::vector<const json*> extensionsOf(const json& unit, const TypeRule& rule) {
    if (rule.extensions == 0)
        return {};
    if (auto list = listOf(unit, "extensions"))
        return *list;
    auto one = unit.find("extension");
    return {one != unit.end() ? &*one : &emptyObject()};
}

// The extension descriptors that follow an array element of `capacity`.
void appendExtensions(const std::vector<const json*>& extensions, uint64_t capacity, Bytes& out) {
    for (const json* extension : extensions) {
        ElementState es = readState(*extension, ElementState{});
        Descriptor x = stateDescriptor(kTypeExtension, es);
        x.capacity = capacity;
        if (concernsMember(es.status))
            x.byte3 = static_cast<uint8_t>(std::max<int64_t>(es.member, 0));
        appendDescriptor(out, x);
    }
}

// One array element with its extensions and member drives; answers its
// capacity.
uint64_t appendArray(const ControllerModel& ctl, const TypeRule& rule,
                     const std::vector<uint8_t>& ports, uint8_t stripe, const ElementState& s,
                     const std::vector<const json*>& extensions, Bytes& out) {
    uint64_t smallest = 0;
    bool any = false;
    int64_t firstMissing = -1;
    for (size_t i = 0; i < ports.size(); ++i) {
        const json* drive = ports[i] == kMissingPort ? nullptr : driveAt(ctl, ports[i]);
        if (drive == nullptr) {
            if (firstMissing < 0)
                firstMissing = static_cast<int64_t>(i);
            continue;
        }
        uint64_t cap = driveCapacity(ctl, ports[i]);
        smallest = any ? std::min(smallest, cap) : cap;
        any = true;
    }
    size_t dataDrives = rule.mirror                      ? 1
                        : ports.size() > rule.redundancy ? ports.size() - rule.redundancy
                                                         : 0;
    Descriptor d = stateDescriptor(rule.code, s);
    d.children = static_cast<uint8_t>(ports.size());
    d.stripe = rule.striped ? stripe : 0;
    d.capacity = smallest * dataDrives;
    d.extensions = static_cast<uint8_t>(extensions.size());
    if (concernsMember(s.status))
        d.byte3 =
            static_cast<uint8_t>(s.member >= 0 ? s.member : std::max<int64_t>(firstMissing, 0));
    appendDescriptor(out, d);
    appendExtensions(extensions, d.capacity, out);
    for (uint8_t port : ports) {
        Descriptor m;
        m.type = kTypeDrive;
        m.byte3 = port;
        // A missing member (no drive on its port) is inoperable.
        bool present = port != kMissingPort && driveAt(ctl, port) != nullptr;
        m.status = present ? kStatusOk : 0;
        m.capacity = driveCapacity(ctl, port);
        appendDescriptor(out, m);
    }
    return d.capacity;
}

// The layouts of a migrating unit, its children in descriptor order:
// "layouts" when given, else the "source" (the layout the unit had) and
// the "destination" (the one it gets). A layout that is not an object is
// an empty one.
std::vector<const json*> layoutsOf(const json& unit) {
    std::vector<const json*> layouts;
    if (auto list = listOf(unit, "layouts")) {
        layouts = *list;
    } else {
        for (const char* key : {"source", "destination"}) {
            auto it = unit.find(key);
            layouts.push_back(it != unit.end() ? &*it : &emptyObject());
        }
    }
    for (const json*& layout : layouts) {
        if (!layout->is_object())
            layout = &emptyObject();
    }
    return layouts;
}

UnitLayout buildUnit(const ControllerModel& ctl, const json& unit) {
    UnitLayout built;
    const TypeRule& rule = ruleOfUnit(unit);
    std::vector<uint8_t> ports = membersOf(unit);
    ElementState state = readState(unit, ElementState{});
    json none = json::object();
    switch (rule.shape) {
        case Shape::Single: {
            Descriptor d = stateDescriptor(rule.code, state);
            d.byte3 = ports.empty() ? kMissingPort : ports[0];
            d.capacity = ports.empty() ? 0 : driveCapacity(ctl, ports[0]);
            appendDescriptor(built.descriptors, d);
            built.capacity = d.capacity;
            break;
        }
        case Shape::Array:
            built.capacity = appendArray(ctl, rule, ports, stripeOf(unit), state,
                                         extensionsOf(unit, rule), built.descriptors);
            break;
        case Shape::Nested: {
            const TypeRule& child = ruleOf(rule.child);
            size_t group = static_cast<size_t>(
                std::max<int64_t>(numberField(unit, "group", static_cast<int64_t>(rule.group)), 1));
            auto subunits = unit.find("subunits");
            bool ownStates = subunits != unit.end() && subunits->is_array();
            Bytes children;
            uint8_t count = 0;
            uint8_t topStatus = kStatusOk;
            for (size_t first = 0; first < ports.size(); first += group, ++count) {
                std::vector<uint8_t> part(ports.begin() + static_cast<std::ptrdiff_t>(first),
                                          ports.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                              first + group, ports.size())));
                // Subunits share the unit's state unless each has its own.
                ElementState s = state;
                s.code = -1;
                if (ownStates) {
                    s = readState(count < subunits->size() ? (*subunits)[count] : none,
                                  ElementState{});
                }
                if (topStatus == kStatusOk)
                    topStatus = s.status;
                built.capacity += appendArray(ctl, child, part, stripeOf(unit), s, {}, children);
            }
            Descriptor top = stateDescriptor(rule.code, state);
            if (ownStates && unit.find("state") == unit.end())
                top.status = topStatus;
            top.children = count;
            top.stripe = stripeOf(unit);
            top.capacity = built.capacity;
            appendDescriptor(built.descriptors, top);
            built.descriptors.insert(built.descriptors.end(), children.begin(), children.end());
            break;
        }
        case Shape::Migrating: {
            // Child 0 is the layout the unit had, child 1 the one it gets;
            // the unit's capacity is the source's until the migration ends.
            ElementState base;
            base.status = kStatusMigrating;
            base.task = true;
            Descriptor top = stateDescriptor(rule.code, readState(unit, base));
            const std::vector<const json*> layouts = layoutsOf(unit);
            top.children = static_cast<uint8_t>(layouts.size());
            Bytes children;
            for (size_t h = 0; h < layouts.size(); ++h) {
                const UnitLayout& half = ctl.layout(*layouts[h]);
                if (h == 0)
                    built.capacity = half.capacity;
                children.insert(children.end(), half.descriptors.begin(), half.descriptors.end());
            }
            top.capacity = built.capacity;
            appendDescriptor(built.descriptors, top);
            built.descriptors.insert(built.descriptors.end(), children.begin(), children.end());
            break;
        }
    }
    return built;
}

}  // namespace

std::vector<uint8_t> unitMemberPorts(const json& unit) {
    if (ruleOfUnit(unit).shape != Shape::Migrating)
        return membersOf(unit);
    std::vector<uint8_t> ports;
    for (const json* layout : layoutsOf(unit)) {
        std::vector<uint8_t> half = unitMemberPorts(*layout);
        ports.insert(ports.end(), half.begin(), half.end());
    }
    return ports;
}

UnitLayout layoutUnit(const ControllerModel& ctl, const json& unit) {
    return buildUnit(ctl, unit);
}

Bytes unitDescriptors(const ControllerModel& ctl, const json& unit) {
    return ctl.layout(unit).descriptors;
}

size_t unitDescriptorCount(const ControllerModel& ctl, const json& unit) {
    return ctl.layout(unit).descriptors.size() / kUnitDescriptorSize;
}

uint64_t unitCapacity(const ControllerModel& ctl, const json& unit) {
    int64_t given = numberField(unit, "capacity", -1);
    return given >= 0 ? static_cast<uint64_t>(given) : ctl.layout(unit).capacity;
}

uint64_t unitMigrateCapacity(const ControllerModel& ctl, const json& unit) {
    int64_t given = numberField(unit, "migrate_capacity", -1);
    if (given >= 0)
        return static_cast<uint64_t>(given);
    if (ruleOfUnit(unit).shape != Shape::Migrating)
        return 0;
    const std::vector<const json*> layouts = layoutsOf(unit);
    return layouts.size() < 2 ? 0 : unitCapacity(ctl, *layouts[1]);
}

std::vector<uint64_t> unitVolumes(const ControllerModel& ctl, const json& unit) {
    std::vector<uint64_t> sizes;
    auto it = unit.find("volumes");
    if (it != unit.end() && it->is_array()) {
        for (const json& v : *it) {
            if (sizes.size() == kMaxVolumes)
                break;
            sizes.push_back(v.is_number() ? v.get<uint64_t>() : 0);
        }
        return sizes;
    }
    sizes.push_back(unitCapacity(ctl, unit));
    return sizes;
}

size_t unitVolumeCount(const json& unit) {
    auto it = unit.find("volumes");
    if (it != unit.end() && it->is_array())
        return std::min(it->size(), kMaxVolumes);
    return 1;
}

Bytes volumeTable(const ControllerModel& ctl, const json& unit) {
    std::vector<uint64_t> sizes = unitVolumes(ctl, unit);
    Bytes table(sizes.size() * kVolumeEntrySize, 0);
    uint64_t first = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        size_t at = i * kVolumeEntrySize;
        put8(table, at + 1, 0x80);
        put8(table, at + 2, i);
        put64(table, at + 4, first);
        put64(table, at + 12, sizes[i]);
        first += sizes[i];
    }
    return table;
}

Bytes unitDescriptors(const json& ctl, const json& unit) {
    return unitDescriptors(ControllerModel(ctl), unit);
}

uint64_t unitCapacity(const json& ctl, const json& unit) {
    return unitCapacity(ControllerModel(ctl), unit);
}

const json* driveOnPort(const json& ctl, int64_t port) {
    auto drives = ctl.find("drives");
    if (drives == ctl.end() || !drives->is_array())
        return nullptr;
    for (const json& drive : *drives) {
        if (numberField(drive, "port", -1) == port)
            return &drive;
    }
    return nullptr;
}

json* driveOnPort(json& ctl, int64_t port) {
    return const_cast<json*>(driveOnPort(static_cast<const json&>(ctl), port));
}

json* unitNumbered(json& ctl, int64_t number) {
    auto units = ctl.find("units");
    if (units == ctl.end() || !units->is_array())
        return nullptr;
    for (json& unit : *units) {
        if (numberField(unit, "number", -1) == number)
            return &unit;
    }
    return nullptr;
}

bool newUnitWriteCache(const json& ctl) {
    return flagField(ctl, "new_unit_write_cache", true);
}

uint8_t unitOfPort(const json& ctl, uint64_t port) {
    return ControllerModel(ctl).unitOfPort(port);
}

bool attachUnitDisks(json& state) {
    auto machine = state.find("machine");
    if (machine == state.end() || !machine->is_object())
        return false;
    auto controllers = machine->find("controllers");
    if (controllers == machine->end() || !controllers->is_array())
        return false;
    json& disks = (*machine)["disks"];
    if (!disks.is_array())
        disks = json::array();
    bool changed = false;
    int64_t nextNumber = 0;
    for (const json& disk : disks)
        nextNumber = std::max(nextNumber, numberField(disk, "disk_number", 0) + 1);

    auto seen = [](const json& unit) {
        return flagField(unit, "os_visible", true) && ruleOfUnit(unit).code != ruleOf("spare").code;
    };
    // The disks Windows has of each (controller, target), and the units it sees.
    std::map<std::pair<int64_t, int64_t>, size_t> disksOf;
    for (const json& disk : disks)
        ++disksOf[{numberField(disk, "controller", -1), numberField(disk, "target", 0)}];
    std::set<std::pair<int64_t, int64_t>> seenUnits;
    for (size_t c = 0; c < controllers->size(); ++c) {
        const json& ctl = (*controllers)[c];
        auto units = ctl.find("units");
        if (units == ctl.end() || !units->is_array())
            continue;
        for (const json& unit : *units) {
            if (!seen(unit))
                continue;
            const auto place =
                std::make_pair(static_cast<int64_t>(c), numberField(unit, "number", -1));
            seenUnits.insert(place);
            const size_t volumes = unitVolumeCount(unit);
            for (size_t& have = disksOf[place]; have < volumes; ++have) {
                disks.push_back({{"controller", c},
                                 {"target", place.second},
                                 {"disk_number", nextNumber++},
                                 {"unit_disk", true}});
                changed = true;
            }
        }
    }
    // A disk of a unit that went away leaves the machine; one of a unit
    // that is there (again: imported, or its removal undone) is back.
    for (json& disk : disks) {
        if (!flagField(disk, "unit_disk", false))
            continue;
        const bool exists = seenUnits.count({numberField(disk, "controller", -1),
                                             numberField(disk, "target", 0)}) > 0;
        if (exists != flagField(disk, "present", true)) {
            disk["present"] = exists;
            changed = true;
        }
    }
    return changed;
}

}  // namespace emulator
