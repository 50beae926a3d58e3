#include "emulator/drive_model.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "emulator/controller_codes.h"
#include "emulator/fields.h"
#include "emulator/unit_model.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr uint64_t kPresentBit = 0x80;
constexpr size_t kPacket = kCmdHeaderSize;

uint64_t number(const json& node, const char* key, uint64_t fallback) {
    auto it = node.find(key);
    if (it == node.end())
        return fallback;
    if (it->is_number_unsigned())
        return it->get<uint64_t>();
    if (it->is_number_integer())
        return static_cast<uint64_t>(it->get<int64_t>());
    if (it->is_boolean())
        return it->get<bool>() ? 1 : 0;
    if (it->is_string())
        return std::strtoull(it->get<std::string>().c_str(), nullptr, 0);
    return fallback;
}

bool isSasDrive(const json& drive) {
    const uint64_t interface = number(drive, "interface", 1) & 3;
    return interface == 3;
}

// --- SMART data ---

constexpr uint8_t kSmartReadDataFeature = 0xD0;
constexpr uint8_t kSmartCommand = 0xB0;
constexpr size_t kSmartSize = 512;

void putAttribute(Bytes& s, size_t index, uint8_t id, uint16_t flags, uint8_t value, uint64_t raw) {
    const size_t at = 2 + index * 12;
    put8(s, at, id);
    put16(s, at + 1, flags);
    put8(s, at + 3, value);
    put8(s, at + 4, value);
    for (size_t i = 0; i < 6; ++i)
        put8(s, at + 5 + i, (raw >> (8 * i)) & 0xFF);
}

// The drive's SMART sector: its "smart" bytes when the host file gives
// them, else a healthy drive's data built from its health values, with a
// valid checksum in the last byte.
Bytes smartSector(const json& drive) {
    Bytes s(kSmartSize, 0);
    auto given = drive.find("smart");
    if (given != drive.end() && given->is_array()) {
        for (size_t i = 0; i < given->size() && i < kSmartSize; ++i)
            s[i] = static_cast<uint8_t>((*given)[i].is_number() ? (*given)[i].get<int>() : 0);
        return s;
    }
    put16(s, 0, 0x0010);  // data structure revision
    putAttribute(s, 0, 1, 0x000F, 100, 0);
    putAttribute(s, 1, 5, 0x0033, 100, number(drive, "reallocated_sectors", 0));
    putAttribute(s, 2, 9, 0x0032, 100, number(drive, "power_on_hours", 0));
    putAttribute(s, 3, 194, 0x0022, 100, number(drive, "temperature", 30));
    put8(s, 362, 0x82);  // off-line data collection completed
    put16(s, 368, 0x0003);
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < kSmartSize; ++i)
        sum = static_cast<uint8_t>(sum + s[i]);
    s[kSmartSize - 1] = static_cast<uint8_t>(0x100 - sum);
    return s;
}

// --- the monitor ---

struct ConfigField {
    const char* key;
    size_t offset;
    size_t width;
    uint64_t fallback;
};
constexpr ConfigField kConfigFields[] = {
    {"version", 0, 1, 1},        {"capability", 2, 2, 0},  {"samples", 12, 2, 32},
    {"long_commands", 14, 2, 8}, {"tick_ns", 16, 4, 1000},
};
constexpr size_t kConfigSize = 28;
constexpr size_t kSampleSize = 24;
constexpr size_t kLongCommandSize = 40;
constexpr size_t kBins = 38;

struct BlockField {
    const char* key;
    size_t offset;
};
constexpr BlockField kBlockFields[] = {
    {"iops", 0}, {"kbps", 4}, {"response_ms", 8}, {"queue_depth", 12}};

const json& emptyObject() {
    static const json empty = json::object();
    return empty;
}

const json& statsOf(const json* drive, const char* key) {
    if (drive == nullptr)
        return emptyObject();
    auto stats = drive->find("stats");
    if (stats == drive->end() || !stats->is_object())
        return emptyObject();
    auto it = stats->find(key);
    return it != stats->end() ? *it : emptyObject();
}

uint64_t configValue(const json& ctl, const char* key) {
    Bytes config(kConfigSize, 0);
    dpmConfigBytes(ctl, config);
    for (const ConfigField& f : kConfigFields) {
        if (std::string(f.key) == key)
            return getLe(config.data(), config.size(), f.offset, f.width);
    }
    return 0;
}

