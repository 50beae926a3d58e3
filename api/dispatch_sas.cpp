// The dispatcher entries of the SAS operations: phys, link speeds, the
// drive world wide name, the port/phy identifiers and the controller
// limits of the port-count route.
#include "api/api_error.h"
#include "api/device_io.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/sas_family.h"

namespace Dispatch {
namespace {

// A phy entry: kind 14 first (API error 120), then the route.
template <typename NewerOp>
int32_t PhyCall(Route route, ObjectId id, NewerOp newer) {
    if (id.kind() != kKindPhy)
        return ApiError::Fail(kApiInvalidPhyId);
    return CallNewer(route, id, newer);
}

// Route "port count": the number of ports, as GetNumPorts routes it, except
// on family 8, whose own limit `limit` reads.
template <typename LimitOp>
int32_t PortCount(ObjectId id, uint32_t* count, LimitOp limit) {
    if (DeviceIo::GetControllerFamily(id) == kFamilyVantor)
        return limit();
    return GetNumPorts(id, count);
}

// The port/phy conversions: route "SAS phys"; family 7 keeps the number and
// turns byte 0 into `otherKind`, family 8 asks the controller.
template <typename SasOp>
int32_t Convert(ObjectId id, ObjectId* out, uint8_t otherKind, SasOp sas) {
    return CallNewer(Route::SasPhys, id, [&] {
        if (DeviceIo::GetControllerFamily(id) == kFamilyTevrin) {
            ObjectId mapped = id;
            mapped[ObjectId::kKind] = otherKind;
            *out = mapped;
            return 0;
        }
        return sas();
    });
}

}  // namespace

int32_t GetNumPhys(ObjectId id, uint32_t* count) {
    return CallNewer(Route::SasPhys, id, [&] { return SasFamily::GetNumPhys(id, count); });
}
int32_t GetSataEnclosureLinkSpeedLimit(ObjectId id, uint8_t* speed) {
    return CallNewer(Route::Only8, id,
                     [&] { return SasFamily::GetSataEnclosureLinkSpeedLimit(id, speed); });
}
int32_t GetSasEnclosureLinkSpeedLimit(ObjectId id, uint8_t* speed) {
    return CallNewer(Route::Only8, id,
                     [&] { return SasFamily::GetSasEnclosureLinkSpeedLimit(id, speed); });
}
int32_t GetPhySasAddress(ObjectId id, uint8_t* address) {
    return PhyCall(Route::Only8, id, [&] { return SasFamily::GetPhySasAddress(id, address); });
}
int32_t GetPhyDeviceType(ObjectId id, uint8_t* type) {
    return PhyCall(Route::From6, id, [&] { return RhoskFamily::GetPhyDeviceType(id, type); });
}
int32_t GetPhyLinkSpeedSupported(ObjectId id, uint8_t* speed) {
    return PhyCall(Route::SasPhys, id,
                   [&] { return SasFamily::GetPhyLinkSpeedSupported(id, speed); });
}
int32_t GetPhyLinkSpeed(ObjectId id, uint8_t* speed) {
    return PhyCall(Route::SasPhys, id, [&] { return SasFamily::GetPhyLinkSpeed(id, speed); });
}
int32_t GetPhyLinkSpeedControl(ObjectId id, uint8_t* speed) {
    return PhyCall(Route::SasPhys, id,
                   [&] { return SasFamily::GetPhyLinkSpeedControl(id, speed); });
}
int32_t SetPhyLinkSpeedControl(ObjectId id, uint8_t speed) {
    return PhyCall(Route::SasPhys, id,
                   [&] { return SasFamily::SetPhyLinkSpeedControl(id, speed); });
}
int32_t GetDriveWwn(ObjectId id, uint8_t* wwn) {
    return CallNewer(Route::Only8, id, [&] { return SasFamily::GetDriveWwn(id, wwn); });
}
int32_t GetPortPhyId(ObjectId id, ObjectId* phy) {
    return Convert(id, phy, kKindPhy, [&] { return SasFamily::GetPortPhyId(id, phy); });
}
int32_t GetPhyPortId(ObjectId id, ObjectId* port) {
    if (id.kind() != kKindPhy)
        return ApiError::Fail(kApiInvalidPhyId);
    return Convert(id, port, kKindDrive, [&] { return SasFamily::GetPhyPortId(id, port); });
}

int32_t GetMaxUnitCount(ObjectId id, uint32_t* count) {
    return PortCount(id, count, [&] { return SasFamily::GetMaxUnitCount(id, count); });
}
int32_t GetMaxActiveUnitCount(ObjectId id, uint32_t* count) {
    return PortCount(id, count, [&] { return SasFamily::GetMaxActiveUnitCount(id, count); });
}
int32_t GetMaxDrivesPerUnit(ObjectId id, uint32_t* count) {
    return PortCount(id, count, [&] { return SasFamily::GetMaxDrivesPerUnit(id, count); });
}

}  // namespace Dispatch
