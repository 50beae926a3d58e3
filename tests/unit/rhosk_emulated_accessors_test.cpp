// Every newer-family query and setting through the public library over the
// emulated host, for each controller family and the firmware levels that
// gate routes and parameters: the request log must show the table,
// parameter and size the operation is meant to use, the value must come
// back converted, a write must land in the controller's state, and a
// family or level the route does not serve must be refused as the routing
// table says.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_codes.h"
#include "rhosk_emulated_host.h"

namespace rhosk_emulated::rhosk_emulated_accessors_test {
namespace {

using Dispatch::Route;

// --- Showing an operation's output as text ---

template <typename T>
std::string Show(const T& v) {
    return std::to_string(+v);
}
std::string Show(const ObjectId& id) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < 8; ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : " %02x", id[i]);
        text += byte;
    }
    return text;
}
std::string Show(const ObjectIdList128& list) {
    return "n=" + std::to_string(list.count);
}
std::string Show(const WeeklySchedule& s) {
    std::string text;
    for (uint16_t slot : {0, 6}) {
        const ScheduleSlot& x = s.slots[slot];
        text += "s" + std::to_string(slot) + "=" + std::to_string(x.selftestStart) + "," +
                std::to_string(x.rebuildStart) + "/" + std::to_string(x.rebuildDuration) + "," +
                std::to_string(x.verifyStart) + "/" + std::to_string(x.verifyDuration) + ";";
    }
    return text;
}
std::string Show(const IoStatTable& t) {
    return std::to_string(t.controllerCount) + "/" + std::to_string(t.portCounts[0]);
}

// An operation on the row's object, with its output shown as text.
using Call = std::function<int(ObjectId, std::string*)>;

template <typename T>
Call Get(int (*fn)(ObjectId, T*)) {
    return [fn](ObjectId id, std::string* out) {
        T value{};
        const int result = fn(id, &value);
        *out = Show(value);
        return result;
    };
}
Call Text(int (*fn)(ObjectId, char*), std::size_t size) {
    return [fn, size](ObjectId id, std::string* out) {
        std::vector<char> text(size + 1, '\0');
        const int result = fn(id, text.data());
        *out = text.data();
        return result;
    };
}
template <typename T>
Call Set(int (*fn)(ObjectId, T), T value) {
    return [fn, value](ObjectId id, std::string*) { return fn(id, value); };
}
template <typename T>
Call SetAt(int (*fn)(ObjectId, const T*), T value) {
    return [fn, value](ObjectId id, std::string*) { return fn(id, &value); };
}
Call Do(int (*fn)(ObjectId)) {
    return [fn](ObjectId id, std::string*) { return fn(id); };
}

// The object an operation takes: controller 0, unit 2, the drive on port
// 1, or volume 0 of unit 2.
enum class On { Controller, Unit, Drive, Volume };

ObjectId IdOf(On on) {
    switch (on) {
        case On::Controller:
            return integration::ControllerId(0);
        case On::Unit:
            return UnitId(2);
        case On::Drive:
            return DriveId(1);
        case On::Volume: {
            ObjectId id = UnitId(2);
            id[ObjectId::kKind] = kKindVolume;
            id[ObjectId::kNumber] = 0;
            return id;
        }
    }
    return ObjectId::Blank();
}

// The object tables of the row's objects, bit 15 clear as the log shows them.
constexpr int kInfo = 0x402;
constexpr int kSettings = 0x403;
constexpr int kTasks = 0x40C;
constexpr int kSlot0 = 0x410;
constexpr int kPorts = 0x002;
constexpr int kUnits = 0x003;
constexpr int kDrive1 = 0x201;
constexpr int kUnit2 = 0x302;

// One operation: its route, what it must send (each access must appear in
// the traffic; a setting may send no other write), the output it must
// give ("" not checked) and, for a setting, the controller's state after
// it (a JSON pointer below the controller and the value there).
// `belowLevel`, `alt` and `altOutput` name a parameter that firmware below
// that level is read through instead.
struct Row {
    const char* name;
    Route route;
    On on;
    Call call;
    std::vector<Access> sends;
    std::string output;
    const char* statePath = nullptr;
    json stateValue = nullptr;
    int belowLevel = 0;
    Access alt{};
    std::string altOutput = "";
};

