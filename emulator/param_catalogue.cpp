#include "emulator/param_catalogue.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "emulator/bbu_model.h"
#include "emulator/controller_model.h"
#include "emulator/drive_model.h"
#include "emulator/enclosure_model.h"
#include "emulator/fields.h"
#include "emulator/model_paths.h"
#include "emulator/prane_firmware.h"
#include "emulator/unit_commands.h"
#include "emulator/unit_model.h"

namespace emulator {

using nlohmann::json;

// ---------------------------------------------------------------------------
// Table catalogue.

// The object a table describes: the controller itself or one of its parts,
// numbered by the low bits of the table id.
enum class Scope { Controller, Phy, DriveStats, Drive, Unit, ScheduleSlot };

struct TableDef {
    uint16_t base;   // table id without bit 15; object tables add the number
    uint16_t count;  // 1, or the number of objects
    Scope scope;
};

// How a parameter's bytes come from the model.
enum class Enc {
    Uint,     // little-endian number, `size` bytes
    Text,     // text, zero-filled to `size`
    Raw,      // array of byte values, zero-filled to `size`
    Rate,     // a task rate 1-5, kept by the controller as 270 - 50 x rate
    Window,   // {"start", "duration"}: two u16 minutes
    Name,     // 8-byte world wide name, most significant byte first; a number or "0x..." text
    Derived,  // computed from the controller by `derive`
};

// Derived values see the controller and the table's object (null for a
// controller table).
using Deriver = void (*)(const ControllerModel& model, const json* object, Bytes& out);
using Sizer = uint32_t (*)(const ControllerModel& model, const json* object);
// A default that depends on the object (its number or its other fields).
using Defaulter = uint64_t (*)(const json& ctl, const TableRef& table);
// Takes a write of a derived parameter into the table's object (the
// controller for a controller table).
using Writer = void (*)(json& object, const Bytes& value);

struct ParamDef {
    uint16_t table;
    uint16_t param;
    uint32_t size;  // 0: sized by `sizer`
    bool writable;
    Enc enc;
    const char* path;  // below the scope's node
    uint64_t dflt;
    Deriver derive = nullptr;
    Sizer sizer = nullptr;
    // The lowest firmware compatibility level that has the parameter.
    uint32_t minLevel = 0;
    Defaulter dfltOf = nullptr;      // replaces `dflt` when set
    uint64_t maxValue = UINT64_MAX;  // a write of a larger value is refused
    Writer write = nullptr;          // makes a derived parameter writable
};

namespace {

// --- derived values ---

void deriveDriveCount(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    put16(out, 0, arraySize(ctl, "drives"));
}

// One DriveStatus byte per port: 0 for an empty port.
void derivePortStatus(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    auto it = ctl.find("drives");
    if (it == ctl.end() || !it->is_array())
        return;
    for (const json& drive : *it) {
        uint64_t port = numberOr(findModel(drive, "port"), ~0ull);
        if (port < out.size())
            out[port] = static_cast<uint8_t>(numberOr(findModel(drive, "status"), 255));
    }
}

// One byte per unit number: nonzero for an existing unit (its raw status
// byte on the older family).
void deriveUnitPresence(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    auto it = ctl.find("units");
    if (it == ctl.end() || !it->is_array())
        return;
    for (const json& unit : *it) {
        uint64_t number = numberOr(findModel(unit, "number"), ~0ull);
        if (number < out.size()) {
            uint64_t status = numberOr(findModel(unit, "status_byte"), 1);
            out[number] = static_cast<uint8_t>(status == 0 ? 1 : status);
        }
    }
}

// --- SAS phys ---

uint64_t compatLevel(const json& ctl);

constexpr uint64_t kDefaultPorts = 4;
constexpr uint64_t kNoPhy = 255;
constexpr uint64_t kNoEnclosure = 255;
constexpr uint64_t kPhySlots = 128;
constexpr uint64_t kTevrinBusBits = 0x300;
constexpr uint64_t kSasPhysLevel = 36;
// LinkSpeed limit codes: 0 auto, 1 1.5 Gbps, 2 3.0 Gbps.
constexpr uint64_t kLinkLimitMax = 2;
// PhyDeviceType codes.
constexpr uint64_t kPhySata = 1;
constexpr uint64_t kPhySas = 2;
constexpr uint64_t kPhyEnclosure = 3;
// DriveInterfaceType codes of SAS drives (direct, behind an enclosure).
constexpr uint64_t kInterfaceSas = 3;
constexpr uint64_t kInterfaceSasEnclosure = 7;
constexpr uint64_t kDefaultLinkSpeed = 2;

// DriveInterfaceType: the host file's interface (1 SATA, 3 SAS; 5 and 7
// behind an enclosure), with the "behind an enclosure" bit (4) also set
// whenever the drive sits in an enclosure's slot, as the controller sees
// its own wiring.
void deriveDriveInterface(const ControllerModel&, const json* drive, Bytes& out) {
    constexpr uint64_t kBehindEnclosure = 4;
    uint64_t interface = numberOr(findModel(*drive, "interface"), 1);
    if (numberOr(findModel(*drive, "enclosure"), kNoEnclosure) != kNoEnclosure)
        interface |= kBehindEnclosure;
    put8(out, 0, interface);
}

// The controllers with SAS phys: model codes 8 and 10, and a model 6 or 7
// of the Tevrin class (host bus bits 0x300) from compatibility level 36.
bool hasSasPhys(const json& ctl) {
    const uint64_t model = numberOr(findModel(ctl, "identity.model_code"), 0);
    if (model == 8 || model == 10)
        return true;
    const bool tevrin = (model == 6 || model == 7) &&
                        (numberOr(findModel(ctl, "settings.host_bus"), 0) & kTevrinBusBits) != 0;
    return tevrin && compatLevel(ctl) >= kSasPhysLevel;
}

// Without a "phys" list such a controller has one phy per port.
bool hasImplicitPhys(const json& ctl) {
    return ctl.find("phys") == ctl.end() && hasSasPhys(ctl);
}

// The controller's ports (at most 128).
uint64_t portCount(const json& ctl) {
    return std::min(numberOr(findModel(ctl, "settings.ports"), kDefaultPorts), kPhySlots);
}

uint64_t phyCount(const json& ctl) {
    if (!hasImplicitPhys(ctl))
        return arraySize(ctl, "phys");
    return portCount(ctl);
}

bool phyExists(const json& ctl, uint64_t phy) {
    if (hasImplicitPhys(ctl))
        return phy < phyCount(ctl);
    auto it = ctl.find("phys");
    if (it == ctl.end() || !it->is_array())
        return false;
    return std::any_of(it->begin(), it->end(), [phy](const json& p) {
        return numberOr(findModel(p, "phy"), ~0ull) == phy;
    });
}

// The phy a drive is attached through: its "phy"; else, on a controller
// with SAS phys, phy n for a drive on port n that is in no enclosure.
uint64_t phyOfDrive(const json& ctl, const json& drive) {
    if (const json* phy = findModel(drive, "phy"))
        return numberOr(phy, kNoPhy);
    const uint64_t port = numberOr(findModel(drive, "port"), ~0ull);
    if (!hasSasPhys(ctl) || numberOr(findModel(drive, "enclosure"), kNoEnclosure) != kNoEnclosure)
        return kNoPhy;
    return phyExists(ctl, port) ? port : kNoPhy;
}

// The first present drive attached through the phy; null when none.
const json* driveOfPhy(const json& ctl, uint64_t phy) {
    constexpr uint64_t kPresentBit = 0x80;
    auto it = ctl.find("drives");
    if (it == ctl.end() || !it->is_array())
        return nullptr;
    for (const json& drive : *it) {
        const bool present = (numberOr(findModel(drive, "status"), 255) & kPresentBit) != 0;
        if (present && phyOfDrive(ctl, drive) == phy)
            return &drive;
    }
    return nullptr;
}

// A world wide name of the NAA 5 form: a company id and 36 bits of
// the text's hash and `low`.
uint64_t worldWideName(const std::string& text, uint64_t low) {
    constexpr uint64_t kNaa5 = 5ull << 60;
    constexpr uint64_t kCompanyId = 0x001D9Full << 36;
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : text)
        hash = (hash ^ c) * 16777619u;
    return kNaa5 | kCompanyId | (uint64_t{hash & 0x0FFFFFFFu} << 8) | (low & 0xFF);
}

void derivePhyCount(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    put8(out, 0, phyCount(ctl));
}

// What a phy reports of the drive attached through it, and a drive's names
// and wiring (defined after TableRef).
uint64_t phyLinkSpeedDefault(const json& ctl, const TableRef& table);
uint64_t phyDeviceTypeDefault(const json& ctl, const TableRef& table);
uint64_t phySasAddressDefault(const json& ctl, const TableRef& table);
uint64_t driveWwnDefault(const json& ctl, const TableRef& table);
uint64_t drivePhyDefault(const json& ctl, const TableRef& table);

// Logs hold no entries yet: all zero.
void deriveZeros(const ControllerModel&, const json*, Bytes&) {}

// The captured segment that the segment index selects: its first
// segment-size bytes carry the pattern (index + offset) & 0xFF, the rest
// is zero, and a segment past the captured ones is all zero.
void deriveCaptureSegment(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    const uint64_t index = numberOr(findModel(ctl, "capture.segment_index"), 0);
    const uint64_t count = numberOr(findModel(ctl, "capture.segments"), 0);
    const uint64_t size = numberOr(findModel(ctl, "capture.segment_size"), 4096);
    if (index >= count)
        return;
    for (size_t i = 0; i < out.size() && i < size; ++i)
        out[i] = static_cast<uint8_t>((index + i) & 0xFF);
}

uint32_t logSize(const ControllerModel& model, const json*) {
    const json& ctl = model.json();
    return static_cast<uint32_t>(numberOr(findModel(ctl, "settings.log_size"), 8192) & 0xFFFF);
}

// --- units and the drives in them ---

const json& objectOf(const json* object) {
    static const json empty = json::object();
    return object != nullptr ? *object : empty;
}

// The unit that holds the drive; a drive no unit names keeps its own
// "unit" (255: none).
void deriveDriveUnit(const ControllerModel& model, const json* drive, Bytes& out) {
    uint64_t port = numberOr(findModel(objectOf(drive), "port"), ~0ull);
    uint8_t unit = model.unitOfPort(port);
    put8(out, 0, unit != kNoUnit ? unit : numberOr(findModel(objectOf(drive), "unit"), kNoUnit));
}

// The drive's unit flags. Bit 0: the drive carries a unit's configuration,
// that of a unit holding it (a hot spare or a single-drive CBOD unit
// carries none: such a drive can take part in a new unit or a rebuild) or
// that of an exported unit; the drive's own "unit_flags" when given.
void deriveDriveUnitFlags(const ControllerModel& model, const json* drive, Bytes& out) {
    const json& ctl = model.json();
    const json& d = objectOf(drive);
    const uint64_t port = numberOr(findModel(d, "port"), ~0ull);
    uint64_t held = 0;
    const uint8_t holder = model.unitOfPort(port);
    if (const json* unit = holder != kNoUnit ? model.unit(holder) : nullptr) {
        const std::string type = textField(*unit, "type", "");
        held = type == "spare" || type == "cbod" ? 0 : 1;
    }
    put8(out, 0,
         (numberOr(findModel(d, "unit_flags"), held) | (carriesExportedUnit(ctl, port) ? 1 : 0)) &
             0xFF);
}

void deriveDescriptorCount(const ControllerModel& model, const json* unit, Bytes& out) {
    put16(out, 0, unitDescriptorCount(model, objectOf(unit)));
}

void deriveDescriptorSize(const ControllerModel&, const json*, Bytes& out) {
    put8(out, 0, kUnitDescriptorSize);
}

void deriveDescriptors(const ControllerModel& model, const json* unit, Bytes& out) {
    const Bytes& d = model.layout(objectOf(unit)).descriptors;
    std::copy_n(d.begin(), std::min(d.size(), out.size()), out.begin());
}

uint32_t descriptorsSize(const ControllerModel& model, const json* unit) {
    return static_cast<uint32_t>(model.layout(objectOf(unit)).descriptors.size());
}

void deriveUnitCapacity(const ControllerModel& model, const json* unit, Bytes& out) {
    put64(out, 0, unitCapacity(model, objectOf(unit)));
}

void deriveMigrateCapacity(const ControllerModel& model, const json* unit, Bytes& out) {
    put64(out, 0, unitMigrateCapacity(model, objectOf(unit)));
}

void deriveVolumeCount(const ControllerModel&, const json* unit, Bytes& out) {
    put8(out, 0, unitVolumeCount(objectOf(unit)));
}

void deriveVolumeTable(const ControllerModel& model, const json* unit, Bytes& out) {
    Bytes t = volumeTable(model, objectOf(unit));
    std::copy_n(t.begin(), std::min(t.size(), out.size()), out.begin());
}

uint32_t volumeTableSize(const ControllerModel& model, const json* unit) {
    return static_cast<uint32_t>(volumeTable(model, objectOf(unit)).size());
}

// --- the drive performance monitor (emulator/drive_model.cpp) ---

// The pending-I/O list: one 16-bit counter per entry of "perf.pending_list".
void derivePendingList(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    const json* list = findModel(ctl, "perf.pending_list");
    if (list == nullptr || !list->is_array())
        return;
    for (size_t i = 0; i < list->size() && 2 * i + 2 <= out.size(); ++i)
        put16(out, 2 * i, numberOr(&(*list)[i], 0));
}

void deriveDpmConfig(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    dpmConfigBytes(ctl, out);
}
uint32_t dpmSamplesSize(const ControllerModel& model, const json*) {
    const json& ctl = model.json();
    return dpmSampleWindowSize(ctl);
}
uint32_t dpmLongSize(const ControllerModel& model, const json*) {
    const json& ctl = model.json();
    return dpmLongCommandsSize(ctl);
}
void deriveDpmSamples(const ControllerModel&, const json* drive, Bytes& out) {
    dpmSampleBytes(drive, out);
}
void deriveDpmAverage(const ControllerModel&, const json* drive, Bytes& out) {
    dpmBlockBytes(drive, "average", out);
}
void deriveDpmAverageOnDisk(const ControllerModel&, const json* drive, Bytes& out) {
    dpmBlockBytes(drive, "average_on_disk", out);
}
void writeDpmAverage(json& drive, const Bytes& value) {
    dpmWriteBlock(drive, "average", value);
}
void writeDpmAverageOnDisk(json& drive, const Bytes& value) {
    dpmWriteBlock(drive, "average_on_disk", value);
}
void deriveDpmLong(const ControllerModel&, const json* drive, Bytes& out) {
    dpmLongCommandBytes(drive, "long_commands", out);
}
void deriveDpmLongOnDisk(const ControllerModel&, const json* drive, Bytes& out) {
    dpmLongCommandBytes(drive, "long_commands_on_disk", out);
}
void writeDpmLong(json& drive, const Bytes& value) {
    dpmWriteLongCommands(drive, "long_commands", value);
}
void writeDpmLongOnDisk(json& drive, const Bytes& value) {
    dpmWriteLongCommands(drive, "long_commands_on_disk", value);
}

// Newer-family tables (ids without bit 15).
constexpr TableDef kRhoskTables[] = {
    {0x0001, 1, Scope::Controller},    // PhySummaryTable
    {0x0002, 1, Scope::Controller},    // PortSummaryTable
    {0x0003, 1, Scope::Controller},    // UnitSummaryTable
    {0x0006, 1, Scope::Controller},    // BbuTable (0x8006)
    {0x0008, 1, Scope::Controller},    // EnclosureDiscoveryTable
    {0x0009, 1, Scope::Controller},    // DrivePerfTable
    {0x000A, 1, Scope::Controller},    // TuningTable
    {0x0080, 128, Scope::Phy},         // PhyTable
    {0x0100, 128, Scope::DriveStats},  // DriveStatsTable
    {0x0200, 128, Scope::Drive},       // DriveTable
    {0x0300, 32, Scope::Unit},         // UnitTable
    {0x0402, 1, Scope::Controller},    // ControllerInfoTable
    {0x0403, 1, Scope::Controller},    // ControllerSettingsTable
    {0x0407, 1, Scope::Controller},    // EventCaptureTable
    {0x040C, 1, Scope::Controller},    // BackgroundTaskTable (0x840C)
    {0x0410, 7, Scope::ScheduleSlot},  // ScheduleSlotTable (0x8410 + slot)
};

constexpr bool RO = false;
constexpr bool RW = true;

// Parameters both families keep alike.
const ParamDef kSharedParams[] = {
    {0x0002, 2, 2, RO, Enc::Derived, "", 0, deriveDriveCount},
    {0x0200, 2, 4, RO, Enc::Uint, "capacity", 0},
    {0x0200, 3, 40, RO, Enc::Text, "model", 0},
    {0x0200, 4, 20, RO, Enc::Text, "serial", 0},
    {0x0200, 11, 1, RO, Enc::Derived, "", 0, deriveDriveUnit},
    {0x0200, 14, 8, RO, Enc::Text, "firmware", 0},
    {0x0402, 2, 16, RO, Enc::Text, "identity.boot_loader", 0},
    {0x0402, 3, 16, RO, Enc::Text, "identity.firmware", 0},
    {0x0402, 4, 16, RO, Enc::Text, "identity.bios", 0},
    {0x0402, 5, 8, RO, Enc::Text, "identity.pcb", 0},
    {0x0402, 6, 8, RO, Enc::Text, "identity.achip", 0},
    {0x0402, 7, 8, RO, Enc::Text, "identity.pchip", 0},
    {0x0402, 8, 16, RO, Enc::Text, "identity.model", 0},
    {0x0402, 9, 20, RO, Enc::Text, "identity.serial", 0},
    {0x0402, 10, 4, RO, Enc::Uint, "identity.memory", 0},
    {0x0403, 3, 1, RO, Enc::Uint, "settings.ports", kDefaultPorts},
};

// Newer-family parameters.
const ParamDef kRhoskParams[] = {
    {0x0001, 2, 1, RO, Enc::Derived, "", 0, derivePhyCount},
    {0x0002, 3, 128, RO, Enc::Derived, "", 0, derivePortStatus},
    {0x0003, 3, 32, RO, Enc::Derived, "", 0, deriveUnitPresence},
    {0x0006, 2, 4, RO, Enc::Derived, "", 0, deriveBbuStatusWord},
    {0x0006, 3, 20, RO, Enc::Text, "bbu.serial", 0},
    {0x0006, 4, 16, RO, Enc::Text, "bbu.firmware", 0},
    {0x0006, 5, 16, RO, Enc::Text, "bbu.boot_loader", 0},
    {0x0006, 6, 1, RO, Enc::Uint, "bbu.pcb", 0},
    {0x0006, 7, 32, RO, Enc::Text, "bbu.info", 0},
    {0x0006, 8, 12, RO, Enc::Text, "bbu.install_date", 0},
    {0x0006, 9, 12, RO, Enc::Text, "bbu.last_test_date", 0},
    {0x0006, 10, 1, RO, Enc::Uint, "bbu.backup_hours", 0},
    {0x0006, 64, 1, RW, Enc::Uint, "bbu.enabled", 1},
    {0x0006, 65, 1, RO, Enc::Derived, "", 0, deriveBbuStatus},
    {0x0008, 2, 1, RO, Enc::Derived, "", 0, deriveEnclosureProtocol},
    {0x0008, 4, 32, RO, Enc::Derived, "", 0, deriveEnclosureModes},
    {0x0009, 2, 2, RO, Enc::Uint, "perf.pending", 0},
    {0x0009, 3, 512, RO, Enc::Derived, "", 0, derivePendingList},
    {0x0009, 4, 1, RW, Enc::Uint, "perf.monitor", 0},
    {0x0009, 5, 28, RO, Enc::Derived, "", 0, deriveDpmConfig},
    {0x000A, 5, 1, RW, Enc::Uint, "settings.lba_reordering", 1},
    {0x0080, 2, 1, RO, Enc::Uint, "link_speed_supported", 3},
    {0x0080, 3, 1, RO, Enc::Uint, "link_speed", 0, nullptr, nullptr, 0, phyLinkSpeedDefault},
    {0x0080, 4, 1, RW, Enc::Uint, "link_speed_limit", 0, nullptr, nullptr, 0, nullptr,
     kLinkLimitMax},
    {0x0080, 5, 1, RO, Enc::Uint, "device_type", 0, nullptr, nullptr, 0, phyDeviceTypeDefault},
    {0x0080, 6, 8, RO, Enc::Name, "sas_address", 0, nullptr, nullptr, 0, phySasAddressDefault},
    {0x0100, 2, 0, RO, Enc::Derived, "", 0, deriveDpmSamples, dpmSamplesSize},
    {0x0100, 3, 168, RW, Enc::Derived, "", 0, deriveDpmAverage, nullptr, 0, nullptr, UINT64_MAX,
     writeDpmAverage},
    {0x0100, 4, 168, RW, Enc::Derived, "", 0, deriveDpmAverageOnDisk, nullptr, 0, nullptr,
     UINT64_MAX, writeDpmAverageOnDisk},
    {0x0100, 5, 0, RW, Enc::Derived, "", 0, deriveDpmLong, dpmLongSize, 0, nullptr, UINT64_MAX,
     writeDpmLong},
    {0x0100, 6, 0, RW, Enc::Derived, "", 0, deriveDpmLongOnDisk, dpmLongSize, 0, nullptr,
     UINT64_MAX, writeDpmLongOnDisk},
    {0x0100, 7, 4, RW, Enc::Uint, "stats.extended.sectors_read", 0},
    {0x0100, 8, 4, RW, Enc::Uint, "stats.extended.sectors_written", 0},
    {0x0100, 9, 4, RW, Enc::Uint, "stats.extended.sectors_written_fua", 0},
    {0x0100, 10, 4, RW, Enc::Uint, "stats.extended.reads", 0},
    {0x0100, 11, 4, RW, Enc::Uint, "stats.extended.writes", 0},
    {0x0100, 12, 4, RW, Enc::Uint, "stats.extended.writes_fua", 0},
    {0x0100, 13, 4, RW, Enc::Uint, "stats.extended.flushes", 0},
    {0x0200, 12, 1, RO, Enc::Derived, "unit_flags", 0, deriveDriveUnitFlags},
    {0x0200, 15, 1, RO, Enc::Uint, "queuing_supported", 1},
    {0x0200, 16, 1, RO, Enc::Uint, "queuing_enabled", 1},
    {0x0200, 17, 1, RO, Enc::Uint, "link_speed_supported", 3},
    {0x0200, 18, 1, RO, Enc::Uint, "link_speed", 2},
    {0x0200, 19, 2, RO, Enc::Uint, "reallocated_sectors", 0},
    {0x0200, 20, 2, RO, Enc::Uint, "power_on_hours", 0},
    {0x0200, 22, 2, RO, Enc::Uint, "temperature", 30},
    {0x0200, 23, 8, RO, Enc::Uint, "capacity", 0, nullptr, nullptr, 33},
    {0x0200, 24, 1, RO, Enc::Derived, "interface", 1, deriveDriveInterface},
    {0x0200, 25, 1, RO, Enc::Uint, "port_count", 1},
    {0x0200, 26, 1, RO, Enc::Uint, "connections", 1},
    {0x0200, 27, 8, RO, Enc::Name, "wwn", 0, nullptr, nullptr, 0, driveWwnDefault},
    {0x0200, 30, 1, RO, Enc::Uint, "enclosure", 255},
    {0x0200, 31, 1, RO, Enc::Uint, "slot", 255},
    {0x0200, 32, 1, RO, Enc::Uint, "phy", kNoPhy, nullptr, nullptr, 0, drivePhyDefault},
    {0x0200, 33, 2, RO, Enc::Uint, "spindle_speed", 7200},
    {0x0300, 3, 1, RO, Enc::Uint, "flags", 1},
    {0x0300, 9, 2, RO, Enc::Derived, "", 0, deriveDescriptorCount},
    {0x0300, 10, 1, RO, Enc::Derived, "", 0, deriveDescriptorSize},
    {0x0300, 11, 0, RO, Enc::Derived, "", 0, deriveDescriptors, descriptorsSize},
    {0x0300, 12, 8, RO, Enc::Derived, "", 0, deriveUnitCapacity},
    {0x0300, 13, 1, RW, Enc::Uint, "cache_bits", 0x04},
    {0x0300, 14, 1, RW, Enc::Uint, "auto_verify", 0},
    {0x0300, 15, 1, RW, Enc::Uint, "ecc_policy", 0},
    {0x0300, 16, 1, RO, Enc::Derived, "", 0, deriveVolumeCount},
    {0x0300, 17, 21, RW, Enc::Text, "name", 0},
    {0x0300, 18, 20, RO, Enc::Text, "serial", 0},
    {0x0300, 19, 8, RO, Enc::Derived, "", 0, deriveMigrateCapacity},
    {0x0300, 20, 1, RW, Enc::Uint, "queuing", 1},
    {0x0300, 21, 1, RW, Enc::Uint, "protection_21", 0},
    // Parameters 22 and 23 keep their value 2 as 0x100: the defaults are
    // the balanced policy (0, 2, 2).
    {0x0300, 22, 2, RW, Enc::Uint, "protection_22", 0x100},
    {0x0300, 23, 2, RW, Enc::Uint, "protection_23", 0x100},
    {0x0300, 24, 2, RO, Enc::Uint, "p24", 0},
    {0x0300, 25, 0, RO, Enc::Derived, "", 0, deriveVolumeTable, volumeTableSize},
    {0x0300, 27, 1, RW, Enc::Uint, "write_dpo", 2, nullptr, nullptr, 36},
    {0x0300, 28, 1, RW, Enc::Uint, "rapid_recovery", 3, nullptr, nullptr, 36},
    {0x0300, 29, 1, RW, Enc::Uint, "read_cache_bits", 0},
    {0x0402, 11, 4, RO, Enc::Uint, "identity.compat_level", 0},
    {0x0402, 14, 4, RO, Enc::Uint, "identity.model_code", 0},
    {0x0402, 20, 4, RO, Enc::Uint, "identity.srl", 0},
    {0x0402, 21, 8, RO, Enc::Uint, "identity.features", 0},
    {0x0403, 7, 1, RW, Enc::Uint, "settings.spinups", 1},
    {0x0403, 8, 1, RW, Enc::Uint, "settings.stagger", 2},
    {0x0403, 10, 1, RW, Enc::Uint, "settings.av_mode", 0},
    {0x0403, 13, 0, RO, Enc::Derived, "", 0, deriveZeros, logSize},
    {0x0403, 14, 0, RO, Enc::Derived, "", 0, deriveZeros, logSize},
    {0x0403, 15, 2, RO, Enc::Uint, "settings.log_size", 8192},
    {0x0403, 17, 1, RW, Enc::Uint, "settings.export_jbod", 0},
    {0x0403, 18, 1, RW, Enc::Uint, "settings.on_degrade", 0},
    {0x0403, 21, 8, RW, Enc::Uint, "settings.coercion", 0},
    {0x0403, 22, 1, RW, Enc::Uint, "settings.ignore_fua", 0},
    {0x0403, 23, 1, RW, Enc::Uint, "settings.force_drive_cache", 0},
    {0x0403, 24, 1, RW, Enc::Uint, "settings.multi_lun", 0},
    {0x0403, 26, 4, RO, Enc::Uint, "settings.host_bus", 0},
    {0x0403, 28, 1, RW, Enc::Uint, "settings.auto_rebuild", 1},
    {0x0403, 29, 8, RW, Enc::Uint, "settings.lun_size", 0},
    {0x0403, 37, 1, RW, Enc::Uint, "settings.sata_link_limit", 0, nullptr, nullptr, 0, nullptr,
     kLinkLimitMax},
    {0x0403, 38, 1, RW, Enc::Uint, "settings.sas_link_limit", 0, nullptr, nullptr, 0, nullptr,
     kLinkLimitMax},
    {0x0403, 39, 2, RO, Enc::Uint, "settings.max_units", 32},
    {0x0403, 40, 2, RO, Enc::Uint, "settings.max_drives_per_unit", 32},
    {0x0403, 41, 2, RO, Enc::Uint, "settings.max_active_units", 32},
    {0x0403, 52, 1, RW, Enc::Uint, "settings.mode_page_control", 0},
    {0x0407, 3, 4, RO, Enc::Uint, "capture.segment_size", 4096},
    {0x0407, 4, 4, RO, Enc::Uint, "capture.segments", 0},
    {0x0407, 5, 4, RW, Enc::Uint, "capture.segment_index", 0},
    {0x0407, 6, 32832, RO, Enc::Derived, "", 0, deriveCaptureSegment},
    {0x0407, 7, 4, RW, Enc::Uint, "capture.size", 0},
    {0x0407, 8, 4, RW, Enc::Uint, "capture.mode", 0},
    {0x0407, 9, 4, RW, Enc::Uint, "capture.control", 0},
    {0x0407, 10, 4, RW, Enc::Uint, "capture.host_mask", 0},
    {0x0407, 11, 4, RW, Enc::Uint, "capture.internal_unmask", 0},
    {0x0407, 12, 4, RW, Enc::Uint, "capture.internal_mask", 0},
    {0x040C, 3, 1, RW, Enc::Uint, "tasks.rebuild_schedule_mode", 0},
    {0x040C, 4, 1, RW, Enc::Uint, "tasks.verify_schedule_mode", 0},
    {0x040C, 5, 1, RW, Enc::Rate, "tasks.rebuild_rate", 3},
    {0x040C, 6, 1, RW, Enc::Rate, "tasks.verify_rate", 3},
    {0x040C, 9, 2, RW, Enc::Uint, "tasks.selftest_flags", 0},
    {0x040C, 11, 2, RW, Enc::Uint, "tasks.verify_start", 0},
    {0x040C, 13, 1, RW, Enc::Uint, "tasks.rebuild_mode", 0},
    {0x040C, 14, 1, RW, Enc::Uint, "tasks.verify_mode", 0},
    {0x0410, 2, 2, RW, Enc::Uint, "selftest_start", 0},
    {0x0410, 3, 4, RW, Enc::Window, "rebuild", 0},
    {0x0410, 4, 4, RW, Enc::Window, "verify", 0},
};

// Older-family tables and parameters: the same numbering, shorter lists.
constexpr TableDef kPraneTables[] = {
    {0x0002, 1, Scope::Controller},  // PortSummaryTable
    {0x0003, 1, Scope::Controller},  // UnitSummaryTable
    {0x0200, 16, Scope::Drive},      // DriveTable
    {0x0300, 16, Scope::Unit},       // UnitTable
    {0x0402, 1, Scope::Controller},  // ControllerInfoTable
    {0x0403, 1, Scope::Controller},  // ControllerSettingsTable
    {0x0405, 1, Scope::Controller},  // RateTable
};

const ParamDef kPraneParams[] = {
    {0x0002, 3, 16, RO, Enc::Derived, "", 0, derivePortStatus},
    {0x0003, 3, 16, RO, Enc::Derived, "", 0, derivePraneUnitStates},
    {0x0300, 5, 2, RO, Enc::Derived, "", 0, derivePraneDescriptorLength},
    {0x0300, 6, 0, RO, Enc::Derived, "", 0, derivePraneDescriptor, praneDescriptorSize},
    {0x0300, 7, 1, RW, Enc::Uint, "write_cache", 1},
    {0x0405, 3, 1, RW, Enc::Uint, "tasks.rate_code_a", 25},
    {0x0405, 4, 1, RW, Enc::Uint, "tasks.rate_code_b", 25},
};

template <typename T, size_t N>
constexpr size_t countOf(const T (&)[N]) {
    return N;
}

struct Catalogue {
    const TableDef* tables;
    size_t tableCount;
    const ParamDef* params;  // the family's own; then kSharedParams
    size_t paramCount;
};

Catalogue catalogueOf(Family family) {
    if (family == Family::Prane) {
        return {kPraneTables, countOf(kPraneTables), kPraneParams, countOf(kPraneParams)};
    }
    return {kRhoskTables, countOf(kRhoskTables), kRhoskParams, countOf(kRhoskParams)};
}

// The position of the numbered element in its list, as a path step.
bool numberedPrefix(const json& ctl, const char* list, const char* key, uint16_t number,
                    TableRef* ref) {
    auto it = ctl.find(list);
    if (it == ctl.end() || !it->is_array())
        return false;
    for (size_t i = 0; i < it->size(); ++i) {
        if (numberOr(findModel((*it)[i], key), ~0ull) == number) {
            ref->placeAt(list, i);
            ref->object = &(*it)[i];
            return true;
        }
    }
    return false;
}

// The element `node` at `position` of its list (-1: none), as the table's
// object.
bool positionedPrefix(const char* list, int64_t position, const json* node, TableRef* ref) {
    if (position < 0)
        return false;
    ref->placeAt(list, static_cast<size_t>(position));
    ref->object = node;
    return true;
}

// Finds the table `id` of the controller; a table of an object that does
// not exist (a port without a drive, a unit number that is free) does not
// exist either, but for the drive statistics, which every port of the
// controller keeps.
bool resolveTable(const ControllerModel& model, const Catalogue& cat, uint16_t id, TableRef* ref) {
    const json& ctl = model.json();
    for (size_t i = 0; i < cat.tableCount; ++i) {
        const TableDef& t = cat.tables[i];
        if (id < t.base || id >= t.base + t.count)
            continue;
        ref->def = &t;
        ref->number = static_cast<uint16_t>(id - t.base);
        switch (t.scope) {
            case Scope::Controller:
                ref->under = nullptr;
                return true;
            case Scope::Phy:
                if (!hasImplicitPhys(ctl))
                    return numberedPrefix(ctl, "phys", "phy", ref->number, ref);
                // Phy n is element n of the list the first write makes.
                ref->placeAt("phys", ref->number);
                ref->object = nullptr;
                return ref->number < phyCount(ctl);
            case Scope::Drive:
                return positionedPrefix("drives", model.drivePosition(ref->number),
                                        model.drive(ref->number), ref);
            case Scope::DriveStats:
                if (positionedPrefix("drives", model.drivePosition(ref->number),
                                     model.drive(ref->number), ref))
                    return true;
                ref->emptyPort = true;
                return ref->number < portCount(ctl);
            case Scope::Unit:
                return positionedPrefix("units", model.unitPosition(ref->number),
                                        model.unit(ref->number), ref);
            case Scope::ScheduleSlot:
                ref->placeAt("schedule", ref->number, '.');
                return true;
        }
    }
    return false;
}

// --- per-object defaults ---

uint64_t phyLinkSpeedDefault(const json& ctl, const TableRef& table) {
    const json* drive = driveOfPhy(ctl, table.number);
    return drive == nullptr ? 0 : numberOr(findModel(*drive, "link_speed"), kDefaultLinkSpeed);
}

uint64_t phyDeviceTypeDefault(const json& ctl, const TableRef& table) {
    const json* drive = driveOfPhy(ctl, table.number);
    if (drive == nullptr)
        return 0;
    if (numberOr(findModel(*drive, "enclosure"), kNoEnclosure) != kNoEnclosure)
        return kPhyEnclosure;
    const uint64_t interface = numberOr(findModel(*drive, "interface"), 1);
    return interface == kInterfaceSas || interface == kInterfaceSasEnclosure ? kPhySas : kPhySata;
}

uint64_t phySasAddressDefault(const json& ctl, const TableRef& table) {
    const json* serial = findModel(ctl, "identity.serial");
    return worldWideName(serial != nullptr && serial->is_string() ? serial->get<std::string>() : "",
                         table.number);
}

uint64_t driveWwnDefault(const json&, const TableRef& table) {
    const json* serial = findModel(objectOf(table.object), "serial");
    return worldWideName(serial != nullptr && serial->is_string() ? serial->get<std::string>() : "",
                         table.number);
}

uint64_t drivePhyDefault(const json& ctl, const TableRef& table) {
    return phyOfDrive(ctl, objectOf(table.object));
}

// Every implicit phy as an element of a "phys" list, so that a write has a
// place to land; the phys read as before.
void materializePhys(json& ctl) {
    json phys = json::array();
    for (uint64_t n = 0; n < phyCount(ctl); ++n)
        phys.push_back({{"phy", n}});
    ctl["phys"] = std::move(phys);
}

// A number, or a "0x..." text, as a world wide name.
uint64_t nameOr(const json* node, uint64_t fallback) {
    if (node != nullptr && node->is_string())
        return std::strtoull(node->get<std::string>().c_str(), nullptr, 0);
    return numberOr(node, fallback);
}

// A family's parameters, its own and then the shared ones, ordered by
// table and parameter (an own entry before a shared one of the same pair).
std::vector<const ParamDef*> paramIndex(const Catalogue& cat) {
    std::vector<const ParamDef*> index;
    for (size_t i = 0; i < cat.paramCount; ++i)
        index.push_back(&cat.params[i]);
    for (const ParamDef& p : kSharedParams)
        index.push_back(&p);
    std::stable_sort(index.begin(), index.end(), [](const ParamDef* a, const ParamDef* b) {
        return std::tie(a->table, a->param) < std::tie(b->table, b->param);
    });
    return index;
}

const ParamDef* findParam(Family family, const TableRef& table, uint16_t param) {
    static const std::vector<const ParamDef*> rhosk = paramIndex(catalogueOf(Family::Rhosk));
    static const std::vector<const ParamDef*> prane = paramIndex(catalogueOf(Family::Prane));
    const std::vector<const ParamDef*>& index = family == Family::Prane ? prane : rhosk;
    const auto wanted = std::make_pair(table.def->base, param);
    auto it = std::lower_bound(index.begin(), index.end(), wanted,
                               [](const ParamDef* p, const std::pair<uint16_t, uint16_t>& key) {
                                   return std::make_pair(p->table, p->param) < key;
                               });
    return it != index.end() && (*it)->table == wanted.first && (*it)->param == wanted.second
               ? *it
               : nullptr;
}

uint64_t compatLevel(const json& ctl) {
    return numberOr(findModel(ctl, "identity.compat_level"), 0);
}

// The rate byte the controller keeps for task rate 1-5.
constexpr uint64_t kRateBase = 270;
constexpr uint64_t kRateStep = 50;

uint64_t rateByte(uint64_t rate) {
    rate = rate < 1 ? 1 : rate > 5 ? 5 : rate;
    return kRateBase - kRateStep * rate;
}

// Schedule slot n starts on day n at midnight and lasts the whole day
// until the host file says otherwise.
constexpr uint64_t kMinutesPerDay = 1440;

}  // namespace

