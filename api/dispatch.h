// The family dispatcher: every public operation of the library passes its
// arguments to one Dispatch operation, which looks up the family of the
// identifier's controller and calls the older family's PraneFamily or one
// of the newer family's implementation objects. The dispatcher keeps no
// state; every call looks the family up again. Its operations are listed,
// with their routes, in api/operations/*.def; the entries that only follow
// their route are made from those lists (api/dispatch_routes.cpp), the
// others are written out in api/dispatch*.cpp.
#pragma once

#include <cstdint>

#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/device_io.h"
#include "api/object_id.h"
#include "api/operation_records.h"

namespace Dispatch {

// The routes: which families an operation serves.
enum class Route {
    Both,       // 3 older; 4, 6, 7, 8 newer
    Newer,      // 4, 6, 7, 8
    From6,      // 6, 7, 8
    Only4,      // 4
    Only8,      // 8
    Level36,    // 6, 7, 8 with firmware compatibility level 36 or more
    Level37,    // 7, 8 with level 37 or more
    SasPhys,    // 8, and 7 when the controller has SAS phys
    OlderOnly,  // 3; every other family, unclassified included, API error 2
};

// Where an operation goes.
enum class Target {
    Older,
    Newer,
    Refused,  // the operation returns -1; the error (if any) is recorded
};

// Decides the target of an operation on `id` by its route. A family that
// the route does not serve records API error 2; an unclassified controller
// leaves the error record untouched (except on the older-only route); a
// failed level read keeps the read's error.
Target Resolve(Route route, ObjectId id);

// Routes one operation: `older` and `newer` are called without arguments
// and return the operation's status.
template <typename OlderOp, typename NewerOp>
int32_t Call(Route route, ObjectId id, OlderOp older, NewerOp newer) {
    switch (Resolve(route, id)) {
        case Target::Older:
            return older();
        case Target::Newer:
            return newer();
        case Target::Refused:
            break;
    }
    return -1;
}

// Records API error 2 "Feature not supported"; -1.
int32_t NotSupported();

// A route and the identifier kind its operations take: an identifier of
// another kind records `kindError` before the family is looked up.
struct Path {
    Route route;
    uint8_t kind;  // kAnyKind: no kind check
    uint32_t kindError;
};
constexpr uint8_t kAnyKind = 0;

// The paths that the operation lists name.
namespace Paths {
constexpr Path Both{Route::Both, kAnyKind, 0};
constexpr Path Newer{Route::Newer, kAnyKind, 0};
constexpr Path From6{Route::From6, kAnyKind, 0};
constexpr Path Only4{Route::Only4, kAnyKind, 0};
constexpr Path Only8{Route::Only8, kAnyKind, 0};
constexpr Path Level36{Route::Level36, kAnyKind, 0};
constexpr Path Level37{Route::Level37, kAnyKind, 0};
constexpr Path SasPhys{Route::SasPhys, kAnyKind, 0};
constexpr Path OlderOnly{Route::OlderOnly, kAnyKind, 0};
// An enclosure or one of its elements: route "from 6" after the kind.
constexpr Path OfEnclosure{Route::From6, kKindEnclosure, kApiInvalidEnclosureId};
constexpr Path OfFan{Route::From6, kKindFan, kApiInvalidFanId};
constexpr Path OfDoor{Route::From6, kKindDoorLock, kApiInvalidDoorId};
constexpr Path OfAlarm{Route::From6, kKindAlarm, kApiInvalidAlarmId};
constexpr Path OfSlot{Route::From6, kKindSlot, kApiInvalidSlotId};
constexpr Path OfTempSensor{Route::From6, kKindTempSensor, kApiInvalidTempSensorId};
constexpr Path OfPowerSupply{Route::From6, kKindPowerSupply, kApiInvalidPowerSupplyId};
// A phy (kind 14), then the route.
constexpr Path PhyOnly8{Route::Only8, kKindPhy, kApiInvalidPhyId};
constexpr Path PhyFrom6{Route::From6, kKindPhy, kApiInvalidPhyId};
constexpr Path PhySasPhys{Route::SasPhys, kKindPhy, kApiInvalidPhyId};
}  // namespace Paths

// Follows `path` for an operation on `id`: the kind check, then the route.
template <typename OlderOp, typename NewerOp>
int32_t Follow(const Path& path, ObjectId id, OlderOp older, NewerOp newer) {
    if (path.kind != kAnyKind && id.kind() != path.kind)
        return ApiError::Fail(path.kindError);
    return Call(path.route, id, older, newer);
}

// Follows a path that the older family is not part of.
template <typename NewerOp>
int32_t FollowNewer(const Path& path, ObjectId id, NewerOp newer) {
    return Follow(
        path, id, [] { return -1; }, newer);
}

// The back end of the side a route does not serve (the older family on
// the newer routes, the newer family on the older-only route): the route
// refuses that family with API error 2 before it would be called.
template <typename... Args>
int32_t NotServed(Args&&...) {
    return NotSupported();
}

// --- The operations (api/operations/*.def) ---

#define KV_DECLARE_DISPATCH(NAME, PARAMS) [[nodiscard]] int32_t NAME PARAMS;
#include "api/operations.def"

}  // namespace Dispatch