// The controller every family and level shares: distinct values, so that
// each read shows where it came from.
json Population() {
    json drives = json::array();
    for (int port = 0; port < 4; ++port) {
        drives.push_back({{"port", port},
                          {"capacity", 5860533168ull},  // above 32 bits
                          {"model", "  KV-DISK-" + std::to_string(port) + "  "},
                          {"serial", "QD-" + std::to_string(port)},
                          {"firmware", "FW0" + std::to_string(port)},
                          {"unit_flags", 4},
                          {"queuing_supported", 1},
                          {"queuing_enabled", 0},
                          {"link_speed_supported", 3},
                          {"link_speed", 2},
                          {"reallocated_sectors", 12},
                          {"power_on_hours", 40000},
                          {"temperature", -5},
                          {"interface", 3},
                          {"port_count", 2},
                          {"connections", 1},
                          {"spindle_speed", 10000}});
    }
    json pending = json::array({5});
    return {
        {"identity",
         {{"model", "  KV-V820-8p  "},
          {"firmware", "KF62 7.30.00.058"},
          {"bios", "KB62 7.04.00.007"},
          {"boot_loader", "KL62 7.04.00.003"},
          {"pcb", "Rev 032"},
          {"achip", "3.20"},
          {"pchip", "1.30-66"},
          {"memory", 262144}}},
        {"settings",
         {{"ports", 8},
          {"spinups", 2},
          {"stagger", 5},
          {"av_mode", 0},
          {"export_jbod", 1},
          {"on_degrade", 1},
          {"coercion", 2500000000ull},
          {"ignore_fua", 1},
          {"force_drive_cache", 1},
          {"multi_lun", 1},
          {"auto_rebuild", 1},
          {"lun_size", 4194303},
          {"lba_reordering", 1},
          {"mode_page_control", 1}}},
        {"tasks",
         {{"rebuild_schedule_mode", 1},
          {"verify_schedule_mode", 2},
          {"rebuild_rate", 2},
          {"verify_rate", 4},
          {"selftest_flags", 3},
          {"verify_start", 120},
          {"rebuild_mode", 1},
          {"verify_mode", 0}}},
        {"schedule",
         {{"6",
           {{"selftest_start", 9000},
            {"rebuild", {{"start", 8700}, {"duration", 60}}},
            {"verify", {{"start", 8800}, {"duration", 90}}}}}}},
        {"perf", {{"pending", 7}, {"pending_list", pending}}},
        {"drives", drives},
        {"units", json::array({{{"number", 2},
                                {"type", "raid6"},
                                {"members", {0, 1, 2, 3}},
                                {"stripe", 5},
                                {"state", "verifying"},
                                {"progress", 50},
                                {"name", "files"},
                                {"serial", "SER-U2"}}})},
    };
}