// A CDB or task file: a hex text ("2a0000...") or a list of byte values.
void putCdb(Bytes& out, size_t at, const json& cdb) {
    if (cdb.is_string()) {
        const std::string hex = cdb.get<std::string>();
        for (size_t i = 0; i + 2 <= hex.size() && i / 2 < 16; i += 2)
            put8(out, at + i / 2, std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    } else if (cdb.is_array()) {
        for (size_t i = 0; i < cdb.size() && i < 16; ++i)
            put8(out, at + i, cdb[i].is_number() ? cdb[i].get<int>() : 0);
    }
}

// A unit that loses member `index` runs degraded: a nested unit (RAID-10,
// RAID-50) in the subunit that held the member, any other as a whole.
void loseMember(json& unit, size_t index) {
    const std::string type = textField(unit, "type", "single");
    const bool nested = type == "raid10" || type == "raid50";
    if (!nested) {
        const std::string state = textField(unit, "state", "ok");
        // A RAID-0 cannot run short of a drive; a rebuild loses the drive
        // it was writing.
        if (state == "ok" || state == "rebuilding") {
            unit["state"] = type == "raid0" ? "inoperable" : "degraded";
            unit["member"] = index;
        }
        return;
    }
    const size_t group = std::max<uint64_t>(number(unit, "group", type == "raid10" ? 2 : 3), 1);
    const size_t count = (unit["members"].size() + group - 1) / group;
    json& subunits = unit["subunits"];
    if (!subunits.is_array())
        subunits = json::array();
    while (subunits.size() < count)
        subunits.push_back({{"state", textField(unit, "state", "ok")}});
    json& subunit = subunits[index / group];
    const std::string state = textField(subunit, "state", "ok");
    if (state == "ok" || state == "rebuilding")
        subunit = {{"state", "degraded"}, {"member", index % group}};
    // The unit's status follows its subunits.
    if (textField(unit, "state", "ok") == "ok")
        unit.erase("state");
}

}  // namespace

FirmwareResult executeAtaPassThrough(json& ctl, ByteSpan command, ByteSpan data) {
    FirmwareResult result;
    const uint8_t port = get8(command, kPacket + 3);
    json* drive = driveOnPort(ctl, port);
    const bool smartRead = get16(command, kPacket + 8) == kSmartReadDataFeature &&
                           get16(command, kPacket + 14) == 0x4F &&
                           get16(command, kPacket + 16) == 0xC2 &&
                           get8(command, kPacket + 19) == kSmartCommand;
    // Only SATA drives answer ATA commands, and only SMART READ DATA is
    // carried out; it needs a sector of data.
    if (drive == nullptr || (number(*drive, "status", 255) & kPresentBit) == 0 ||
        isSasDrive(*drive) || !smartRead || data.size() < kSmartSize) {
        result.code = kFwInvalidField;
        return result;
    }
    const Bytes sector = smartSector(*drive);
    std::copy(sector.begin(), sector.end(), data.begin());
    return result;
}

FirmwareResult removePortDrive(json& ctl, ConstByteSpan command) {
    FirmwareResult result;
    const uint64_t port = get8(command, kPacket + 7);
    json* drive = driveOnPort(ctl, port);
    if (drive == nullptr) {
        result.code = kFwInvalidField;
        return result;
    }
    // A member leaves its unit, which runs short of it.
    if (auto units = ctl.find("units"); units != ctl.end() && units->is_array()) {
        for (json& unit : *units) {
            auto members = unit.find("members");
            if (members == unit.end() || !members->is_array())
                continue;
            for (size_t i = 0; i < members->size(); ++i) {
                if ((*members)[i].is_number() && (*members)[i].get<uint64_t>() == port) {
                    (*members)[i] = nullptr;
                    loseMember(unit, i);
                }
            }
        }
    }
    // The drive goes offline: the port reads empty until a port detection
    // finds it again.
    json removed = *drive;
    removed.erase("unit");
    ctl["removed_drives"].push_back(removed);
    json& drives = ctl["drives"];
    for (auto it = drives.begin(); it != drives.end(); ++it) {
        if (number(*it, "port", ~0ull) == port) {
            drives.erase(it);
            break;
        }
    }
    result.changed = true;
    return result;
}

FirmwareResult attachRemovedDrives(json& ctl, ConstByteSpan command) {
    FirmwareResult result;
    const size_t maskBytes = get8(command, kPacket + 1) >= 6 ? 16 : 4;
    auto offline = ctl.find("removed_drives");
    if (offline == ctl.end() || !offline->is_array())
        return result;
    for (size_t byte = 0; byte < maskBytes; ++byte) {
        const uint8_t bits = get8(command, kPacket + 8 + byte);
        for (unsigned bit = 0; bit < 8; ++bit) {
            if ((bits & (1u << bit)) == 0)
                continue;
            const uint64_t port = byte * 8 + bit;
            if (driveOnPort(ctl, port) != nullptr)
                continue;
            for (auto it = offline->begin(); it != offline->end(); ++it) {
                if (number(*it, "port", ~0ull) == port) {
                    ctl["drives"].push_back(*it);
                    offline->erase(it);
                    result.changed = true;
                    break;
                }
            }
        }
    }
    return result;
}

