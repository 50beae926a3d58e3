// The public battery backup unit operations: each routes to the newer
// family's battery operations; the older family has none.
#include "api/api.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_bbu.h"

namespace Api {
namespace {

template <typename NewerOp>
int Newer(ObjectId id, NewerOp newer) {
    return Dispatch::CallNewer(Dispatch::Route::Newer, id, newer);
}

}  // namespace

int IsBbuPresent(ObjectId id, uint32_t* present) {
    return Newer(id, [&] { return rhosk_bbu::IsBbuPresent(id, present); });
}
int IsBbuEnabled(ObjectId id, uint32_t* enabled) {
    return Newer(id, [&] { return rhosk_bbu::IsBbuEnabled(id, enabled); });
}
int IsBatteryPresent(ObjectId id, uint32_t* present) {
    return Newer(id, [&] { return rhosk_bbu::IsBatteryPresent(id, present); });
}
int GetBbuReady(ObjectId id, uint32_t* ready) {
    return Newer(id, [&] { return rhosk_bbu::GetBbuReady(id, ready); });
}
int GetBatteryVoltageStatus(ObjectId id, int32_t* level) {
    return Newer(id, [&] { return rhosk_bbu::GetBatteryVoltageStatus(id, level); });
}
int GetBatteryTemperatureStatus(ObjectId id, int32_t* level) {
    return Newer(id, [&] { return rhosk_bbu::GetBatteryTemperatureStatus(id, level); });
}
int GetBbuStatus(ObjectId id, int32_t* status) {
    return Newer(id, [&] { return rhosk_bbu::GetBbuStatus(id, status); });
}
int GetBbuStatusWord(ObjectId id, uint32_t* word) {
    return Newer(id, [&] { return rhosk_bbu::GetBbuStatusWord(id, word); });
}
int GetBbuSerial(ObjectId id, char* text) {
    return Newer(id, [&] { return rhosk_bbu::GetBbuSerial(id, text); });
}
int GetBbuFirmwareVersion(ObjectId id, char* text) {
    return Newer(id, [&] { return rhosk_bbu::GetBbuFirmwareVersion(id, text); });
}
int GetBbuBootloaderVersion(ObjectId id, char* text) {
    return Newer(id, [&] { return rhosk_bbu::GetBbuBootloaderVersion(id, text); });
}
int GetBbuPcbRevision(ObjectId id, uint32_t* revision) {
    return Newer(id, [&] { return rhosk_bbu::GetBbuPcbRevision(id, revision); });
}
int GetBbuInfoText(ObjectId id, char* text) {
    return Newer(id, [&] { return rhosk_bbu::GetBbuInfoText(id, text); });
}
int GetBatteryInstallDate(ObjectId id, char* text) {
    return Newer(id, [&] { return rhosk_bbu::GetBatteryInstallDate(id, text); });
}
int GetLastCapacityTestDate(ObjectId id, char* text) {
    return Newer(id, [&] { return rhosk_bbu::GetLastCapacityTestDate(id, text); });
}
int GetEstimatedBackupCapacity(ObjectId id, uint32_t* hours) {
    return Newer(id, [&] { return rhosk_bbu::GetEstimatedBackupCapacity(id, hours); });
}
int InitializeBbu(ObjectId) {
    return 0;
}
int StartBbuBatteryTest(ObjectId id) {
    return Newer(id, [&] { return rhosk_bbu::StartBbuBatteryTest(id); });
}
int EnableBbu(ObjectId id) {
    return Newer(id, [&] { return rhosk_bbu::EnableBbu(id); });
}
int DisableBbu(ObjectId id) {
    return Newer(id, [&] { return rhosk_bbu::DisableBbu(id); });
}

}  // namespace Api