// Reads, checked against the population above. They run before the
// writes, which change it.
std::vector<Row> Reads() {
    using namespace Api;
    return {
        {"driver version",
         Route::Both,
         On::Controller,
         Text(GetDriverVersion, 128),
         {},
         "3.00.00.001"},
        {"model",
         Route::Both,
         On::Controller,
         Text(GetControllerModel, 64),
         {{kGet, kInfo, 8, 16}},
         "KV-V820-8p"},
        {"serial",
         Route::Both,
         On::Controller,
         Text(GetControllerSerial, 32),
         {{kGet, kInfo, 9, 20}},
         ""},
        {"pcb",
         Route::Both,
         On::Controller,
         Text(GetPcbVersion, 32),
         {{kGet, kInfo, 5, 8}},
         "Rev 032"},
        {"achip",
         Route::Both,
         On::Controller,
         Text(GetAchipVersion, 32),
         {{kGet, kInfo, 6, 8}},
         "3.20"},
        {"pchip",
         Route::Both,
         On::Controller,
         Text(GetPchipVersion, 32),
         {{kGet, kInfo, 7, 8}},
         "1.30-66"},
        {"firmware",
         Route::Both,
         On::Controller,
         Text(GetControllerFirmwareVersion, 32),
         {{kGet, kInfo, 3, 16}},
         "KF62 7.30.00.058"},
        {"bios",
         Route::Both,
         On::Controller,
         Text(GetBiosVersion, 32),
         {{kGet, kInfo, 4, 16}},
         "KB62 7.04.00.007"},
        {"boot loader",
         Route::Both,
         On::Controller,
         Text(GetBootLoaderVersion, 32),
         {{kGet, kInfo, 2, 16}},
         "KL62 7.04.00.003"},
        {"memory",
         Route::Both,
         On::Controller,
         Get(GetAvailableMemory),
         {{kGet, kInfo, 10, 4}},
         "262144"},
        // Family 7 carries its class in these bits: the value differs by family.
        {"bus info",
         Route::From6,
         On::Controller,
         Get(GetControllerBusInfo),
         {{kGet, kSettings, 26, 4}},
         ""},
        {"ports", Route::Both, On::Controller, Get(GetNumPorts), {{kGet, kSettings, 3, 1}}, "8"},
        {"drives", Route::Both, On::Controller, Get(GetNumDrives), {{kGet, kPorts, 2, 2}}, "4"},
        {"connections",
         Route::Newer,
         On::Controller,
         Get(GetNumConnections),
         {{kGet, kPorts, 3, 128}, {kGet, kDrive1, 26, 1}},
         "4"},
        {"active drives",
         Route::Newer,
         On::Controller,
         Get(GetNumActiveDrives),
         {{kGet, kUnits, 3, 32}, {kGet, kUnit2, 11, 120}},
         "4"},
        {"auto rebuild",
         Route::Newer,
         On::Controller,
         Get(GetAutoRebuild),
         {{kGet, kSettings, 28, 1}},
         "1"},
        {"multi-LUN",
         Route::Newer,
         On::Controller,
         Get(GetMultiLunPolicy),
         {{kGet, kSettings, 24, 1}},
         "1"},
        {"LUN size",
         Route::Newer,
         On::Controller,
         Get(GetLunSize),
         {{kGet, kSettings, 29, 8}},
         "4194303"},
        {"LBA reordering",
         Route::Newer,
         On::Controller,
         Get(GetLbaReordering),
         {{kGet, 0x00A, 5, 1}},
         "1"},
        {"AV mode", Route::Newer, On::Controller, Get(GetAvMode), {{kGet, kSettings, 10, 1}}, "0"},
        {"export JBOD",
         Route::Newer,
         On::Controller,
         Get(GetExportJbodPolicy),
         {{kGet, kSettings, 17, 1}},
         "1"},
        {"on degrade",
         Route::Only4,
         On::Controller,
         Get(GetOnDegradePolicy),
         {{kGet, kSettings, 18, 1}},
         "1"},
        {"ignore FUA",
         Route::Only4,
         On::Controller,
         Get(GetIgnoreFuaWrite),
         {{kGet, kSettings, 22, 1}},
         "1"},
        {"force drive cache",
         Route::Newer,
         On::Controller,
         Get(GetForceDriveCacheOn),
         {{kGet, kSettings, 23, 1}},
         "1"},
        {"coercion 2.5 reads as 2",
         Route::Newer,
         On::Controller,
         Get(GetDriveCoercionFactor),
         {{kGet, kSettings, 21, 8}},
         "2"},
        {"mode page control",
         Route::From6,
         On::Controller,
         Get(GetModePageControl),
         {{kGet, kSettings, 52, 1}},
         "1"},
        {"spin-ups",
         Route::Newer,
         On::Controller,
         Get(GetNumberSpinupsAllowed),
         {{kGet, kSettings, 7, 1}},
         "2"},
        {"stagger",
         Route::Newer,
         On::Controller,
         Get(GetStaggerTime),
         {{kGet, kSettings, 8, 1}},
         "5"},
        {"rebuild rate",
         Route::Both,
         On::Controller,
         Get(GetRebuildRate),
         {{kGet, kTasks, 5, 1}},
         "2"},
        {"verify rate",
         Route::Both,
         On::Controller,
         Get(GetVerifyRate),
         {{kGet, kTasks, 6, 1}},
         "4"},
        {"rebuild mode",
         Route::Level37,
         On::Controller,
         Get(GetRebuildMode),
         {{kGet, kTasks, 13, 1}},
         "1"},
        {"verify mode",
         Route::Level37,
         On::Controller,
         Get(GetVerifyMode),
         {{kGet, kTasks, 14, 1}},
         "0"},
        {"self-test flags",
         Route::Newer,
         On::Controller,
         Get(GetSelftestFlags),
         {{kGet, kTasks, 9, 2}},
         "3"},
        {"basic verify start",
         Route::From6,
         On::Controller,
         Get(GetBasicVerifyPreferredStart),
         {{kGet, kTasks, 11, 2}},
         "120"},
        {"rebuild schedule state",
         Route::Newer,
         On::Controller,
         Get(GetRebuildScheduleState),
         {{kGet, kTasks, 3, 1}},
         "1"},
        {"verify schedule state",
         Route::Newer,
         On::Controller,
         Get(GetVerifyScheduleState),
         {{kGet, kTasks, 4, 1}},
         "2"},
        {"weekly schedule",
         Route::Newer,
         On::Controller,
         Get(GetTaskSchedule),
         {{kGet, kSlot0, 2, 2}, {kGet, kSlot0, 3, 4}, {kGet, kSlot0 + 6, 4, 4}},
         "s0=0,0/1440,0/1440;s6=9000,8700/60,8800/90;"},
        {"port I/O",
         Route::From6,
         On::Controller,
         [](ObjectId id, std::string* out) {
             uint16_t counts[256] = {};
             const int result = Api::GetPortIoStat(id, counts);
             *out = std::to_string(counts[0]);
             return result;
         },
         {{kGet, 0x009, 3, 512}},
         "5"},
        {"controller I/O",
         Route::From6,
         On::Controller,
         Get(GetControllerIoStat),
         {{kGet, 0x009, 2, 2}, {kGet, 0x009, 3, 512}},
         "7/5"},
        {"unit list",
         Route::Both,
         On::Controller,
         Get(GetUnitIdList),
         {{kGet, kUnits, 3, 32}},
         "n=1"},
        {"drive list",
         Route::Both,
         On::Controller,
         Get(GetDriveIdList),
         {{kGet, kPorts, 3, 128}},
         "n=4"},
        {"port list",
         Route::Both,
         On::Controller,
         Get(GetPortIdList),
         {{kGet, kSettings, 3, 1}},
         "n=8"},
        // Unit 2: a RAID-6 unit of four drives (6 descriptors), verifying at 50 %.
        {"subunits",
         Route::Both,
         On::Unit,
         Get(GetSubunitIdList),
         {{kGet, kUnits, 3, 32},
          {kGet, kUnit2, 9, 2},
          {kGet, kUnit2, 10, 1},
          {kGet, kUnit2, 11, 120}},
         "n=4"},
        {"RAID-6 subunits",
         Route::From6,
         On::Unit,
         Get(GetRaid6SubunitIdList),
         {{kGet, kUnit2, 11, 120}},
         "n=2"},
        {"parity number",
         Route::From6,
         On::Unit,
         Get(GetUnitParityNumber),
         {{kGet, kUnit2, 11, 120}},
         "2"},
        {"unit drives",
         Route::Both,
         On::Unit,
         Get(GetUnitDriveList),
         {{kGet, kUnit2, 11, 120}},
         "n=4"},
        {"volumes",
         Route::From6,
         On::Unit,
         Get(GetUnitVolumeList),
         {{kGet, kUnit2, 16, 1}, {kGet, kUnit2, 24, 2}, {kGet, kUnit2, 25, 20}},
         "n=1"},
        {"volume count",
         Route::Newer,
         On::Unit,
         Get(GetUnitVolumeCount),
         {{kGet, kUnit2, 16, 1}},
         "1"},
        {"volume capacity",
         Route::From6,
         On::Volume,
         Get(GetVolumeCapacity),
         {{kGet, kUnit2, 25, 20}},
         "11721066336"},
        {"status", Route::Both, On::Unit, Get(GetUnitStatus), {{kGet, kUnit2, 11, 120}}, "251"},
        {"type", Route::Both, On::Unit, Get(GetUnitType), {{kGet, kUnit2, 11, 120}}, "7"},
        {"flags", Route::Both, On::Unit, Get(GetUnitFlags), {{kGet, kUnit2, 3, 1}}, "1"},
        {"percent",
         Route::Both,
         On::Unit,
         Get(GetUnitPercentComplete),
         {{kGet, kUnit2, 11, 120}},
         "50"},
        {"capacity",
         Route::Both,
         On::Unit,
         Get(GetUnitCapacity),
         {{kGet, kUnit2, 12, 8}},
         "11721066336"},
        {"stripe", Route::Both, On::Unit, Get(GetUnitStripeSize), {{kGet, kUnit2, 11, 120}}, "16"},
        {"initialized",
         Route::Newer,
         On::Unit,
         Get(IsUnitInitialized),
         {{kGet, kUnit2, 11, 120}},
         "1"},
        {"task running",
         Route::Newer,
         On::Unit,
         Get(IsUnitTaskRunning),
         {{kGet, kUnit2, 11, 120}},
         "1"},
        {"unit serial",
         Route::Newer,
         On::Unit,
         Text(GetUnitSerial, 21),
         {{kGet, kUnit2, 18, 20}},
         "SER-U2"},
        {"unit name",
         Route::Newer,
         On::Unit,
         Text(GetUnitName, 21),
         {{kGet, kUnit2, 17, 21}},
         "files"},
        {"write cache",
         Route::Both,
         On::Unit,
         Get(GetUnitWriteCache),
         {{kGet, kUnit2, 13, 1}},
         "1"},
        {"read cache mode",
         Route::Level37,
         On::Unit,
         Get(GetReadCacheMode),
         {{kGet, kUnit2, 13, 1}, {kGet, kUnit2, 29, 1}},
         "2"},
        {"ECC policy", Route::Newer, On::Unit, Get(GetEccPolicy), {{kGet, kUnit2, 15, 1}}, "0"},
        {"auto-verify", Route::Newer, On::Unit, Get(GetAutoVerify), {{kGet, kUnit2, 14, 1}}, "0"},
        {"unit queuing", Route::Newer, On::Unit, Get(GetUnitQueuing), {{kGet, kUnit2, 20, 1}}, "1"},
        {"Keepwell balance",
         Route::From6,
         On::Unit,
         Get(GetKeepwellMode),
         {{kGet, kUnit2, 21, 1}, {kGet, kUnit2, 22, 2}, {kGet, kUnit2, 23, 2}},
         "1"},
        {"rapid recovery",
         Route::Level36,
         On::Unit,
         Get(GetRapidRecovery),
         {{kGet, kUnit2, 28, 1}},
         "3"},
        {"write DPO",
         Route::Level36,
         On::Unit,
         Get(GetWriteDpoPolicy),
         {{kGet, kUnit2, 27, 1}},
         "2"},
        // The drive on port 1.
        {"drive status",
         Route::Both,
         On::Drive,
         Get(GetDriveStatus),
         {{kGet, kPorts, 3, 128}},
         "255"},
        {"drive capacity",
         Route::Both,
         On::Drive,
         Get(GetDriveCapacity),
         {{kGet, kInfo, 11, 4}, {kGet, kDrive1, 23, 8}},
         "5860533168",
         nullptr,
         nullptr,
         33,
         {kGet, kDrive1, 2, 4},
         "1565565872"},
        {"drive model",
         Route::Both,
         On::Drive,
         Text(GetDriveModel, 64),
         {{kGet, kDrive1, 3, 40}},
         "KV-DISK-1"},
        {"drive serial",
         Route::Both,
         On::Drive,
         Text(GetDriveSerial, 32),
         {{kGet, kDrive1, 4, 20}},
         "QD-1"},
        {"drive firmware",
         Route::Both,
         On::Drive,
         Text(GetDriveFirmwareVersion, 32),
         {{kGet, kDrive1, 14, 8}},
         "FW01"},
        {"drive's unit",
         Route::Both,
         On::Drive,
         Get(GetDriveUnitId),
         {{kGet, kDrive1, 11, 1}, {kGet, kUnit2, 11, 120}},
         "02 00 ff 02 02 01 ff ff"},
        {"drive unit flags",
         Route::From6,
         On::Drive,
         Get(GetDriveUnitFlags),
         {{kGet, kDrive1, 12, 1}},
         "4"},
        {"interface",
         Route::From6,
         On::Drive,
         Get(GetDriveInterface),
         {{kGet, kDrive1, 24, 1}},
         "3"},
        {"drive ports",
         Route::From6,
         On::Drive,
         Get(GetDrivePortCount),
         {{kGet, kDrive1, 25, 1}},
         "2"},
        {"drive connections",
         Route::From6,
         On::Drive,
         Get(GetDriveConnectionCount),
         {{kGet, kDrive1, 26, 1}},
         "1"},
        {"reallocated",
         Route::From6,
         On::Drive,
         Get(GetDriveReallocatedSectors),
         {{kGet, kDrive1, 19, 2}},
         "12"},
        {"power-on hours",
         Route::From6,
         On::Drive,
         Get(GetDrivePowerOnHours),
         {{kGet, kDrive1, 20, 2}},
         "40000"},
        {"temperature is signed",
         Route::From6,
         On::Drive,
         Get(GetDriveTemperature),
         {{kGet, kDrive1, 22, 2}},
         "-5"},
        {"spindle speed",
         Route::From6,
         On::Drive,
         Get(GetDriveSpindleSpeed),
         {{kGet, kDrive1, 33, 2}},
         "10000"},
        {"queuing supported",
         Route::From6,
         On::Drive,
         Get(GetDriveQueuingSupported),
         {{kGet, kDrive1, 15, 1}},
         "1"},
        {"queuing enabled",
         Route::From6,
         On::Drive,
         Get(GetDriveQueuingEnabled),
         {{kGet, kDrive1, 16, 1}},
         "0"},
        {"link speed supported",
         Route::From6,
         On::Drive,
         Get(GetDriveLinkSpeedSupported),
         {{kGet, kDrive1, 17, 1}},
         "3"},
        {"link speed",
         Route::From6,
         On::Drive,
         Get(GetDriveLinkSpeed),
         {{kGet, kDrive1, 18, 1}},
         "2"},
    };
}

