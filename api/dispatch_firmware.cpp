// The dispatcher entry of automatic drive detection: the family is looked
// up with the controller identifier, and only the port list and the off
// flag go on.
#include "api/dispatch.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {

int32_t SetAutoDetect(ObjectId controller, const ObjectIdList128* ports, uint32_t off) {
    return FollowNewer(Paths::Newer, controller,
                       [&] { return RhoskFamily::SetAutoDetect(ports, off); });
}

}  // namespace Dispatch
