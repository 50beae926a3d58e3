// The built-in default host: the machine a first run finds when no host
// file exists yet. Three controllers of both families, as a small server
// carries them.
#include <cstdio>

#include "emulator/emulated_host.h"
#include "emulator/event_model.h"
#include "emulator/host_store.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr unsigned kMiB = 1024 * 1024;

// The controller's identity; `memoryMiB` is its memory in MiB, which the
// table keeps in bytes.
json identity(const char* model, const char* serial, const char* firmware, const char* bios,
              const char* bootLoader, const char* pcb, const char* chip, unsigned memoryMiB,
              unsigned compatLevel, unsigned modelCode, unsigned features) {
    return json{{"model", model},
                {"serial", serial},
                {"firmware", firmware},
                {"bios", bios},
                {"boot_loader", bootLoader},
                {"pcb", pcb},
                {"achip", chip},
                {"pchip", chip},
                {"memory", memoryMiB * kMiB},
                {"compat_level", compatLevel},
                {"model_code", modelCode},
                {"srl", compatLevel + 1},
                {"features", features}};
}

// One drive: its port, capacity in 512-byte sectors, model, serial,
// firmware and the few health figures the port views show.
json drive(unsigned port, uint64_t sectors, const char* model, const char* serial,
           const char* firmware, unsigned interfaceType, unsigned hours, int temperature) {
    return json{{"port", port},
                {"capacity", sectors},
                {"model", model},
                {"serial", serial},
                {"firmware", firmware},
                {"interface", interfaceType},
                {"power_on_hours", hours},
                {"temperature", temperature},
                {"spindle_speed", 7200}};
}

constexpr uint64_t kTerabyte = 1953525168;  // sectors of a 1 TB drive
constexpr unsigned kSata = 1;
constexpr unsigned kSas = 3;

// The newest controller's drives and units: a RAID-10, a RAID-5 that
// rebuilds onto its third drive, a RAID-6 that initialises, a spare and
// an empty port.
json newestDrives() {
    json drives = json::array();
    for (unsigned p = 0; p < 4; ++p) {
        char serial[24];
        std::snprintf(serial, sizeof serial, "TQ1A%06u", 310400 + p);
        drives.push_back(drive(p, kTerabyte, "Torvex TX1000-S7", serial, "TX1.07", kSata,
                               12040 + p * 7, 33 + static_cast<int>(p)));
    }
    for (unsigned p = 4; p < 7; ++p) {
        char serial[24];
        std::snprintf(serial, sizeof serial, "HM2B%06u", 880120 + p);
        drives.push_back(
            drive(p, 2 * kTerabyte, "Halmer HM2000SAS", serial, "S0B4", kSas, 8020 + p, 38));
    }
    for (unsigned p = 7; p < 11; ++p) {
        char serial[24];
        std::snprintf(serial, sizeof serial, "QN5C%06u", 500300 + p);
        drives.push_back(
            drive(p, 2 * kTerabyte, "Quenda QD2T-N", serial, "QD03", kSata, 410 + p, 36));
    }
    drives.push_back(
        drive(11, 2 * kTerabyte, "Halmer HM2000SAS", "HM2B000990", "S0B4", kSas, 95, 31));
    return drives;
}

// The newest controller's SES enclosure behind port 0: eight bays that hold
// the drives of ports 4-11, three fans, two power supplies, three
// temperature sensors and an alarm.
json newestEnclosures() {
    return json{
        {"protocol", "ses"},
        {"list",
         {{{"port", 0},
           {"product", "KV-JBOD-8"},
           {"revision", "0110"},
           {"slots", 8},
           {"fans", {{{"speed", 3}}, {{"speed", 3}}, {{"speed", 4}}}},
           {"power_supplies", 2},
           {"temp_sensors", {{{"temperature", 27}}, {{"temperature", 31}}, {{"temperature", 35}}}},
           {"alarms", 1},
           {"help", "Eight-bay drive enclosure; bays are numbered from the left."}}}}};
}

