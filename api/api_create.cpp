// The public operations of unit creation and migration.
#include "api/api.h"
#include "api/dispatch.h"

namespace Api {

int CreateUnit(const ObjectIdList128* drives, uint32_t type, uint32_t stripe, uint8_t makeOsAware,
               ObjectId* unit) {
    return Dispatch::CreateUnit(drives, type, stripe, makeOsAware, unit, 0);
}

int CreateUnitWithGroup(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                        uint8_t makeOsAware, ObjectId* unit, uint32_t drivesPerSubunit) {
    return Dispatch::CreateUnit(drives, type, stripe, makeOsAware, unit, drivesPerSubunit);
}

int CreateUnitWithVolumes(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                          uint8_t makeOsAware, ObjectId* unit, const uint64_t* volumeSizes,
                          uint32_t volumeCount) {
    return Dispatch::CreateUnitWithVolumes(drives, type, stripe, makeOsAware, unit, 0, volumeSizes,
                                           volumeCount);
}

int CreateUnitWithGroupAndVolumes(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                                  uint8_t makeOsAware, ObjectId* unit, uint32_t drivesPerSubunit,
                                  const uint64_t* volumeSizes, uint32_t volumeCount) {
    return Dispatch::CreateUnitWithVolumes(drives, type, stripe, makeOsAware, unit,
                                           drivesPerSubunit, volumeSizes, volumeCount);
}

int StartMigrateUnit(ObjectId unit, const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                     uint8_t makeOsAware, uint32_t drivesPerSubunit) {
    return Dispatch::StartMigrateUnit(unit, drives, type, stripe, makeOsAware, drivesPerSubunit);
}

}  // namespace Api
