// The public unit operations of the Keepwell policy: a view of three unit
// parameters, read and written through the dispatcher one by one.
#include "api/api.h"
#include "api/dispatch.h"

namespace Api {
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