std::vector<Row> Writes() {
    using namespace Api;
    static const char kNewName[21] = "renamed";
    return {
        {"auto rebuild",
         Route::Newer,
         On::Controller,
         Set(SetAutoRebuild, uint8_t{0}),
         {{kSet, kSettings, 28, 1}},
         "",
         "/settings/auto_rebuild",
         0},
        {"multi-LUN off",
         Route::Newer,
         On::Controller,
         Do(DisableMultiLunPolicy),
         {{kSet, kSettings, 24, 1}},
         "",
         "/settings/multi_lun",
         0},
        {"LUN size",
         Route::Newer,
         On::Controller,
         Set(SetLunSize, uint64_t{8388607}),
         {{kSet, kSettings, 29, 8}},
         "",
         "/settings/lun_size",
         8388607},
        {"LBA reordering off",
         Route::Newer,
         On::Controller,
         Do(DisableLbaReordering),
         {{kSet, 0x00A, 5, 1}},
         "",
         "/settings/lba_reordering",
         0},
        {"export JBOD off",
         Route::Newer,
         On::Controller,
         Do(DisableExportJbod),
         {{kSet, kSettings, 17, 1}},
         "",
         "/settings/export_jbod",
         0},
        {"on degrade follow",
         Route::Only4,
         On::Controller,
         Do(SetOnDegradeFollow),
         {{kSet, kSettings, 18, 1}},
         "",
         "/settings/on_degrade",
         0},
        {"ignore FUA off",
         Route::Only4,
         On::Controller,
         Do(DisableIgnoreFuaWrite),
         {{kSet, kSettings, 22, 1}},
         "",
         "/settings/ignore_fua",
         0},
        {"force drive cache off",
         Route::Newer,
         On::Controller,
         Do(DisableForceDriveCacheOn),
         {{kSet, kSettings, 23, 1}},
         "",
         "/settings/force_drive_cache",
         0},
        {"coercion factor 3",
         Route::Newer,
         On::Controller,
         Set(SetDriveCoercionFactor, uint32_t{3}),
         {{kSet, kSettings, 21, 8}},
         "",
         "/settings/coercion",
         3000000000ull},
        {"mode page control",
         Route::From6,
         On::Controller,
         Set(SetModePageControl, uint8_t{0}),
         {{kSet, kSettings, 52, 1}},
         "",
         "/settings/mode_page_control",
         0},
        {"spin-ups",
         Route::Newer,
         On::Controller,
         Set(SetNumberSpinupsAllowed, 4),
         {{kGet, kSettings, 3, 1}, {kSet, kSettings, 7, 1}},
         "",
         "/settings/spinups",
         4},
        {"stagger",
         Route::Newer,
         On::Controller,
         Set(SetStaggerTime, 60),
         {{kSet, kSettings, 8, 1}},
         "",
         "/settings/stagger",
         60},
        // AV mode on turns LBA reordering off (which the row above did already).
        {"AV mode on",
         Route::Newer,
         On::Controller,
         Do(EnableAvMode),
         {{kSet, kSettings, 10, 1}, {kSet, 0x00A, 5, 1}},
         "",
         "/settings/av_mode",
         1},
        {"rebuild rate 3",
         Route::Both,
         On::Controller,
         SetAt(SetRebuildRate, int32_t{3}),
         {{kSet, kTasks, 5, 1}},
         "",
         "/tasks/rebuild_rate",
         3},
        {"verify rate 5",
         Route::Both,
         On::Controller,
         SetAt(SetVerifyRate, int32_t{5}),
         {{kSet, kTasks, 6, 1}},
         "",
         "/tasks/verify_rate",
         5},
        {"rebuild mode adaptive",
         Route::Level37,
         On::Controller,
         Set(SetRebuildMode, uint8_t{0}),
         {{kSet, kTasks, 13, 1}},
         "",
         "/tasks/rebuild_mode",
         0},
        {"verify mode low latency",
         Route::Level37,
         On::Controller,
         Set(SetVerifyMode, uint8_t{1}),
         {{kGet, kTasks, 6, 1}, {kSet, kTasks, 14, 1}},
         "",
         "/tasks/verify_mode",
         1},
        {"self-test flags",
         Route::Newer,
         On::Controller,
         SetAt(SetSelftestFlags, uint16_t{5}),
         {{kSet, kTasks, 9, 2}},
         "",
         "/tasks/selftest_flags",
         5},
        {"basic verify start",
         Route::From6,
         On::Controller,
         Set(SetBasicVerifyPreferredStart, uint16_t{240}),
         {{kSet, kTasks, 11, 2}},
         "",
         "/tasks/verify_start",
         240},
        {"rebuild schedule off",
         Route::Newer,
         On::Controller,
         Do(DisableRebuildSchedule),
         {{kSet, kTasks, 3, 1}},
         "",
         "/tasks/rebuild_schedule_mode",
         2},
        {"verify schedule on",
         Route::Newer,
         On::Controller,
         Do(EnableVerifySchedule),
         {{kSet, kTasks, 4, 1}},
         "",
         "/tasks/verify_schedule_mode",
         1},
        {"rebuild slot 2",
         Route::Newer,
         On::Controller,
         [](ObjectId id, std::string*) { return Api::SetRebuildTask(id, 2, 600, 120); },
         {{kSet, kSlot0 + 2, 3, 4}},
         "",
         "/schedule/2/rebuild",
         json{{"start", 600}, {"duration", 120}}},
        {"verify slot 5",
         Route::Newer,
         On::Controller,
         [](ObjectId id, std::string*) { return Api::SetVerifyTask(id, 5, 7300, 30); },
         {{kSet, kSlot0 + 5, 4, 4}},
         "",
         "/schedule/5/verify",
         json{{"start", 7300}, {"duration", 30}}},
        {"self-test slot 3",
         Route::Newer,
         On::Controller,
         [](ObjectId id, std::string*) { return Api::SetSelftestTask(id, 3, 4500); },
         {{kSet, kSlot0 + 3, 2, 2}},
         "",
         "/schedule/3/selftest_start",
         4500},
        {"unit name",
         Route::Newer,
         On::Unit,
         [](ObjectId id, std::string*) { return Api::SetUnitName(id, kNewName); },
         {{kSet, kUnit2, 17, 21}},
         "",
         "/units/0/name",
         "renamed"},
        {"write cache off",
         Route::Both,
         On::Unit,
         Do(DisableWriteCache),
         {{kGet, kUnit2, 13, 1}, {kSet, kUnit2, 13, 1}},
         "",
         "/units/0/cache_bits",
         0},
        {"read cache off",
         Route::Level37,
         On::Unit,
         Do(DisableReadCache),
         {{kSet, kUnit2, 13, 1}, {kSet, kUnit2, 29, 1}},
         "",
         "/units/0/read_cache_bits",
         0x20},
        {"continue on ECC",
         Route::Newer,
         On::Unit,
         Do(ContinueOnEccErrors),
         {{kSet, kUnit2, 15, 1}},
         "",
         "/units/0/ecc_policy",
         1},
        {"auto-verify on",
         Route::Newer,
         On::Unit,
         Do(EnableAutoVerify),
         {{kSet, kUnit2, 14, 1}},
         "",
         "/units/0/auto_verify",
         1},
        {"unit queuing off",
         Route::Newer,
         On::Unit,
         Do(DisableUnitQueuing),
         {{kSet, kUnit2, 20, 1}},
         "",
         "/units/0/queuing",
         0},
        // Protect is 1, 2, 1; the value 2 of parameters 22 and 23 is kept as 0x100.
        {"Keepwell protect",
         Route::From6,
         On::Unit,
         Set(SetKeepwellMode, uint8_t{0}),
         {{kSet, kUnit2, 21, 1}, {kSet, kUnit2, 22, 2}, {kSet, kUnit2, 23, 2}},
         "",
         "/units/0/protection_22",
         0x100},
        {"rapid recovery rebuild",
         Route::Level36,
         On::Unit,
         Set(SetRapidRecovery, uint8_t{1}),
         {{kSet, kUnit2, 28, 1}},
         "",
         "/units/0/rapid_recovery",
         1},
        {"write DPO ignore",
         Route::Level36,
         On::Unit,
         Set(SetWriteDpoPolicy, uint8_t{0}),
         {{kSet, kUnit2, 27, 1}},
         "",
         "/units/0/write_dpo",
         0},
    };
}

