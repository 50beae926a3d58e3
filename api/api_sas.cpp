// The public SAS operations: phys, their link speeds and the port/phy
// identifiers, the drive world wide name and the enclosure link speed
// limits. Each passes its arguments to the dispatcher entry of its name.
#include "api/api.h"
#include "api/dispatch.h"
#include "api/rhosk/sas_family.h"

static_assert(kWorldWideNameSize == SasFamily::kNameSize, "one size for SAS names");

namespace Api {

int GetNumPhys(ObjectId id, uint32_t* count) {
    return Dispatch::GetNumPhys(id, count);
}
int GetSataEnclosureLinkSpeedLimit(ObjectId id, uint8_t* speed) {
    return Dispatch::GetSataEnclosureLinkSpeedLimit(id, speed);
}
int GetSasEnclosureLinkSpeedLimit(ObjectId id, uint8_t* speed) {
    return Dispatch::GetSasEnclosureLinkSpeedLimit(id, speed);
}
int GetPhySasAddress(ObjectId id, uint8_t* address) {
    return Dispatch::GetPhySasAddress(id, address);
}
int GetPhyDeviceType(ObjectId id, uint8_t* type) {
    return Dispatch::GetPhyDeviceType(id, type);
}
int GetPhyLinkSpeedSupported(ObjectId id, uint8_t* speed) {
    return Dispatch::GetPhyLinkSpeedSupported(id, speed);
}
int GetPhyLinkSpeed(ObjectId id, uint8_t* speed) {
    return Dispatch::GetPhyLinkSpeed(id, speed);
}
int GetPhyLinkSpeedControl(ObjectId id, uint8_t* speed) {
    return Dispatch::GetPhyLinkSpeedControl(id, speed);
}
int SetPhyLinkSpeedControl(ObjectId id, uint8_t speed) {
    return Dispatch::SetPhyLinkSpeedControl(id, speed);
}
int GetDriveWwn(ObjectId id, uint8_t* wwn) {
    return Dispatch::GetDriveWwn(id, wwn);
}
int GetPortPhyId(ObjectId id, ObjectId* phy) {
    return Dispatch::GetPortPhyId(id, phy);
}
int GetPhyPortId(ObjectId id, ObjectId* port) {
    return Dispatch::GetPhyPortId(id, port);
}

}  // namespace Api
