// The dispatcher entries of the SAS operations that do more than follow
// their route: the port/phy identifiers and the controller limits of the
// port-count route.
#include "api/api.h"
#include "api/device_io.h"
#include "api/dispatch.h"
#include "api/rhosk/sas_family.h"

static_assert(kWorldWideNameSize == SasFamily::kNameSize, "one size for SAS names");

namespace Dispatch {
namespace {

// Route "port count": the number of ports, as GetNumPorts routes it, except
// on family 8, whose own limit `limit` reads.
template <typename LimitOp>
int32_t PortCount(ObjectId id, uint32_t* count, LimitOp limit) {
    if (DeviceIo::GetControllerFamily(id) == kFamilyVantor)
        return limit();
    return GetNumPorts(id, count);
}

// The port/phy conversions: route "SAS phys" (after the phy's kind on
// `path`); family 7 keeps the number and turns byte 0 into `otherKind`,
// family 8 asks the controller.
template <typename SasOp>
int32_t Convert(const Path& path, ObjectId id, ObjectId* out, uint8_t otherKind, SasOp sas) {
    return FollowNewer(path, id, [&] {
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

int32_t GetPortPhyId(ObjectId id, ObjectId* phy) {
    return Convert(Paths::SasPhys, id, phy, kKindPhy,
                   [&] { return SasFamily::GetPortPhyId(id, phy); });
}
int32_t GetPhyPortId(ObjectId id, ObjectId* port) {
    return Convert(Paths::PhySasPhys, id, port, kKindDrive,
                   [&] { return SasFamily::GetPhyPortId(id, port); });
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
