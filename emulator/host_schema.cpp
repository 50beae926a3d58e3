#include "emulator/host_schema.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

#include "emulator/host_text.h"
#include "platform/host_system.h"

namespace emulator {

using nlohmann::json;

namespace {

// What a value may be (bits).
constexpr unsigned kBool = 1;
constexpr unsigned kNumber = 2;      // a whole JSON number
constexpr unsigned kText = 4;        // any text
constexpr unsigned kNumberText = 8;  // a text holding a number in C notation ("0x1F")
constexpr unsigned kObject = 16;
constexpr unsigned kList = 32;
constexpr unsigned kNull = 64;
constexpr unsigned kFalse = 128;  // false only (an absent part)

// The objects of the host file, each with its own fields.
enum class Shape {
    None,
    Root,
    Machine,
    Version,
    Registry,
    RegistryKey,
    Disk,
    Volume,
    Extent,
    Controller,
    Driver,
    Identity,
    Settings,
    Tasks,
    Schedule,
    ScheduleSlot,
    Window,
    Bbu,
    Drive,
    Stats,
    Average,
    Sample,
    LongCommand,
    Extended,
    Unit,
    Subunit,
    Phy,
    Enclosures,
    Enclosure,
    Element,
    EnclosureElement,
    Layout,
    PageCodes,
    PageLengths,
    Event,
    Capture,
    ImageDownload,
    FirmwareImage,
    Perf,
    DpmConfig,
    Fault,
    Match,
    Action,
    Count,  // the number of shapes
};

constexpr uint64_t kU8 = 0xFF;
constexpr uint64_t kU16 = 0xFFFF;
constexpr uint64_t kU32 = 0xFFFFFFFF;
constexpr uint64_t kU64 = std::numeric_limits<uint64_t>::max();
constexpr int64_t kI32Min = std::numeric_limits<int32_t>::min();
constexpr uint64_t kI32Max = std::numeric_limits<int32_t>::max();
constexpr uint64_t kI64Max = std::numeric_limits<int64_t>::max();
constexpr uint64_t kMaxPort = 127;

constexpr unsigned kCode = kNumber | kNumberText;  // "0x..." texts welcome
constexpr unsigned kNamed = kNumber | kText;       // a name or its number

struct FieldRule {
    Shape shape;       // the object the field belongs to
    const char* name;  // its key; "*" any key
    unsigned kinds;    // what its value may be
    int64_t min;       // the range of a number (of the value or of a list's elements)
    uint64_t max;
    Shape inner = Shape::None;  // the fields of an object value, or of each object in a list
    unsigned items = 0;         // what each element of a list may be
};

// Every documented field of the host file (emulator/README.md).
const FieldRule kFields[] = {
    {Shape::Root, "format", kNumber, 1, 1},
    {Shape::Root, "request_log", kText, 0, 0},
    {Shape::Root, "request_log_data", kBool | kNumber, 0, kU32},
    {Shape::Root, "machine", kObject, 0, 0, Shape::Machine},
    {Shape::Root, "faults", kList, 0, 0, Shape::Fault, kObject},

    {Shape::Machine, "administrator", kBool, 0, 0},
    {Shape::Machine, "host_name", kText, 0, 0},
    {Shape::Machine, "domain", kText, 0, 0},
    {Shape::Machine, "common_app_data", kText, 0, 0},
    {Shape::Machine, "windows_directory", kText, 0, 0},
    {Shape::Machine, "version", kObject, 0, 0, Shape::Version},
    {Shape::Machine, "controllers", kList, 0, 0, Shape::Controller, kObject},
    {Shape::Machine, "disks", kList, 0, 0, Shape::Disk, kObject},
    {Shape::Machine, "volumes", kList, 0, 0, Shape::Volume, kObject},
    {Shape::Machine, "registry", kObject, 0, 0, Shape::Registry},

    {Shape::Version, "major", kNumber, 0, kU32},
    {Shape::Version, "minor", kNumber, 0, kU32},
    {Shape::Version, "build", kNumber, 0, kU32},
    {Shape::Version, "platform_id", kNumber, 0, kU32},
    {Shape::Version, "service_pack", kText, 0, 0},
    {Shape::Version, "service_pack_major", kNumber, 0, kU16},
    {Shape::Version, "service_pack_minor", kNumber, 0, kU16},
    {Shape::Version, "suite_mask", kNumber, 0, kU16},
    {Shape::Version, "product_type", kNumber, 0, kU8},
    {Shape::Version, "product_info", kNumber, 0, kU32},
    {Shape::Version, "architecture", kNumber, 0, kU16},
    {Shape::Version, "server_r2", kNumber, kI32Min, kI32Max},
    {Shape::Version, "native_system_info", kBool, 0, 0},
    {Shape::Version, "get_product_info", kBool, 0, 0},

    {Shape::Registry, "*", kObject, 0, 0, Shape::RegistryKey},
    {Shape::RegistryKey, "*", kNumber, 0, kU32},

    {Shape::Disk, "controller", kNumber, -1, kU8},
    {Shape::Disk, "parent_dev_inst", kNumber, 0, kU32},
    {Shape::Disk, "target", kNumber, 0, kU8},
    {Shape::Disk, "disk_number", kNumber, 0, kU32},
    {Shape::Disk, "instance_id", kText, 0, 0},
    {Shape::Disk, "dev_inst", kNumber, 0, kU32},
    {Shape::Disk, "present", kBool, 0, 0},
    {Shape::Disk, "needs_restart", kBool, 0, 0},
    {Shape::Disk, "disk_parameters_key", kBool, 0, 0},
    {Shape::Disk, "unit_disk", kBool, 0, 0},

    {Shape::Volume, "name", kText, 0, 0},
    {Shape::Volume, "instance_id", kText, 0, 0},
    {Shape::Volume, "dev_inst", kNumber, 0, kU32},
    {Shape::Volume, "present", kBool, 0, 0},
    {Shape::Volume, "in_use", kBool, 0, 0},
    {Shape::Volume, "extents", kList, 0, 0, Shape::Extent, kObject},
    {Shape::Extent, "disk_number", kNumber, 0, kU32},
    {Shape::Extent, "offset", kNumber, 0, kI64Max},
    {Shape::Extent, "length", kNumber, 0, kI64Max},

    {Shape::Controller, "device_type", kNumber, 1, 6},
    {Shape::Controller, "instance_id", kText, 0, 0},
    {Shape::Controller, "present", kBool, 0, 0},
    {Shape::Controller, "ui_number", kNumber, 0, kU32},
    {Shape::Controller, "slot", kNumber, 0, kU16},
    {Shape::Controller, "dev_inst", kNumber, 0, kU32},
    {Shape::Controller, "driver", kObject, 0, 0, Shape::Driver},
    {Shape::Controller, "management_lock", kBool, 0, 0},
    {Shape::Controller, "identity", kObject, 0, 0, Shape::Identity},
    {Shape::Controller, "settings", kObject, 0, 0, Shape::Settings},
    {Shape::Controller, "tasks", kObject, 0, 0, Shape::Tasks},
    {Shape::Controller, "schedule", kObject, 0, 0, Shape::Schedule},
    {Shape::Controller, "bbu", kObject, 0, 0, Shape::Bbu},
    {Shape::Controller, "drives", kList, 0, 0, Shape::Drive, kObject},
    {Shape::Controller, "new_drives", kList, 0, 0, Shape::Drive, kObject},
    {Shape::Controller, "removed_drives", kList, 0, 0, Shape::Drive, kObject},
    {Shape::Controller, "units", kList, 0, 0, Shape::Unit, kObject},
    {Shape::Controller, "foreign_units", kList, 0, 0, Shape::Unit, kObject},
    {Shape::Controller, "exported_units", kList, 0, 0, Shape::Unit, kObject},
    {Shape::Controller, "phys", kList, 0, 0, Shape::Phy, kObject},
    {Shape::Controller, "enclosures", kObject, 0, 0, Shape::Enclosures},
    {Shape::Controller, "events", kList, 0, kU16, Shape::Event, kObject | kNumber},
    {Shape::Controller, "capture", kObject, 0, 0, Shape::Capture},
    {Shape::Controller, "auto_detect_off", kList, 0, kMaxPort, Shape::None, kNumber},
    {Shape::Controller, "image_download", kObject, 0, 0, Shape::ImageDownload},
    {Shape::Controller, "perf", kObject, 0, 0, Shape::Perf},
    {Shape::Controller, "error_log", kText, 0, 0},
    {Shape::Controller, "media_scan", kBool, 0, 0},
    {Shape::Controller, "new_unit_write_cache", kBool, 0, 0},
    {Shape::Controller, "firmware_image", kObject, 0, 0, Shape::FirmwareImage},

    {Shape::Driver, "name", kText, 0, 0},
    {Shape::Driver, "version", kList, 0, kU16, Shape::None, kNumber},
    {Shape::Driver, "srl_min", kNumber, 0, kU16},
    {Shape::Driver, "srl_max", kNumber, 0, kU16},

    {Shape::Identity, "boot_loader", kText, 0, 0},
    {Shape::Identity, "firmware", kText, 0, 0},
    {Shape::Identity, "bios", kText, 0, 0},
    {Shape::Identity, "pcb", kText, 0, 0},
    {Shape::Identity, "achip", kText, 0, 0},
    {Shape::Identity, "pchip", kText, 0, 0},
    {Shape::Identity, "model", kText, 0, 0},
    {Shape::Identity, "serial", kText, 0, 0},
    {Shape::Identity, "memory", kNumber, 0, kU32},
    {Shape::Identity, "compat_level", kNumber, 0, kU32},
    {Shape::Identity, "model_code", kNumber, 0, kU32},
    {Shape::Identity, "srl", kNumber, kI32Min, kI32Max},
    {Shape::Identity, "features", kNumber, 0, kU64},

    {Shape::Settings, "ports", kNumber, 0, kMaxPort + 1},
    {Shape::Settings, "spinups", kNumber, 0, kU8},
    {Shape::Settings, "stagger", kNumber, 0, kU8},
    {Shape::Settings, "av_mode", kNumber, 0, kU8},
    {Shape::Settings, "log_size", kNumber, 0, kU16},
    {Shape::Settings, "export_jbod", kNumber, 0, kU8},
    {Shape::Settings, "on_degrade", kNumber, 0, kU8},
    {Shape::Settings, "coercion", kNumber, 0, kU64},
    {Shape::Settings, "ignore_fua", kNumber, 0, kU8},
    {Shape::Settings, "force_drive_cache", kNumber, 0, kU8},
    {Shape::Settings, "multi_lun", kNumber, 0, kU8},
    {Shape::Settings, "host_bus", kNumber, 0, kU32},
    {Shape::Settings, "auto_rebuild", kNumber, 0, kU8},
    {Shape::Settings, "lun_size", kNumber, 0, kU64},
    {Shape::Settings, "sata_link_limit", kNumber, 0, kU8},
    {Shape::Settings, "sas_link_limit", kNumber, 0, kU8},
    {Shape::Settings, "max_units", kNumber, 0, kU16},
    {Shape::Settings, "max_drives_per_unit", kNumber, 0, kU16},
    {Shape::Settings, "max_active_units", kNumber, 0, kU16},
    {Shape::Settings, "mode_page_control", kNumber, 0, kU8},
    {Shape::Settings, "lba_reordering", kNumber, 0, kU8},

    {Shape::Tasks, "rebuild_schedule_mode", kNumber, 0, kU8},
    {Shape::Tasks, "verify_schedule_mode", kNumber, 0, kU8},
    {Shape::Tasks, "rebuild_rate", kNumber, 1, 5},
    {Shape::Tasks, "verify_rate", kNumber, 1, 5},
    {Shape::Tasks, "selftest_flags", kNumber, 0, kU16},
    {Shape::Tasks, "verify_start", kNumber, 0, kU16},
    {Shape::Tasks, "rebuild_mode", kNumber, 0, kU8},
    {Shape::Tasks, "verify_mode", kNumber, 0, kU8},
    {Shape::Tasks, "rate_code_a", kNumber, 0, kU8},
    {Shape::Tasks, "rate_code_b", kNumber, 0, kU8},

    {Shape::Schedule, "*", kObject, 0, 0, Shape::ScheduleSlot},
    {Shape::ScheduleSlot, "selftest_start", kNumber, 0, kU16},
    {Shape::ScheduleSlot, "rebuild", kObject, 0, 0, Shape::Window},
    {Shape::ScheduleSlot, "verify", kObject, 0, 0, Shape::Window},
    {Shape::Window, "start", kNumber, 0, kU16},
    {Shape::Window, "duration", kNumber, 0, kU16},

    {Shape::Bbu, "present", kBool, 0, 0},
    {Shape::Bbu, "battery", kBool, 0, 0},
    {Shape::Bbu, "ready", kBool, 0, 0},
    {Shape::Bbu, "enabled", kBool | kNumber, 0, kU8},  // a write stores the number
    {Shape::Bbu, "voltage", kNamed, 0, 7},
    {Shape::Bbu, "temperature", kNamed, 0, 7},
    {Shape::Bbu, "status", kNamed, 0, kU8},
    {Shape::Bbu, "status_word", kNumber, 0, kU32},
    {Shape::Bbu, "serial", kText, 0, 0},
    {Shape::Bbu, "firmware", kText, 0, 0},
    {Shape::Bbu, "boot_loader", kText, 0, 0},
    {Shape::Bbu, "pcb", kNumber, 0, kU8},
    {Shape::Bbu, "info", kText, 0, 0},
    {Shape::Bbu, "install_date", kText, 0, 0},
    {Shape::Bbu, "last_test_date", kText, 0, 0},
    {Shape::Bbu, "backup_hours", kNumber, 0, kU8},

    {Shape::Drive, "port", kNumber, 0, kMaxPort},
    {Shape::Drive, "capacity", kNumber, 0, kU64},
    {Shape::Drive, "model", kText, 0, 0},
    {Shape::Drive, "serial", kText, 0, 0},
    {Shape::Drive, "firmware", kText, 0, 0},
    {Shape::Drive, "status", kNumber, 0, kU8},
    {Shape::Drive, "present", kBool, 0, 0},
    {Shape::Drive, "unit", kNumber, 0, kU8},
    {Shape::Drive, "unit_flags", kNumber, 0, kU8},
    {Shape::Drive, "queuing_supported", kNumber, 0, kU8},
    {Shape::Drive, "queuing_enabled", kNumber, 0, kU8},
    {Shape::Drive, "link_speed_supported", kNumber, 0, kU8},
    {Shape::Drive, "link_speed", kNumber, 0, kU8},
    {Shape::Drive, "reallocated_sectors", kNumber, 0, kU16},
    {Shape::Drive, "power_on_hours", kNumber, 0, kU16},
    {Shape::Drive, "temperature", kNumber, -32768, 32767},
    {Shape::Drive, "interface", kNumber, 0, kU8},
    {Shape::Drive, "port_count", kNumber, 0, kU8},
    {Shape::Drive, "connections", kNumber, 0, kU8},
    {Shape::Drive, "wwn", kCode, 0, kU64},
    {Shape::Drive, "enclosure", kNumber, 0, kU8},
    {Shape::Drive, "slot", kNumber, 0, kU8},
    {Shape::Drive, "phy", kNumber, 0, kU8},
    {Shape::Drive, "spindle_speed", kNumber, 0, kU16},
    {Shape::Drive, "smart", kList, 0, kU8, Shape::None, kNumber},
    {Shape::Drive, "stats", kObject, 0, 0, Shape::Stats},
    {Shape::Drive, "import", kObject, 0, 0, Shape::Unit},

    {Shape::Stats, "average", kObject, 0, 0, Shape::Average},
    {Shape::Stats, "average_on_disk", kObject, 0, 0, Shape::Average},
    {Shape::Stats, "samples", kList, 0, 0, Shape::Sample, kObject},
    {Shape::Stats, "long_commands", kList, 0, 0, Shape::LongCommand, kObject},
    {Shape::Stats, "long_commands_on_disk", kList, 0, 0, Shape::LongCommand, kObject},
    {Shape::Stats, "extended", kObject, 0, 0, Shape::Extended},
    {Shape::Average, "iops", kNumber, 0, kU32},
    {Shape::Average, "kbps", kNumber, 0, kU32},
    {Shape::Average, "response_ms", kNumber, 0, kU32},
    {Shape::Average, "queue_depth", kNumber, 0, kU32},
    {Shape::Average, "histogram", kList, 0, kU32, Shape::None, kNumber},
    {Shape::Sample, "valid", kBool, 0, 0},
    {Shape::Sample, "queue_depth", kNumber, 0, kU16},
    {Shape::Sample, "size", kNumber, 0, kU32},
    {Shape::Sample, "start", kNumber, 0, kU32},
    {Shape::Sample, "end", kNumber, 0, kU32},
    {Shape::LongCommand, "start", kNumber, 0, kU32},
    {Shape::LongCommand, "end", kNumber, 0, kU32},
    {Shape::LongCommand, "time", kNumber, 0, kU32},
    {Shape::LongCommand, "cdb", kText | kList, 0, kU8, Shape::None, kNumber},
    {Shape::Extended, "sectors_read", kNumber, 0, kU32},
    {Shape::Extended, "sectors_written", kNumber, 0, kU32},
    {Shape::Extended, "sectors_written_fua", kNumber, 0, kU32},
    {Shape::Extended, "reads", kNumber, 0, kU32},
    {Shape::Extended, "writes", kNumber, 0, kU32},
    {Shape::Extended, "writes_fua", kNumber, 0, kU32},
    {Shape::Extended, "flushes", kNumber, 0, kU32},

    {Shape::Unit, "number", kNumber, 0, 31},
    {Shape::Unit, "type", kText, 0, 0},
    {Shape::Unit, "stripe", kNumber, 0, kU8},
    {Shape::Unit, "members", kList, 0, kMaxPort, Shape::None, kNumber | kNull},
    {Shape::Unit, "group", kNumber, 1, kU8},
    {Shape::Unit, "state", kText, 0, 0},
    {Shape::Unit, "progress", kNumber, 0, 100},
    {Shape::Unit, "member", kNumber, 0, kU8},
    {Shape::Unit, "paused", kBool, 0, 0},
    {Shape::Unit, "initialized", kBool, 0, 0},
    {Shape::Unit, "attached", kBool, 0, 0},
    {Shape::Unit, "extension", kObject, 0, 0, Shape::Subunit},
    {Shape::Unit, "extensions", kList, 0, 0, Shape::Subunit, kObject},
    {Shape::Unit, "subunits", kList, 0, 0, Shape::Subunit, kObject},
    {Shape::Unit, "layouts", kList, 0, 0, Shape::Unit, kObject},
    {Shape::Unit, "code", kNumber, 0, kU8},
    {Shape::Unit, "capacity", kNumber, 0, kU64},
    {Shape::Unit, "volumes", kList, 0, kU64, Shape::None, kNumber},
    {Shape::Unit, "os_visible", kBool, 0, 0},
    {Shape::Unit, "flags", kNumber, 0, kU8},
    {Shape::Unit, "cache_bits", kNumber, 0, kU8},
    {Shape::Unit, "auto_verify", kNumber, 0, kU8},
    {Shape::Unit, "ecc_policy", kNumber, 0, kU8},
    {Shape::Unit, "name", kText, 0, 0},
    {Shape::Unit, "serial", kText, 0, 0},
    {Shape::Unit, "migrate_capacity", kNumber, 0, kU64},
    {Shape::Unit, "queuing", kNumber, 0, kU8},
    {Shape::Unit, "protection_21", kNumber, 0, kU8},
    {Shape::Unit, "protection_22", kNumber, 0, kU16},
    {Shape::Unit, "protection_23", kNumber, 0, kU16},
    {Shape::Unit, "p24", kNumber, 0, kU16},
    {Shape::Unit, "write_dpo", kNumber, 0, kU8},
    {Shape::Unit, "rapid_recovery", kNumber, 0, kU8},
    {Shape::Unit, "read_cache_bits", kNumber, 0, kU8},
    {Shape::Unit, "source", kObject, 0, 0, Shape::Unit},
    {Shape::Unit, "destination", kObject, 0, 0, Shape::Unit},
    {Shape::Unit, "status_byte", kNumber, 0, kU8},
    {Shape::Unit, "write_cache", kNumber, 0, kU8},
    {Shape::Subunit, "state", kText, 0, 0},
    {Shape::Subunit, "progress", kNumber, 0, 100},
    {Shape::Subunit, "member", kNumber, 0, kU8},
    {Shape::Subunit, "paused", kBool, 0, 0},
    {Shape::Subunit, "code", kNumber, 0, kU8},

    {Shape::Phy, "phy", kNumber, 0, kMaxPort},
    {Shape::Phy, "link_speed_supported", kNumber, 0, kU8},
    {Shape::Phy, "link_speed", kNumber, 0, kU8},
    {Shape::Phy, "link_speed_limit", kNumber, 0, kU8},
    {Shape::Phy, "device_type", kNumber, 0, kU8},
    {Shape::Phy, "sas_address", kCode, 0, kU64},

    {Shape::Enclosures, "protocol", kNamed, 0, kU8},
    {Shape::Enclosures, "ses_modes", kList, 0, kU8, Shape::None, kNumber},
    {Shape::Enclosures, "list", kList, 0, 0, Shape::Enclosure, kObject},
    {Shape::Enclosure, "port", kNumber, 0, 15},
    {Shape::Enclosure, "mode", kNumber, 0, kU8},
    {Shape::Enclosure, "vendor", kText, 0, 0},
    {Shape::Enclosure, "product", kText, 0, 0},
    {Shape::Enclosure, "revision", kText, 0, 0},
    {Shape::Enclosure, "inquiry_revision", kText, 0, 0},
    {Shape::Enclosure, "logical_id", kCode, 0, kU64},
    {Shape::Enclosure, "signature", kBool, 0, 0},
    {Shape::Enclosure, "help", kText, 0, 0},
    {Shape::Enclosure, "sub_enclosures", kList, 0, 0, Shape::Enclosure, kObject},
    {Shape::Enclosure, "slots", kNumber | kList, 0, kU8, Shape::Element, kObject},
    {Shape::Enclosure, "fans", kNumber | kList, 0, kU8, Shape::Element, kObject},
    {Shape::Enclosure, "power_supplies", kNumber | kList, 0, kU8, Shape::Element, kObject},
    {Shape::Enclosure, "temp_sensors", kNumber | kList, 0, kU8, Shape::Element, kObject},
    {Shape::Enclosure, "alarms", kNumber | kList, 0, kU8, Shape::Element, kObject},
    {Shape::Enclosure, "door_locks", kNumber | kList, 0, kU8, Shape::Element, kObject},
    {Shape::Enclosure, "voltage_sensors", kNumber | kList, 0, kU8, Shape::Element, kObject},
    {Shape::Enclosure, "expanders", kNumber | kList, 0, kU8, Shape::Element, kObject},
    {Shape::Enclosure, "enclosure", kObject | kFalse, 0, 0, Shape::EnclosureElement},
    {Shape::Enclosure, "slot_type", kNumber, 0, kU8},
    {Shape::Enclosure, "layout", kList, 0, 0, Shape::Layout, kObject},
    {Shape::Enclosure, "fahrenheit", kBool, 0, 0},
    {Shape::Enclosure, "global_flags", kList, 0, kU8, Shape::None, kNumber},
    {Shape::Enclosure, "fail", kList, 0, 0, Shape::None, kText},
    {Shape::Enclosure, "ignore_control", kBool, 0, 0},
    {Shape::Enclosure, "answer_page", kObject, 0, 0, Shape::PageCodes},
    {Shape::Enclosure, "page_length", kObject, 0, 0, Shape::PageLengths},
    {Shape::PageCodes, "*", kNumber, 0, kU8},
    {Shape::PageLengths, "*", kNumber, 0, kU16},
    {Shape::Layout, "type", kNamed, 0, kU8},
    {Shape::Layout, "count", kNumber, 0, kU8},
    {Shape::EnclosureElement, "failure", kBool, 0, 0},
    {Shape::EnclosureElement, "warning", kBool, 0, 0},
    {Shape::EnclosureElement, "identify", kBool, 0, 0},
    {Shape::EnclosureElement, "status", kNamed, 0, kU8},
    {Shape::Element, "identify", kBool, 0, 0},
    {Shape::Element, "status", kNamed, 0, kU8},
    {Shape::Element, "speed", kNumber, 0, 7},
    {Shape::Element, "rpm", kNumber, 0, kU16},
    {Shape::Element, "speeds", kList, 1, 7, Shape::None, kNumber},
    {Shape::Element, "off", kBool, 0, 0},
    {Shape::Element, "fail", kBool, 0, 0},
    {Shape::Element, "over_voltage", kBool, 0, 0},
    {Shape::Element, "under_voltage", kBool, 0, 0},
    {Shape::Element, "over_current", kBool, 0, 0},
    {Shape::Element, "temperature", kNumber | kNull, -20, 235},
    {Shape::Element, "thresholds", kNumber, 0, 15},
    {Shape::Element, "raw", kNumber, 0, kU8},
    {Shape::Element, "tones", kNumber, 0, 15},
    {Shape::Element, "tones_supported", kNumber, 0, 15},
    {Shape::Element, "muted", kBool, 0, 0},
    {Shape::Element, "remind", kBool, 0, 0},
    {Shape::Element, "sounding", kBool, 0, 0},
    {Shape::Element, "locked", kBool, 0, 0},
    {Shape::Element, "insert", kBool, 0, 0},
    {Shape::Element, "remove", kBool, 0, 0},
    {Shape::Element, "status_word", kNumber, 0, kU16},
    {Shape::Element, "port", kNumber, 0, kU8},

    {Shape::Event, "id", kNumber, 0, kU32},
    {Shape::Event, "time", kNumber, 0, kU32},
    {Shape::Event, "code", kCode, 0, kU16},
    {Shape::Event, "severity", kNamed, 0, kU8},
    {Shape::Event, "params", kText, 0, 0},
    {Shape::Event, "description", kText, 0, 0},
    {Shape::Event, "bytes", kList, 0, kU8, Shape::None, kNumber},
    {Shape::Event, "parameter", kNumber, 0, kU8},

    {Shape::Capture, "size", kNumber, 0, kU32},
    {Shape::Capture, "mode", kNumber, 0, kU32},
    {Shape::Capture, "control", kNumber, 0, kU32},
    {Shape::Capture, "host_mask", kNumber, 0, kU32},
    {Shape::Capture, "internal_mask", kNumber, 0, kU32},
    {Shape::Capture, "internal_unmask", kNumber, 0, kU32},
    {Shape::Capture, "segments", kNumber, 0, kU32},
    {Shape::Capture, "segment_size", kNumber, 0, kU32},
    {Shape::Capture, "segment_index", kNumber, 0, kU32},

    {Shape::ImageDownload, "size", kNumber, 0, kU32},
    {Shape::ImageDownload, "received", kNumber, 0, kU64},
    {Shape::ImageDownload, "sum", kNumber, 0, kU32},
    {Shape::ImageDownload, "checksum", kNumber, 0, kU32},
    {Shape::ImageDownload, "version", kText, 0, 0},
    {Shape::ImageDownload, "srl", kNumber, kI32Min, kI32Max},
    {Shape::FirmwareImage, "size", kNumber, 0, kU64},

    {Shape::Perf, "monitor", kBool | kNumber, 0, kU8},
    {Shape::Perf, "config", kObject | kList, 0, kU8, Shape::DpmConfig, kNumber},
    {Shape::Perf, "pending", kNumber, 0, kU16},
    {Shape::Perf, "pending_list", kList, 0, kU16, Shape::None, kNumber},
    {Shape::DpmConfig, "version", kNumber, 0, kU8},
    {Shape::DpmConfig, "capability", kNumber, 0, kU16},
    {Shape::DpmConfig, "samples", kNumber, 0, kU16},
    {Shape::DpmConfig, "long_commands", kNumber, 0, kU16},
    {Shape::DpmConfig, "tick_ns", kNumber, 0, kU32},

    {Shape::Fault, "match", kObject, 0, 0, Shape::Match},
    {Shape::Fault, "action", kObject, 0, 0, Shape::Action},
    {Shape::Fault, "count", kNamed, 0, kI64Max},
    {Shape::Fault, "skip", kNumber, 0, kI64Max},
    {Shape::Fault, "fired", kNumber, 0, kI64Max},
    {Shape::Match, "layer", kText, 0, 0},
    {Shape::Match, "kind", kText, 0, 0},
    {Shape::Match, "controller", kCode, 0, kU8},
    {Shape::Match, "opcode", kCode, 0, kU8},
    {Shape::Match, "table", kCode, 0, kU16},
    {Shape::Match, "parameter", kCode, 0, kU16},
    {Shape::Match, "code", kCode, 0, kU32},
    {Shape::Action, "os_error", kCode, 0, kU32},
    {Shape::Action, "return_code", kCode, 0, kU32},
    {Shape::Action, "status", kCode, 0, kU8},
    {Shape::Action, "code", kCode, 0, kU16},
    {Shape::Action, "text", kText, 0, 0},
    {Shape::Action, "short_reply", kCode, 0, kU32},
};

// The rules of each shape by key, and its "*" rule, built on first use.
struct ShapeRules {
    std::unordered_map<std::string, const FieldRule*> byKey;
    const FieldRule* any = nullptr;
};

const std::vector<ShapeRules>& rulesByShape() {
    static const std::vector<ShapeRules> shapes = [] {
        std::vector<ShapeRules> built(static_cast<size_t>(Shape::Count));
        for (const FieldRule& rule : kFields) {
            ShapeRules& rules = built[static_cast<size_t>(rule.shape)];
            if (rule.name[0] == '*' && rule.name[1] == '\0')
                rules.any = &rule;
            else
                rules.byKey.emplace(rule.name, &rule);  // the first rule of a key counts
        }
        return built;
    }();
    return shapes;
}

const FieldRule* ruleOf(Shape shape, const std::string& key) {
    const ShapeRules& rules = rulesByShape()[static_cast<size_t>(shape)];
    const auto found = rules.byKey.find(key);
    return found != rules.byKey.end() ? found->second : rules.any;
}

// A number the value holds, as sign and magnitude.
struct Number {
    bool negative = false;
    uint64_t magnitude = 0;
};

bool numberInText(const std::string& text, Number* n) {
    if (text.empty())
        return false;
    const bool negative = text[0] == '-';
    const char* digits = text.c_str() + (negative ? 1 : 0);
    if (*digits < '0' || *digits > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(digits, &end, 0);
    if (errno != 0 || end == nullptr || *end != '\0')
        return false;
    n->negative = negative && value != 0;
    n->magnitude = value;
    return true;
}

bool numberOf(const json& value, Number* n) {
    if (value.is_number_unsigned()) {
        n->magnitude = value.get<uint64_t>();
        return true;
    }
    if (value.is_number_integer()) {
        const int64_t v = value.get<int64_t>();
        n->negative = v < 0;
        n->magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        return true;
    }
    return value.is_string() && numberInText(value.get<std::string>(), n);
}

bool inRange(const Number& n, int64_t min, uint64_t max) {
    if (n.negative)
        return min < 0 && n.magnitude <= 0 - static_cast<uint64_t>(min);
    return min <= 0 || n.magnitude >= static_cast<uint64_t>(min) ? n.magnitude <= max : false;
}

// The kind a value is, among those `allowed`; 0 when it is none of them.
unsigned kindOf(const json& value, unsigned allowed) {
    if (value.is_boolean()) {
        if ((allowed & kBool) != 0)
            return kBool;
        return !value.get<bool>() ? allowed & kFalse : 0;
    }
    if (value.is_number_integer())
        return allowed & kNumber;
    if (value.is_string()) {
        if ((allowed & kText) != 0)
            return kText;
        Number n;
        return numberInText(value.get<std::string>(), &n) ? allowed & kNumberText : 0;
    }
    if (value.is_object())
        return allowed & kObject;
    if (value.is_array())
        return allowed & kList;
    if (value.is_null())
        return allowed & kNull;
    return 0;  // a fraction
}

std::string expected(unsigned kinds) {
    static const struct {
        unsigned kind;
        const char* name;
    } kNames[] = {{kBool, "true or false"}, {kNumber, "a whole number"},
                  {kText, "a text"},        {kNumberText, "a \"0x...\" text"},
                  {kObject, "an object"},   {kList, "a list"},
                  {kNull, "null"},          {kFalse, "false"}};
    std::string text;
    for (const auto& each : kNames) {
        if ((kinds & each.kind) == 0 || (each.kind == kNumberText && (kinds & kText) != 0))
            continue;
        text += (text.empty() ? "expected " : " or ") + std::string(each.name);
    }
    return text;
}

std::string rangeText(const std::string& shown, int64_t min, uint64_t max) {
    if (min >= 0 && static_cast<uint64_t>(min) == max)
        return "expected " + std::to_string(min) + ", not " + shown;
    return shown + " is out of range (" + std::to_string(min) + " to " + std::to_string(max) + ")";
}

// Where a value sits in the host file, spelled out only for an error:
// each step is a key of an object or an index of a list.
struct FieldPath {
    const FieldPath* parent = nullptr;
    const std::string* key = nullptr;  // null: an index
    size_t index = 0;

    [[nodiscard]] std::string text() const {
        std::string above = parent != nullptr ? parent->text() : std::string();
        if (key == nullptr)
            return above + "[" + std::to_string(index) + "]";
        return above.empty() ? *key : above + "." + *key;
    }
};

bool checkObject(const json& object, Shape shape, const FieldPath* path, std::string* error);

// Checks one value against the kinds and range it may have; `inner` names
// the fields of an object value.
bool checkValue(const json& value, unsigned kinds, const FieldRule& rule, Shape inner,
                const FieldPath& path, std::string* error) {
    const unsigned kind = kindOf(value, kinds);
    if (kind == 0) {
        *error = path.text() + ": " + expected(kinds);
        return false;
    }
    Number n;
    if ((kind == kNumber || kind == kNumberText) && numberOf(value, &n) &&
        !inRange(n, rule.min, rule.max)) {
        const std::string shown = value.is_string() ? value.get<std::string>() : value.dump();
        *error = path.text() + ": " + rangeText(shown, rule.min, rule.max);
        return false;
    }
    if (kind == kObject && inner != Shape::None)
        return checkObject(value, inner, &path, error);
    if (kind == kList) {
        for (size_t i = 0; i < value.size(); ++i) {
            const FieldPath at{&path, nullptr, i};
            if (!checkValue(value[i], rule.items, rule, rule.inner, at, error))
                return false;
        }
    }
    return true;
}

bool checkObject(const json& object, Shape shape, const FieldPath* path, std::string* error) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        const FieldRule* rule = ruleOf(shape, it.key());
        if (rule == nullptr)
            continue;  // a field the table does not know is left alone
        const FieldPath at{path, &it.key(), 0};
        if (!checkValue(it.value(), rule->kinds, *rule, rule->inner, at, error))
            return false;
    }
    return true;
}

// Line and column (from 1) of byte `offset` of `text`.
std::string placeOf(const std::string& text, size_t offset) {
    size_t line = 1;
    size_t column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Where in `text` the token that `message` quotes ('...') first stands;
// the end of the text when it cannot be found.
size_t placeOfQuoted(const std::string& text, const std::string& message) {
    const size_t open = message.find('\'');
    const size_t close = message.rfind('\'');
    if (open == std::string::npos || close <= open + 1)
        return text.size();
    const size_t at = text.find(message.substr(open + 1, close - open - 1));
    return at != std::string::npos ? at : text.size();
}

}  // namespace

std::string findHostFieldError(const json& state) {
    if (!state.is_object())
        return "expected an object at the top level";
    if (state.find("format") == state.end())
        return "format: missing";
    std::string error;
    (void)checkObject(state, Shape::Root, nullptr, &error);
    return error;
}

void checkHostFields(const json& state, const std::string& name) {
    const std::string error = findHostFieldError(state);
    if (!error.empty())
        throw platform::HostUnusable(name + ": " + error);
}

json parseHostFile(const std::string& text, const std::string& path) {
    json state;
    try {
        if (auto plain = readPlainHostText(text)) {
            state = std::move(*plain);
        } else {
            state = json::parse(text);
            restoreTextBytes(state, text);
        }
    } catch (const json::parse_error& e) {
        // The byte the parser stopped at is one past the fault.
        const size_t at = e.byte > 0 ? e.byte - 1 : 0;
        throw platform::HostUnusable(path + ": not valid JSON at " + placeOf(text, at));
    } catch (const json::out_of_range& e) {
        // A number too large for any number type; the library names it but
        // not its place.
        throw platform::HostUnusable(path + ": not valid JSON at " +
                                     placeOf(text, placeOfQuoted(text, e.what())) +
                                     " (a number too large)");
    }
    checkHostFields(state, path);
    return state;
}

}  // namespace emulator