void dpmConfigBytes(const json& ctl, Bytes& out) {
    const json* config = nullptr;
    if (auto perf = ctl.find("perf"); perf != ctl.end() && perf->is_object()) {
        if (auto it = perf->find("config"); it != perf->end())
            config = &*it;
    }
    if (config != nullptr && config->is_array()) {
        for (size_t i = 0; i < config->size() && i < out.size(); ++i)
            out[i] = static_cast<uint8_t>((*config)[i].is_number() ? (*config)[i].get<int>() : 0);
        return;
    }
    const json& fields = config != nullptr && config->is_object() ? *config : emptyObject();
    for (const ConfigField& f : kConfigFields)
        putLe(out.data(), out.size(), f.offset, f.width, number(fields, f.key, f.fallback));
}

uint32_t dpmSampleWindowSize(const json& ctl) {
    return static_cast<uint32_t>(configValue(ctl, "samples") * kSampleSize);
}

uint32_t dpmLongCommandsSize(const json& ctl) {
    return static_cast<uint32_t>(configValue(ctl, "long_commands") * kLongCommandSize);
}

void dpmBlockBytes(const json* drive, const char* key, Bytes& out) {
    const json& block = statsOf(drive, key);
    for (const BlockField& f : kBlockFields)
        put32(out, f.offset, number(block, f.key, 0));
    auto histogram = block.find("histogram");
    if (histogram != block.end() && histogram->is_array()) {
        for (size_t bin = 0; bin < histogram->size() && bin < kBins; ++bin)
            put32(out, 16 + 4 * bin,
                  (*histogram)[bin].is_number() ? (*histogram)[bin].get<uint64_t>() : 0);
    }
}

void dpmWriteBlock(json& drive, const char* key, const Bytes& value) {
    json block = json::object();
    for (const BlockField& f : kBlockFields)
        block[f.key] = get32(value, f.offset);
    json histogram = json::array();
    for (size_t bin = 0; bin < kBins && 16 + 4 * bin + 4 <= value.size(); ++bin)
        histogram.push_back(get32(value, 16 + 4 * bin));
    block["histogram"] = histogram;
    drive["stats"][key] = block;
}

void dpmLongCommandBytes(const json* drive, const char* key, Bytes& out) {
    const json& list = statsOf(drive, key);
    if (!list.is_array())
        return;
    for (size_t i = 0; i < list.size() && (i + 1) * kLongCommandSize <= out.size(); ++i) {
        const size_t at = i * kLongCommandSize;
        put32(out, at + 12, number(list[i], "start", 0));
        put32(out, at + 16, number(list[i], "end", 0));
        put32(out, at + 20, number(list[i], "time", 0));
        if (auto cdb = list[i].find("cdb"); cdb != list[i].end())
            putCdb(out, at + 24, *cdb);
    }
}

// A cleared record (all zero) is dropped: the list reads the same.
void dpmWriteLongCommands(json& drive, const char* key, const Bytes& value) {
    json list = json::array();
    for (size_t at = 0; at + kLongCommandSize <= value.size(); at += kLongCommandSize) {
        if (std::all_of(value.begin() + static_cast<std::ptrdiff_t>(at),
                        value.begin() + static_cast<std::ptrdiff_t>(at + kLongCommandSize),
                        [](uint8_t b) { return b == 0; })) {
            continue;
        }
        list.push_back({{"start", get32(value, at + 12)},
                        {"end", get32(value, at + 16)},
                        {"time", get32(value, at + 20)},
                        {"cdb", hexText(value, at + 24, 16)}});
    }
    drive["stats"][key] = list;
}

void dpmSampleBytes(const json* drive, Bytes& out) {
    const json& list = statsOf(drive, "samples");
    if (!list.is_array())
        return;
    for (size_t i = 0; i < list.size() && (i + 1) * kSampleSize <= out.size(); ++i) {
        const size_t at = i * kSampleSize;
        put8(out, at, number(list[i], "valid", 1) != 0 ? 1 : 0);
        put16(out, at + 6, number(list[i], "queue_depth", 0));
        put32(out, at + 8, number(list[i], "size", 0));
        put32(out, at + 12, number(list[i], "start", 0));
        put32(out, at + 16, number(list[i], "end", 0));
    }
}

}  // namespace emulator
