// The public unit and volume operations: lists, unit state, unit settings
// and the Keepwell policy.
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_codes.h"

namespace Api {

int GetUnitIdList(ObjectId id, ObjectIdList128* list) {
    return Dispatch::GetUnitIdList(id, list);
}
int GetSubunitIdList(ObjectId id, ObjectIdList128* list) {
    return Dispatch::GetSubunitIdList(id, list);
}
int GetRaid6SubunitIdList(ObjectId id, ObjectIdList128* list) {
    return Dispatch::GetRaid6SubunitIdList(id, list);
}
int GetUnitDriveList(ObjectId id, ObjectIdList128* list) {
    return Dispatch::GetUnitDriveList(id, list);
}
int GetUnitVolumeList(ObjectId id, ObjectIdList128* list) {
    return Dispatch::GetUnitVolumeList(id, list);
}
int GetUnitVolumeCount(ObjectId id, uint32_t* count) {
    return Dispatch::GetUnitVolumeCount(id, count);
}
int GetVolumeCapacity(ObjectId id, uint64_t* sectors) {
    return Dispatch::GetVolumeCapacity(id, sectors);
}
int GetUnitStatus(ObjectId id, uint8_t* status) {
    return Dispatch::GetUnitStatus(id, status);
}
int GetUnitType(ObjectId id, uint32_t* type) {
    return Dispatch::GetUnitType(id, type);
}
int GetUnitFlags(ObjectId id, uint8_t* flags) {
    return Dispatch::GetUnitFlags(id, flags);
}
int GetUnitPercentComplete(ObjectId id, uint32_t* percent) {
    return Dispatch::GetUnitPercentComplete(id, percent);
}
int GetUnitCapacity(ObjectId id, uint64_t* sectors) {
    return Dispatch::GetUnitCapacity(id, sectors);
}
int GetUnitStripeSize(ObjectId id, uint32_t* kib) {
    return Dispatch::GetUnitStripeSize(id, kib);
}
int GetUnitParityNumber(ObjectId id, uint32_t* count) {
    return Dispatch::GetUnitParityNumber(id, count);
}
int IsUnitInitialized(ObjectId id, uint8_t* initialized) {
    return Dispatch::IsUnitInitialized(id, initialized);
}
int IsUnitTaskRunning(ObjectId id, uint8_t* running) {
    return Dispatch::IsUnitTaskRunning(id, running);
}
int GetUnitSerial(ObjectId id, char* serial) {
    return Dispatch::GetUnitSerial(id, serial);
}
int GetUnitName(ObjectId id, char* name) {
    return Dispatch::GetUnitName(id, name);
}
int SetUnitName(ObjectId id, const char* name) {
    return Dispatch::SetUnitName(id, name);
}
int GetUnitWriteCache(ObjectId id, uint8_t* on) {
    return Dispatch::GetUnitWriteCache(id, on);
}
int EnableWriteCache(ObjectId id) {
    return Dispatch::EnableWriteCache(id);
}
int DisableWriteCache(ObjectId id) {
    return Dispatch::DisableWriteCache(id);
}
int GetReadCacheMode(ObjectId id, uint8_t* mode) {
    return Dispatch::GetReadCacheMode(id, mode);
}
int EnableBasicReadCache(ObjectId id) {
    return Dispatch::EnableBasicReadCache(id);
}
int EnableIntelligentReadCache(ObjectId id) {
    return Dispatch::EnableIntelligentReadCache(id);
}
int DisableReadCache(ObjectId id) {
    return Dispatch::DisableReadCache(id);
}
int GetEccPolicy(ObjectId id, uint8_t* value) {
    return Dispatch::GetEccPolicy(id, value);
}
int GetAutoVerify(ObjectId id, uint8_t* value) {
    return Dispatch::GetAutoVerify(id, value);
}
int GetUnitQueuing(ObjectId id, uint8_t* value) {
    return Dispatch::GetUnitQueuing(id, value);
}
int GetRapidRecovery(ObjectId id, uint8_t* policy) {
    return Dispatch::GetRapidRecovery(id, policy);
}
int SetRapidRecovery(ObjectId id, uint8_t policy) {
    return Dispatch::SetRapidRecovery(id, policy);
}
int GetWriteDpoPolicy(ObjectId id, uint8_t* policy) {
    return Dispatch::GetWriteDpoPolicy(id, policy);
}
int SetWriteDpoPolicy(ObjectId id, uint8_t policy) {
    return Dispatch::SetWriteDpoPolicy(id, policy);
}

namespace {

// The Keepwell policies as the values of unit parameters 21, 22 and 23.
struct KeepwellTriple {
    uint8_t p21, p22, p23;
};
constexpr KeepwellTriple kKeepwellModes[] = {{1, 2, 1}, {0, 2, 2}, {0, 1, 0}};

int SetKeepwell(ObjectId id, const KeepwellTriple& t) {
    if (Dispatch::SetKeepwellParam21(id, t.p21) != 0 ||
        Dispatch::SetKeepwellParam22(id, t.p22) != 0 ||
        Dispatch::SetKeepwellParam23(id, t.p23) != 0) {
        return -1;  // parameters already written stay written
    }
    return 0;
}

}  // namespace

int HaltOnEccErrors(ObjectId id) {
    return Dispatch::SetEccPolicy(id, 0);
}
int ContinueOnEccErrors(ObjectId id) {
    return Dispatch::SetEccPolicy(id, 1);
}
int EnableAutoVerify(ObjectId id) {
    return Dispatch::SetAutoVerify(id, 1);
}
int DisableAutoVerify(ObjectId id) {
    return Dispatch::SetAutoVerify(id, 0);
}
int EnableUnitQueuing(ObjectId id) {
    return Dispatch::SetUnitQueuing(id, 1);
}
int DisableUnitQueuing(ObjectId id) {
    return Dispatch::SetUnitQueuing(id, 0);
}

int GetKeepwellMode(ObjectId id, uint8_t* mode) {
    KeepwellTriple t{};
    if (Dispatch::GetKeepwellParam21(id, &t.p21) != 0 ||
        Dispatch::GetKeepwellParam22(id, &t.p22) != 0 ||
        Dispatch::GetKeepwellParam23(id, &t.p23) != 0) {
        return -1;
    }
    uint8_t policy = kKeepwellOther;
    for (uint8_t m = 0; m < 3; ++m) {
        const KeepwellTriple& k = kKeepwellModes[m];
        if (k.p21 == t.p21 && k.p22 == t.p22 && k.p23 == t.p23)
            policy = m;
    }
    *mode = policy;
    return 0;
}

int SetKeepwellMode(ObjectId id, uint8_t mode) {
    switch (mode) {
        case kKeepwellProtect:
            return SetKeepwellProtect(id);
        case kKeepwellBalance:
            return SetKeepwellBalance(id);
        case kKeepwellPerform:
            return SetKeepwellPerform(id);
        default:
            return 0;  // no such policy: nothing changes
    }
}

int SetKeepwellProtect(ObjectId id) {
    return SetKeepwell(id, kKeepwellModes[kKeepwellProtect]);
}
int SetKeepwellBalance(ObjectId id) {
    return SetKeepwell(id, kKeepwellModes[kKeepwellBalance]);
}
int SetKeepwellPerform(ObjectId id) {
    return SetKeepwell(id, kKeepwellModes[kKeepwellPerform]);
}

}  // namespace Api