uint32_t sizeOf(const ParamDef& p, const ControllerModel& model, const TableRef& table) {
    return p.sizer != nullptr ? p.sizer(model, table.object) : p.size;
}

ParamError lookup(const ControllerModel& model, Family family, uint16_t tableId, uint16_t param,
                  uint32_t size, TableRef* table, const ParamDef** def) {
    Catalogue cat = catalogueOf(family);
    if (!resolveTable(model, cat, tableId, table))
        return ParamError::NoTable;
    *def = findParam(family, *table, param);
    if (*def == nullptr || ((*def)->minLevel > 0 && compatLevel(model.json()) < (*def)->minLevel))
        return ParamError::NoParameter;
    uint32_t expected = sizeOf(**def, model, *table);
    // The older family carries only the low 8 bits of the size.
    if (family == Family::Prane ? (expected & 0xFF) != (size & 0xFF) : expected != size) {
        return ParamError::SizeMismatch;
    }
    return ParamError::None;
}

ParamError readParam(const json& ctl, Family family, uint16_t tableId, uint16_t param,
                     uint32_t size, Bytes* value) {
    return readParam(ControllerModel(ctl), family, tableId, param, size, value);
}

ParamError readParam(const ControllerModel& model, Family family, uint16_t tableId, uint16_t param,
                     uint32_t size, Bytes* value) {
    const json& ctl = model.json();
    TableRef table;
    const ParamDef* def = nullptr;
    ParamError error = lookup(model, family, tableId, param, size, &table, &def);
    if (error != ParamError::None)
        return error;
    value->assign(sizeOf(*def, model, table), 0);
    if (table.emptyPort)
        return ParamError::None;  // an empty port's counters are zero
    const json* node = def->enc == Enc::Derived  ? nullptr
                       : table.object != nullptr ? findModel(*table.object, def->path)
                       : table.under == nullptr  ? findModel(ctl, def->path)
                                                 : findModel(ctl, table.prefix() + def->path);
    bool slot = table.def->scope == Scope::ScheduleSlot;
    uint64_t dflt = slot                     ? table.number * kMinutesPerDay
                    : def->dfltOf != nullptr ? def->dfltOf(ctl, table)
                                             : def->dflt;
    switch (def->enc) {
        case Enc::Uint:
            putLe(value->data(), value->size(), 0, value->size() < 8 ? value->size() : 8,
                  numberOr(node, dflt));
            break;
        case Enc::Rate:
            put8(*value, 0, rateByte(numberOr(node, def->dflt)));
            break;
        case Enc::Name: {
            const uint64_t name = nameOr(node, dflt);
            for (size_t i = 0; i < value->size() && i < 8; ++i)
                (*value)[i] = static_cast<uint8_t>(name >> (8 * (7 - i)));
            break;
        }
        case Enc::Window: {
            const json empty = json::object();
            const json& window = node != nullptr ? *node : empty;
            put16(*value, 0, numberOr(findModel(window, "start"), dflt));
            put16(*value, 2, numberOr(findModel(window, "duration"), kMinutesPerDay));
            break;
        }
        case Enc::Text:
            if (node != nullptr && node->is_string()) {
                putText(*value, 0, value->size(), node->get<std::string>());
            }
            break;
        case Enc::Raw:
            if (node != nullptr && node->is_array()) {
                for (size_t i = 0; i < node->size() && i < value->size(); ++i) {
                    (*value)[i] = static_cast<uint8_t>(numberOr(&(*node)[i], 0));
                }
            }
            break;
        case Enc::Derived:
            if (table.def->scope == Scope::Controller) {
                // The summaries are read again and again: each is derived
                // once per version.
                *value = model.ownValue(def, [&] {
                    Bytes own(value->size(), 0);
                    def->derive(model, nullptr, own);
                    return own;
                });
            } else {
                def->derive(model, table.object, *value);
            }
            break;
    }
    return ParamError::None;
}

