#include "api/rhosk/param_tables.h"

namespace rhosk_tables {
namespace {

constexpr int32_t V = kVariableSize;

constexpr ParamSpec kCatalogue[] = {
    {kPhySummaryTable, 2, 1, "number of phys"},

    {kPortSummaryTable, 2, 2, "number of drives"},
    {kPortSummaryTable, 3, 128, "drive status per port"},

    {kUnitSummaryTable, 3, 32, "unit present per unit number"},

    {kEnclosureDiscoveryTable, 2, 1, "enclosure protocol"},
    {kEnclosureDiscoveryTable, 4, 32, "SES mode per port"},

    {kDrivePerfTable, 2, 2, "controller pending I/O count"},
    {kDrivePerfTable, 3, 512, "pending I/O counts"},
    {kDrivePerfTable, 4, 1, "monitor state"},
    {kDrivePerfTable, 5, 28, "monitor configuration"},

    {kTuningTable, 5, 1, "LBA reordering"},

    {kPhyTableBase, 2, 1, "link speed supported"},
    {kPhyTableBase, 3, 1, "link speed"},
    {kPhyTableBase, 4, 1, "link speed control"},
    {kPhyTableBase, 5, 1, "phy device type"},
    {kPhyTableBase, 6, 8, "SAS address"},

    {kDriveStatsTableBase, 2, V, "command sample list"},
    {kDriveStatsTableBase, 3, 168, "running average and histogram"},
    {kDriveStatsTableBase, 4, 168, "running average and histogram on disk"},
    {kDriveStatsTableBase, 5, V, "long command records"},
    {kDriveStatsTableBase, 6, V, "long command records on disk"},
    {kDriveStatsTableBase, 7, 4, "sectors read"},
    {kDriveStatsTableBase, 8, 4, "sectors written"},
    {kDriveStatsTableBase, 9, 4, "sectors written with FUA"},
    {kDriveStatsTableBase, 10, 4, "read commands"},
    {kDriveStatsTableBase, 11, 4, "write commands"},
    {kDriveStatsTableBase, 12, 4, "write FUA commands"},
    {kDriveStatsTableBase, 13, 4, "flush commands"},

    {kDriveTableBase, 2, 4, "capacity (below level 33)"},
    {kDriveTableBase, 3, 40, "model"},
    {kDriveTableBase, 4, 20, "serial number"},
    {kDriveTableBase, 11, 1, "unit number"},
    {kDriveTableBase, 12, 1, "drive unit flags"},
    {kDriveTableBase, 14, 8, "firmware version"},
    {kDriveTableBase, 15, 1, "queuing supported"},
    {kDriveTableBase, 16, 1, "queuing enabled"},
    {kDriveTableBase, 17, 1, "link speed supported"},
    {kDriveTableBase, 18, 1, "link speed"},
    {kDriveTableBase, 19, 2, "reallocated sectors"},
    {kDriveTableBase, 20, 2, "power-on hours"},
    {kDriveTableBase, 22, 2, "temperature"},
    {kDriveTableBase, 23, 8, "capacity (level 33 and above)"},
    {kDriveTableBase, 24, 1, "interface type"},
    {kDriveTableBase, 25, 1, "number of drive ports"},
    {kDriveTableBase, 26, 1, "number of connections"},
    {kDriveTableBase, 27, 8, "world wide name"},
    {kDriveTableBase, 30, 1, "enclosure mapping"},
    {kDriveTableBase, 31, 1, "slot mapping"},
    {kDriveTableBase, 32, 1, "phy mapping"},
    {kDriveTableBase, 33, 2, "spindle speed"},

    {kUnitTableBase, 3, 1, "unit flags"},
    {kUnitTableBase, 9, 2, "number of unit descriptors"},
    {kUnitTableBase, 10, 1, "unit descriptor size"},
    {kUnitTableBase, 11, V, "unit descriptors"},
    {kUnitTableBase, 12, 8, "capacity"},
    {kUnitTableBase, 13, 1, "cache bits"},
    {kUnitTableBase, 14, 1, "auto-verify"},
    {kUnitTableBase, 15, 1, "ECC policy"},
    {kUnitTableBase, 16, 1, "number of volumes"},
    {kUnitTableBase, 17, 21, "unit name"},
    {kUnitTableBase, 18, 20, "unit serial number"},
    {kUnitTableBase, 19, 8, "migration second half capacity"},
    {kUnitTableBase, 20, 1, "command queuing"},
    {kUnitTableBase, 21, 1, "protection parameter 21"},
    {kUnitTableBase, 22, 2, "protection parameter 22"},
    {kUnitTableBase, 23, 2, "protection parameter 23"},
    {kUnitTableBase, 24, 2, "volume table prefix"},
    {kUnitTableBase, 25, V, "volume table"},
    {kUnitTableBase, 27, 1, "write DPO policy"},
    {kUnitTableBase, 28, 1, "rapid RAID recovery"},
    {kUnitTableBase, 29, 1, "read cache bits"},

    {kControllerInfoTable, 2, 16, "boot loader version"},
    {kControllerInfoTable, 3, 16, "firmware version"},
    {kControllerInfoTable, 4, 16, "BIOS version"},
    {kControllerInfoTable, 5, 8, "PCB version"},
    {kControllerInfoTable, 6, 8, "ACHIP version"},
    {kControllerInfoTable, 7, 8, "PCHIP version"},
    {kControllerInfoTable, 8, 16, "model"},
    {kControllerInfoTable, 9, 20, "serial number"},
    {kControllerInfoTable, 10, 4, "available memory"},
    {kControllerInfoTable, 11, 4, "firmware compatibility level"},
    {kControllerInfoTable, 14, 4, "architecture code"},
    {kControllerInfoTable, 20, 4, "firmware SRL"},
    {kControllerInfoTable, 21, 8, "feature flags"},

    {kControllerSettingsTable, 3, 1, "number of ports"},
    {kControllerSettingsTable, 7, 1, "spin-ups allowed"},
    {kControllerSettingsTable, 8, 1, "stagger time"},
    {kControllerSettingsTable, 10, 1, "AV mode"},
    {kControllerSettingsTable, 13, V, "error log"},
    {kControllerSettingsTable, 14, V, "log"},
    {kControllerSettingsTable, 15, 2, "log size"},
    {kControllerSettingsTable, 17, 1, "export JBOD policy"},
    {kControllerSettingsTable, 18, 1, "on-degrade policy"},
    {kControllerSettingsTable, 21, 8, "drive coercion factor"},
    {kControllerSettingsTable, 22, 1, "ignore FUA write"},
    {kControllerSettingsTable, 23, 1, "force drive cache on"},
    {kControllerSettingsTable, 24, 1, "multi-LUN policy"},
    {kControllerSettingsTable, 26, 4, "host bus bits"},
    {kControllerSettingsTable, 28, 1, "auto-rebuild policy"},
    {kControllerSettingsTable, 29, 8, "LUN size"},
    {kControllerSettingsTable, 37, 1, "SATA enclosure link speed limit"},
    {kControllerSettingsTable, 38, 1, "SAS enclosure link speed limit"},
    {kControllerSettingsTable, 39, 2, "maximum units"},
    {kControllerSettingsTable, 40, 2, "maximum drives per unit"},
    {kControllerSettingsTable, 41, 2, "maximum active units"},
    {kControllerSettingsTable, 52, 1, "mode page control"},

    {kEventCaptureTable, 3, 4, "capture parameter 3"},
    {kEventCaptureTable, 4, 4, "capture parameter 4"},
    {kEventCaptureTable, 5, 4, "capture parameter 5"},
    {kEventCaptureTable, 6, 32832, "capture segment"},
    {kEventCaptureTable, 7, 4, "capture event count"},
    {kEventCaptureTable, 8, 4, "capture mode"},
    {kEventCaptureTable, 9, 4, "capture parameter 9"},
    {kEventCaptureTable, 10, 4, "capture parameter 10"},
    {kEventCaptureTable, 11, 4, "capture parameter 11"},
    {kEventCaptureTable, 12, 4, "capture parameter 12"},

    {kBbuTable, 2, 4, "status word"},
    {kBbuTable, 3, 20, "serial number"},
    {kBbuTable, 4, 16, "firmware version"},
    {kBbuTable, 5, 16, "boot loader version"},
    {kBbuTable, 6, 1, "PCB revision"},
    {kBbuTable, 7, 32, "information text"},
    {kBbuTable, 8, 12, "battery installation date"},
    {kBbuTable, 9, 12, "last capacity test date"},
    {kBbuTable, 10, 1, "estimated backup capacity"},
    {kBbuTable, 64, 1, "BBU enabled"},
    {kBbuTable, 65, 1, "BBU status"},

    {kBackgroundTaskTable, 3, 1, "rebuild schedule mode"},
    {kBackgroundTaskTable, 4, 1, "verify schedule mode"},
    {kBackgroundTaskTable, 5, 1, "rebuild rate"},
    {kBackgroundTaskTable, 6, 1, "verify rate"},
    {kBackgroundTaskTable, 9, 2, "selftest flags"},
    {kBackgroundTaskTable, 11, 2, "basic verify preferred start"},
    {kBackgroundTaskTable, 13, 1, "rebuild mode"},
    {kBackgroundTaskTable, 14, 1, "verify mode"},

    {kScheduleSlotTableBase, 2, 2, "selftest start"},
    {kScheduleSlotTableBase, 3, 4, "rebuild start and duration"},
    {kScheduleSlotTableBase, 4, 4, "verify start and duration"},
};

}  // namespace

const ParamSpec* Catalogue(size_t* count) {
    if (count != nullptr)
        *count = sizeof kCatalogue / sizeof kCatalogue[0];
    return kCatalogue;
}

uint16_t TableBase(uint16_t tableId) {
    struct ObjectTable {
        uint16_t base;
        uint16_t objects;
    };
    static constexpr ObjectTable kObjectTables[] = {
        {kPhyTableBase, kPhyTableObjects},
        {kDriveStatsTableBase, kPortTableObjects},
        {kDriveTableBase, kPortTableObjects},
        {kUnitTableBase, kUnitTableObjects},
        {kScheduleSlotTableBase, kScheduleSlotTableObjects},
    };
    for (const auto& t : kObjectTables) {
        if (tableId >= t.base && tableId - t.base < t.objects)
            return t.base;
    }
    for (const auto& p : kCatalogue) {
        if (p.table == tableId)
            return tableId;
    }
    return 0;
}

int32_t ParamSize(uint16_t tableId, uint16_t number) {
    const uint16_t base = TableBase(tableId);
    if (base == 0)
        return -1;
    for (const auto& p : kCatalogue) {
        if (p.table == base && p.number == number)
            return p.size;
    }
    return -1;
}

}  // namespace rhosk_tables