bool Serves(Route route, int family, int level) {
    const bool newer = family == 4 || family == 6 || family == 7 || family == 8;
    const bool from6 = family == 6 || family == 7 || family == 8;
    switch (route) {
        case Route::Both:
        case Route::Newer:
            return newer;
        case Route::From6:
            return from6;
        case Route::Only4:
            return family == 4;
        case Route::Level36:
            return from6 && level >= 36;
        case Route::Level37:
            return (family == 7 || family == 8) && level >= 37;
        default:
            return false;
    }
}

// A family the level route admits, refused only for its level: the level
// read is all it sends.
bool RefusedByLevel(Route route, int family) {
    return (route == Route::Level36 && (family == 6 || family == 7 || family == 8)) ||
           (route == Route::Level37 && (family == 7 || family == 8));
}

// An API error no operation here records.
constexpr uint32_t kMarkerCode = 122;

class RhoskEmulatedAccessors : public RhoskEmulatedTest {
  protected:
    void Check(const Row& row, int family, int level, emulator::EmulatedHost& host) {
        SCOPED_TRACE(row.name);
        ClearTraffic();
        // A marker that an unclassified controller must leave in place.
        (void)ApiError::Fail(kMarkerCode);
        ApiErrorRecord before;
        ApiError::Get(&before, nullptr, 0);

        std::string output;
        const int result = row.call(IdOf(row.on), &output);
        const std::vector<Access> traffic = ParamTraffic();

        if (family == -1) {
            EXPECT_EQ(result, -1);
            ApiErrorRecord after;
            ApiError::Get(&after, nullptr, 0);
            EXPECT_STREQ(after.message, before.message) << "the record must stay untouched";
            EXPECT_TRUE(Requests().empty());
            return;
        }
        if (!Serves(row.route, family, level)) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(LastApiCode(), static_cast<uint32_t>(kApiNotSupported)) << LastMessage();
            const std::vector<Access> levelRead = {{kGet, kInfo, 11, 4}};
            EXPECT_EQ(traffic.size(), RefusedByLevel(row.route, family) ? 1u : 0u);
            if (RefusedByLevel(row.route, family) && !traffic.empty()) {
                EXPECT_EQ(Describe(traffic[0]), Describe(levelRead[0]));
            }
            return;
        }