ParamError writeParam(json& ctl, Family family, uint16_t tableId, uint16_t param,
                      const Bytes& value) {
    TableRef table;
    const ParamDef* def = nullptr;
    ParamError error = lookup(ControllerModel(ctl), family, tableId, param,
                              static_cast<uint32_t>(value.size()), &table, &def);
    if (error != ParamError::None)
        return error;
    if (!def->writable)
        return ParamError::ReadOnly;
    if (getLe(value.data(), value.size(), 0, value.size() < 8 ? value.size() : 8) > def->maxValue)
        return ParamError::BadValue;
    if (table.emptyPort)
        return ParamError::None;  // nothing to keep: its counters stay zero
    if (table.def->scope == Scope::Phy && table.object == nullptr)
        materializePhys(ctl);
    if (def->enc == Enc::Rate) {
        uint64_t stored = value[0];
        uint64_t rate = (kRateBase - stored) / kRateStep;
        // The controller keeps only the five rate values.
        if (stored > kRateBase || rate < 1 || rate > 5 || rateByte(rate) != stored)
            return ParamError::BadValue;
    }
    json& node = makeModel(ctl, table.prefix() + def->path);
    switch (def->enc) {
        case Enc::Uint:
            node = getLe(value.data(), value.size(), 0, value.size() < 8 ? value.size() : 8);
            break;
        case Enc::Text:
            node = getText(value, 0, value.size());
            break;
        case Enc::Raw:
            node = json::array();
            for (uint8_t b : value)
                node.push_back(b);
            break;
        case Enc::Rate:
            node = (kRateBase - value[0]) / kRateStep;
            break;
        case Enc::Window:
            node = json{{"start", get16(value, 0)}, {"duration", get16(value, 2)}};
            break;
        case Enc::Name: {
            uint64_t name = 0;
            for (size_t i = 0; i < value.size() && i < 8; ++i)
                name = name << 8 | value[i];
            node = name;
            break;
        }
        case Enc::Derived: {
            if (def->write == nullptr)
                return ParamError::ReadOnly;
            const std::string prefix = table.prefix();
            json& object =
                prefix.empty() ? ctl : makeModel(ctl, prefix.substr(0, prefix.size() - 1));
            def->write(object, value);
            break;
        }
    }
    return ParamError::None;
}

}  // namespace emulator
