// The public battery backup unit operations: each routes to the newer
// family's battery operations; the older family has none.
#include "api/api.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_family.h"

namespace Api {
namespace {

template <typename NewerOp>
int Newer(ObjectId id, NewerOp newer) {
    return Dispatch::CallNewer(Dispatch::Route::Newer, id, newer);
}

}  // namespace

int IsBbuPresent(ObjectId id, uint32_t* present) {
    return Newer(id, [&] { return RhoskFamily::IsBbuPresent(id, present); });
}
int IsBbuEnabled(ObjectId id, uint32_t* enabled) {
    return Newer(id, [&] { return RhoskFamily::IsBbuEnabled(id, enabled); });
}
int IsBatteryPresent(ObjectId id, uint32_t* present) {
    return Newer(id, [&] { return RhoskFamily::IsBatteryPresent(id, present); });
}
int GetBbuReady(ObjectId id, uint32_t* ready) {
    return Newer(id, [&] { return RhoskFamily::GetBbuReady(id, ready); });
}
int GetBatteryVoltageStatus(ObjectId id, int32_t* level) {
    return Newer(id, [&] { return RhoskFamily::GetBatteryVoltageStatus(id, level); });
}
int GetBatteryTemperatureStatus(ObjectId id, int32_t* level) {
    return Newer(id, [&] { return RhoskFamily::GetBatteryTemperatureStatus(id, level); });
}
int GetBbuStatus(ObjectId id, int32_t* status) {
    return Newer(id, [&] { return RhoskFamily::GetBbuStatus(id, status); });
}
int GetBbuStatusWord(ObjectId id, uint32_t* word) {
    return Newer(id, [&] { return RhoskFamily::GetBbuStatusWord(id, word); });
}
int GetBbuSerial(ObjectId id, char* text) {
    return Newer(id, [&] { return RhoskFamily::GetBbuSerial(id, text); });
}
int GetBbuFirmwareVersion(ObjectId id, char* text) {
    return Newer(id, [&] { return RhoskFamily::GetBbuFirmwareVersion(id, text); });
}
int GetBbuBootloaderVersion(ObjectId id, char* text) {
    return Newer(id, [&] { return RhoskFamily::GetBbuBootloaderVersion(id, text); });
}
int GetBbuPcbRevision(ObjectId id, uint32_t* revision) {
    return Newer(id, [&] { return RhoskFamily::GetBbuPcbRevision(id, revision); });
}
int GetBbuInfoText(ObjectId id, char* text) {
    return Newer(id, [&] { return RhoskFamily::GetBbuInfoText(id, text); });
}
int GetBatteryInstallDate(ObjectId id, char* text) {
    return Newer(id, [&] { return RhoskFamily::GetBatteryInstallDate(id, text); });
}
int GetLastCapacityTestDate(ObjectId id, char* text) {
    return Newer(id, [&] { return RhoskFamily::GetLastCapacityTestDate(id, text); });
}
int GetEstimatedBackupCapacity(ObjectId id, uint32_t* hours) {
    return Newer(id, [&] { return RhoskFamily::GetEstimatedBackupCapacity(id, hours); });
}
int InitializeBbu(ObjectId) {
    return 0;
}
int StartBbuBatteryTest(ObjectId id) {
    return Newer(id, [&] { return RhoskFamily::StartBbuBatteryTest(id); });
}
int EnableBbu(ObjectId id) {
    return Newer(id, [&] { return RhoskFamily::EnableBbu(id); });
}
int DisableBbu(ObjectId id) {
    return Newer(id, [&] { return RhoskFamily::DisableBbu(id); });
}

}  // namespace Api
