// The dispatcher entries of unit maintenance that do more than follow their
// route. The older family's side goes to PraneFamily, the newer family's to
// RhoskFamily; removal and rebuild are built here from the family's export,
// drive removal, ECC policy and rebuild steps.
#include "api/api.h"
#include "api/api_error.h"
#include "api/device_io.h"
#include "api/dispatch.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {
namespace {

constexpr uint8_t kDeleteMode = 0x80;
constexpr uint8_t kExportMode = 0x40;       // the newer family's export
constexpr uint8_t kOlderExportMode = 0x00;  // the older family's export
constexpr uint32_t kApiUnitIsRebuilding = 50;
constexpr uint32_t kApiNoDrivesSpecified = 36;

// The older-only route: every newer controller records API error 2.
template <typename OlderOp>
int32_t OlderOnly(ObjectId id, OlderOp older) {
    return Follow(Paths::OlderOnly, id, older, [] { return NotSupported(); });
}

// One drive of a rebuild. The older family takes the replacement as the
// first entry of a drive list and the ignore-ECC flag with it; the newer
// family sets the ECC policy, then starts the rebuild.
int32_t RebuildOnto(ObjectId unit, ObjectId drive, uint8_t ignoreEcc) {
    return Follow(
        Paths::Both, unit,
        [&] {
            ObjectIdList128 replacement;
            replacement.clear();
            (void)replacement.add(drive);
            return PraneFamily::RebuildUnit(unit, &replacement, ignoreEcc);
        },
        [&] {
            if (RhoskFamily::SetEccPolicy(unit, ignoreEcc) != 0)
                return -1;
            return RhoskFamily::RebuildUnit(unit, &drive);
        });
}

}  // namespace

int32_t DeleteUnit(ObjectId id, uint8_t makeOsAware) {
    return Follow(
        Paths::Both, id, [&] { return PraneFamily::DeleteUnit(id, makeOsAware, kDeleteMode); },
        [&] { return RhoskFamily::DeleteUnit(id, makeOsAware, kDeleteMode); });
}

int32_t ExportUnit(ObjectId id, uint8_t makeOsAware) {
    return Follow(
        Paths::Both, id, [&] { return PraneFamily::DeleteUnit(id, makeOsAware, kOlderExportMode); },
        [&] { return RhoskFamily::DeleteUnit(id, makeOsAware, kExportMode); });
}

int32_t RemoveUnit(ObjectId id, uint8_t makeOsAware) {
    if (DeviceIo::GetControllerFamily(id) == kFamilyUnknown)
        return -1;
    ObjectIdList128 drives;
    drives.clear();
    if (GetUnitDriveList(id, &drives) != 0)
        return -1;
    if (ExportUnit(id, makeOsAware) != 0)
        return -1;
    int32_t result = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        uint8_t controller = 0;
        uint8_t port = 0;
        if (Api::ParseDriveId(drives.ids[i], &controller, &port) != 0)
            return -1;
        if (port == ObjectId::kNone)
            continue;
        if (RemoveDrive(drives.ids[i]) != 0)
            result = -1;  // the other drives are still removed
    }
    return result;
}

int32_t RebuildUnit(ObjectId id, const ObjectIdList128* drives, uint8_t ignoreEcc) {
    if (drives == nullptr || drives->size() == 0)
        return -1;
    ObjectIdList128 started;
    started.clear();
    for (std::size_t i = 0; i < drives->size(); ++i) {
        if (RebuildOnto(id, drives->ids[i], ignoreEcc) == 0) {
            (void)started.add(drives->ids[i]);
            continue;
        }
        ApiErrorRecord record;
        (void)Api::GetLastErrorRecord(&record);
        if ((record.flags & kApiErrorApi) != 0 && record.apiCode == kApiUnitIsRebuilding &&
            started.size() > 0) {
            return 0;  // the unit already rebuilds onto the drives started
        }
        // Give the drives already started back as plain drives; the
        // failure's own error is the one reported.
        const ApiError::RecordKeeper keeper;
        for (std::size_t s = 0; s < started.size(); ++s) {
            ObjectId again = ObjectId::Blank();
            (void)RemoveDrive(started.ids[s]);
            (void)AddDrive(started.ids[s], &again);
        }
        return -1;
    }
    return 0;
}

int32_t CommitTransactions(ObjectId id) {
    return Follow(
        Paths::Both, id, [&] { return PraneFamily::CommitTransactions(id.controllerId()); },
        [&] { return RhoskFamily::CommitTransactions(id.controllerId()); });
}

int32_t StartMediaScan(ObjectId id) {
    return OlderOnly(id, [&] { return PraneFamily::StartMediaScan(id.controllerId()); });
}

int32_t StopMediaScan(ObjectId id) {
    return OlderOnly(id, [&] { return PraneFamily::StopMediaScan(id.controllerId()); });
}

int32_t ImportUnit(ObjectIdList128* drives, uint8_t makeOsAware, ObjectIdList128* newUnits) {
    if (drives == nullptr || drives->count == 0)
        return ApiError::Fail(kApiNoDrivesSpecified);
    const ObjectId controller = drives->ids[0].controllerId();
    return Follow(
        Paths::Both, controller,
        [&] {
            ObjectIdList128 found;
            ObjectIdList128* units = newUnits != nullptr ? newUnits : &found;
            return PraneFamily::ImportUnit(drives, makeOsAware, units);
        },
        [&] { return RhoskFamily::ImportUnit(drives, makeOsAware, newUnits); });
}

}  // namespace Dispatch
