// Changes made while holding a controller's management lock: the lock is
// taken first, released on every way out once it was taken, and the
// change's own error is what the error record keeps.
#pragma once

#include <cstdint>

#include "api/api_error.h"
#include "api/object_id.h"
#include "api/rhosk/rhosk_family.h"

namespace rhosk {

// A controller's management lock, held from its making until it is
// released. A lock still held when the object goes (an exception passing
// through the step that holds it) is released then, the error record kept
// as it is.
class ManagementLock {
  public:
    // Takes the lock for `lockTime` milliseconds; held() tells whether it
    // was taken (else the error record says why).
    ManagementLock(const ObjectId& controller, uint32_t lockTime)
        : controller_(controller), held_(RhoskFamily::LockController(controller, lockTime) == 0) {}

    ~ManagementLock() {
        if (!held_)
            return;
        // Nothing may leave a destructor: an exception of the release would
        // end the program while another one passes through.
        try {
            releaseQuietly();
        } catch (...) {
        }
    }

    ManagementLock(const ManagementLock&) = delete;
    ManagementLock& operator=(const ManagementLock&) = delete;

    bool held() const { return held_; }

    // Releases the lock: 0, or -1 with the release's error in the record.
    [[nodiscard]] int32_t release() {
        held_ = false;
        return RhoskFamily::UnlockController(controller_);
    }

    // Releases the lock after a failed step: the step's error stays in the
    // record, not the release's.
    void releaseQuietly() {
        ApiError::Quietly([this] { return release(); });
    }

  private:
    ObjectId controller_;
    bool held_;
};

// Runs `change` under the management lock of `controller`, taken for
// `lockTime` milliseconds. A lock that cannot be taken returns -1 before
// the change. A failed change releases the lock and returns its own result
// with its own error in the record, not the release's; so does an
// exception passing through the change. After a successful change a failed
// release returns kApiChangedLockHeld with the release's error in the
// record: the change stands, the lock does too.
template <typename Change>
[[nodiscard]] int32_t UnderManagementLock(const ObjectId& controller, uint32_t lockTime,
                                          Change change) {
    ManagementLock lock(controller, lockTime);
    if (!lock.held())
        return -1;
    const int32_t result = change();
    if (result != 0) {
        lock.releaseQuietly();
        return result;
    }
    return lock.release() == 0 ? 0 : kApiChangedLockHeld;
}

}  // namespace rhosk