// The 4-port controller's SAF-TE backplane behind port 0: four bays that
// hold its drives, two fans, a power supply, a door lock, two temperature
// sensors reported in degrees Fahrenheit and an alarm.
json olderEnclosures() {
    return json{{"protocol", "safte"},
                {"list",
                 {{{"port", 0},
                   {"product", "KV-BP-4"},
                   {"slots", 4},
                   {"fans", 2},
                   {"power_supplies", 1},
                   {"door_locks", 1},
                   {"temp_sensors", {{{"temperature", 25}}, {{"temperature", 30}}}},
                   {"alarms", 1},
                   {"fahrenheit", true}}}}};
}

// Puts the drives of ports `first` onward into the slots of the
// enclosure behind port 0, in port order from slot `slot`.
void intoEnclosure(json& drives, unsigned first, unsigned slot) {
    for (json& d : drives) {
        const unsigned port = d["port"].get<unsigned>();
        if (port >= first) {
            d["enclosure"] = 0;
            d["slot"] = port - first + slot;
        }
    }
}

json newestUnits() {
    return json::array({{{"number", 0},
                         {"type", "raid10"},
                         {"stripe", 7},
                         {"members", {0, 1, 2, 3}},
                         {"name", "database"},
                         {"serial", "TX1A310400B00C11"}},
                        {{"number", 1},
                         {"type", "raid5"},
                         {"stripe", 8},
                         {"members", {4, 5, 6}},
                         {"state", "rebuilding"},
                         {"progress", 40},
                         {"member", 2},
                         {"name", "files"},
                         {"serial", "HM2B880124B00C12"}},
                        {{"number", 2},
                         {"type", "raid6"},
                         {"stripe", 7},
                         {"members", {7, 8, 9, 10}},
                         {"state", "initializing"},
                         {"progress", 25},
                         {"name", "archive"},
                         {"serial", "QN5C500307B00C13"}},
                        {{"number", 3}, {"type", "spare"}, {"members", {11}}}});
}

json newestBbu() {
    return json{{"serial", "BB0923-41A07"},
                {"firmware", "BBU 1.07.00.003"},
                {"boot_loader", "BBL 1.03.00.005"},
                {"pcb", 4},
                {"info", "Li-Ion 2S1P 2200mAh"},
                {"install_date", "12-Mar-2026"},
                {"last_test_date", "01-Nov-2026"},
                {"backup_hours", 72},
                {"status", "OK"},
                {"voltage", "OK"},
                {"temperature", "OK"}};
}

// The 4-port controller: a degraded RAID-1 whose second drive was pulled
// (port 1 is empty) and a RAID-1 that verifies.
json olderDrives() {
    return json::array(
        {drive(0, kTerabyte / 2, "Torvex TX500-S5", "TQ0A001201", "TX0.93", kSata, 30950, 41),
         drive(2, kTerabyte, "Torvex TX1000-S7", "TQ1A299871", "TX1.07", kSata, 18220, 37),
         drive(3, kTerabyte, "Torvex TX1000-S7", "TQ1A299872", "TX1.07", kSata, 18219, 37)});
}

json olderUnits() {
    return json::array({{{"number", 0},
                         {"type", "raid1"},
                         {"members", {0, nullptr}},
                         {"state", "degraded"},
                         {"name", "system"}},
                        {{"number", 1},
                         {"type", "raid1"},
                         {"members", {2, 3}},
                         {"state", "verifying"},
                         {"progress", 60},
                         {"name", "scratch"}}});
}

// The older-family controller's two drives.
json olderFamilyDrives() {
    return json::array(
        {drive(0, 488397168, "Torvex TX250-P2", "TQ0P004411", "TX0.41", kSata, 41200, 39),
         drive(1, 488397168, "Torvex TX250-P2", "TQ0P004412", "TX0.41", kSata, 41198, 39)});
}

}  // namespace

