// The public enclosure operations that the facade answers itself: an
// element's enclosure and the door lock.
#include "api/api.h"
#include "api/api_error.h"

namespace Api {

int GetEnclosureIdOfElement(ObjectId element, ObjectId* enclosure) {
    element[ObjectId::kKind] = kKindEnclosure;
    *enclosure = element;
    return 0;
}

int LockDoor(ObjectId) {
    return ApiError::Fail(kApiNotSupported);
}

}  // namespace Api
