// Changes made while holding a controller's management lock: the lock is
// taken first, released on every path once it was taken, and the change's
// own error is what the error record keeps.
#pragma once

#include <cstdint>

#include "api/api.h"
#include "api/api_error.h"
#include "api/object_id.h"
#include "api/rhosk/rhosk_family.h"

namespace rhosk {

// Runs `change` under the management lock of `controller`, taken for
// `lockTime` milliseconds. A lock that cannot be taken returns -1 before
// the change. A failed change releases the lock and returns its own result
// with its own error in the record, not the release's. After a successful
// change a failed release returns kApiChangedLockHeld with the release's
// error in the record: the change stands, the lock does too.
template <typename Change>
[[nodiscard]] int32_t UnderManagementLock(const ObjectId& controller, uint32_t lockTime,
                                          Change change) {
    if (RhoskFamily::LockController(controller, lockTime) != 0)
        return -1;
    const int32_t result = change();
    if (result != 0) {
        ApiErrorRecord record;
        (void)Api::GetLastErrorRecord(&record);
        (void)RhoskFamily::UnlockController(controller);
        ApiError::Restore(record);
        return result;
    }
    if (RhoskFamily::UnlockController(controller) != 0)
        return kApiChangedLockHeld;
    return 0;
}

}  // namespace rhosk