        EXPECT_EQ(result, 0) << LastMessage();
        std::vector<Access> sends = row.sends;
        std::string expected = row.output;
        if (level < row.belowLevel) {
            sends.back() = row.alt;
            expected = row.altOutput;
        }
        for (const Access& a : sends) {
            bool sent = false;
            for (const Access& t : traffic)
                sent = sent || t == a;
            EXPECT_TRUE(sent) << "not sent: " << Describe(a);
        }
        for (const Access& t : traffic) {
            if (t.opcode != kSet)
                continue;
            bool meant = false;
            for (const Access& a : sends)
                meant = meant || a == t;
            EXPECT_TRUE(meant) << "unexpected write: " << Describe(t);
        }
        if (!expected.empty()) {
            EXPECT_EQ(output, expected);
        }
        if (row.statePath != nullptr) {
            EXPECT_EQ(HostController(host).value(json::json_pointer(row.statePath), json()),
                      row.stateValue);
        }
        const std::vector<json> log = Log();
        EXPECT_TRUE(integration::OpensAreClosed(log));
        EXPECT_TRUE(integration::LocksAreReleased(log));
    }
};

TEST_F(RhoskEmulatedAccessors, EachOperationReachesItsParameterWhereItsRouteServes) {
    struct Grid {
        int family;
        int level;
    };
    std::vector<Grid> grid;
    for (int family : {4, 6, 7, 8}) {
        for (int level : {32, 35, 36, 37})
            grid.push_back({family, level});
    }
    // The older family and an unclassified controller: only the routes
    // matter, not the level.
    grid.push_back({3, 37});
    grid.push_back({-1, 37});

    const std::vector<Row> reads = Reads();
    const std::vector<Row> writes = Writes();
    for (const Grid& g : grid) {
        SCOPED_TRACE("family " + std::to_string(g.family) + " level " + std::to_string(g.level));
        ResetLibrary();
        json ctl = FamilyController(g.family, g.level, Population());
        emulator::EmulatedHost& host = Start(json::array({ctl}));
        for (const std::vector<Row>* rows : {&reads, &writes}) {
            for (const Row& row : *rows) {
                // The older family's own operations are not part of this
                // back end; only the refusals of the newer-only routes are.
                if (g.family == 3 && row.route == Route::Both)
                    continue;
                Check(row, g.family, g.level, host);
            }
        }
    }
}

}  // namespace
}  // namespace rhosk_emulated::rhosk_emulated_accessors_test
