// The catalogue of the newer family's controller parameter tables: every
// table id and every parameter the back end reads or writes, with the size
// in bytes that travels in the parameter header. Tables that exist once per
// object (phy, port, drive, unit, schedule slot) carry the object number in
// the low bits of the table id.
//
// The older family uses the same table and parameter numbering with its own,
// shorter sizes (api/prane/prane_family.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace rhosk_tables {

// --- Table ids ---
constexpr uint16_t kPhySummaryTable = 0x0001;
constexpr uint16_t kPortSummaryTable = 0x0002;
constexpr uint16_t kUnitSummaryTable = 0x0003;
constexpr uint16_t kEnclosureDiscoveryTable = 0x0008;
constexpr uint16_t kDrivePerfTable = 0x0009;
constexpr uint16_t kTuningTable = 0x000A;
constexpr uint16_t kPhyTableBase = 0x0080;         // + phy (id byte 2)
constexpr uint16_t kDriveStatsTableBase = 0x0100;  // + port (id byte 2)
constexpr uint16_t kDriveTableBase = 0x0200;       // + port (id byte 2)
constexpr uint16_t kUnitTableBase = 0x0300;        // + unit (id byte 4)
constexpr uint16_t kControllerInfoTable = 0x0402;
constexpr uint16_t kControllerSettingsTable = 0x0403;
constexpr uint16_t kEventCaptureTable = 0x0407;
constexpr uint16_t kBbuTable = 0x8006;
constexpr uint16_t kBackgroundTaskTable = 0x840C;
constexpr uint16_t kScheduleSlotTableBase = 0x8410;  // + slot index 0-6

// Every table id travels with bit 15 set.
constexpr uint16_t kTableIdFlag = 0x8000;

constexpr uint16_t PhyTable(uint8_t phy) {
    return kPhyTableBase + phy;
}
constexpr uint16_t DriveStatsTable(uint8_t port) {
    return kDriveStatsTableBase + port;
}
constexpr uint16_t DriveTable(uint8_t port) {
    return kDriveTableBase + port;
}
constexpr uint16_t UnitTable(uint8_t unit) {
    return kUnitTableBase + unit;
}
constexpr uint16_t ScheduleSlotTable(uint8_t slot) {
    return kScheduleSlotTableBase + slot;
}

// Number of objects of each object table.
constexpr uint16_t kPhyTableObjects = 128;
constexpr uint16_t kPortTableObjects = 128;
constexpr uint16_t kUnitTableObjects = 32;
constexpr uint16_t kScheduleSlotTableObjects = 7;

// A parameter whose size is not fixed by the catalogue (lists and logs whose
// length the controller or another parameter gives).
constexpr int32_t kVariableSize = 0;

// One parameter of the catalogue. `table` is the table id, or the base id
// of an object table.
struct ParamSpec {
    uint16_t table;
    uint16_t number;
    int32_t size;
    const char* name;
};

// Parameters the transport's discovery and family detection read.
constexpr ParamSpec kControllerSerial{kControllerInfoTable, 9, 20, "serial number"};
constexpr ParamSpec kControllerModelCode{kControllerInfoTable, 14, 4, "architecture code"};
constexpr ParamSpec kFirmwareCompatLevel{kControllerInfoTable, 11, 4,
                                         "firmware compatibility level"};
constexpr ParamSpec kHostBusBits{kControllerSettingsTable, 26, 4, "host bus bits"};

// The whole catalogue, in table order.
const ParamSpec* Catalogue(size_t* count);

// The base id of the table that `tableId` belongs to (object tables map to
// their base); 0 when the id names no catalogued table.
uint16_t TableBase(uint16_t tableId);

// The catalogued size of parameter `number` of table `tableId` (object
// table ids accepted); -1 when the parameter is not catalogued, and
// kVariableSize for a parameter of variable size.
int32_t ParamSize(uint16_t tableId, uint16_t number);

}  // namespace rhosk_tables