json EmulatedHost::defaultHost() {
    json controllers = json::array();
    // A newest-generation controller with 12 ports.
    controllers.push_back(
        {{"device_type", 5},
         {"slot", 2},
         {"ui_number", 2},
         {"driver", {{"version", {3, 0, 2, 46}}, {"srl_min", 35}, {"srl_max", 40}}},
         {"identity",
          identity("KV-V820-12p", "KVS26021-180274", "KF62 7.30.00.058", "KB62 7.04.00.007",
                   "KL62 7.04.00.003", "Rev 032", "1.30", 512, 37, 8, 2)},
         {"settings", {{"ports", 12}, {"auto_rebuild", 1}, {"stagger", 2}, {"spinups", 1}}},
         {"drives", newestDrives()},
         {"units", newestUnits()},
         {"bbu", newestBbu()},
         {"enclosures", newestEnclosures()},
         {"events", defaultEvents(0)}});
    intoEnclosure(controllers.back()["drives"], 4, 0);
    // The generation before it, 4 ports.
    controllers.push_back(
        {{"device_type", 4},
         {"slot", 5},
         {"ui_number", 5},
         {"driver", {{"version", {3, 0, 2, 46}}, {"srl_min", 30}, {"srl_max", 40}}},
         {"identity",
          identity("KV-S620RE-4HBQH", "KVS20909-030211", "KF62 1.04.00.056", "KB62 1.04.00.007",
                   "KL62 1.03.00.009", "Rev 021", "1.20", 224, 33, 6, 2)},
         {"settings", {{"ports", 4}, {"host_bus", 0}}},
         {"drives", olderDrives()},
         {"units", olderUnits()},
         {"enclosures", olderEnclosures()},
         {"events", defaultEvents(1)}});
    intoEnclosure(controllers.back()["drives"], 0, 0);
    // An older-family controller with 2 ports: a mirror of its two drives
    // and two events in its queue.
    controllers.push_back(
        {{"device_type", 1},
         {"slot", 6},
         {"ui_number", 6},
         {"driver", {{"version", {1, 26, 2, 4}}}},
         {"identity",
          identity("KV-P300-2HB", "KVS19004-120043", "KF31 3.02.00.094", "KB30 3.04.00.074",
                   "KL30 3.03.00.055", "Rev 5", "1.10", 32, 0, 0, 0)},
         {"settings", {{"ports", 2}}},
         {"drives", olderFamilyDrives()},
         {"units",
          json::array({{{"number", 0}, {"type", "raid1"}, {"members", {0, 1}}, {"state", "ok"}}})},
         {"events",
          json::array({{{"code", 0x29}, {"parameter", 0}}, {{"code", 0x2B}, {"parameter", 0}}})}});
    // The system disk hangs under the board's own disk controller, not
    // under a Kivra controller.
    json disks = json::array(
        {{{"controller", -1}, {"target", 0}, {"disk_number", 0}, {"parent_dev_inst", 0x20}}});
    json volumes = json::array({{{"name", "C:"},
                                 {"in_use", true},
                                 {"extents", {{{"disk_number", 0}, {"length", 512ull << 30}}}}}});
    return json{
        {"format", 1},
        {"machine",
         {{"administrator", true},
          {"host_name", localHostName()},
          {"domain", ""},
          {"common_app_data", "ProgramData"},
          {"windows_directory", "Windows"},
          // Windows Server 2022 Standard on x64.
          {"version",
           {{"major", 10},
            {"minor", 0},
            {"build", 20348},
            {"platform_id", 2},
            {"service_pack", ""},
            {"service_pack_major", 0},
            {"service_pack_minor", 0},
            {"suite_mask", 0x110},
            {"product_type", 3},
            {"product_info", 7},
            {"architecture", platform::kArchAmd64},
            {"server_r2", 0}}},
          {"controllers", controllers},
          {"disks", disks},
          {"volumes", volumes},
          {"registry", json::object()}}},
        {"faults", json::array()},
    };
}

}  // namespace emulator
