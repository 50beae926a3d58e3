// The records that the controller operations (api/operations/*.def) pass
// by address, declared for the signatures of every layer that lists them:
// the events' and the firmware examination's records are defined in
// api/api.h, the schedule and I/O statistics in api/rhosk/rhosk_codes.h,
// the drive performance monitor's in api/dpm_records.h.
#pragma once

struct AenRecord;
struct FirmwareCompatRecord;
struct WeeklySchedule;
struct IoStatTable;
struct DpmConfig;
struct DpmStats;
struct DpmHistogram;
struct DpmLongCommand;
struct DpmExtendedStats;
