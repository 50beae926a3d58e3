// The dispatcher entries that only follow their route, made from the
// operation lists (api/operations/*.def): each checks the kind of its
// identifier where its path asks, looks up the family of the identifier's
// controller and passes its arguments to the older or the newer back end.
#include "api/dispatch.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/enclosure_services.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/sas_family.h"

namespace Dispatch {

// The identifier an entry is routed by: its first argument.
#define KV_ROUTING_ID(...) KV_ROUTING_ID_OF(__VA_ARGS__, )
#define KV_ROUTING_ID_OF(ID, ...) ID

#define KV_DEFINE_DISPATCH(NAME, PATH, PARAMS, ARGS, OLDER, NEWER)       \
    int32_t NAME PARAMS {                                                \
        return Follow(                                                   \
            Paths::PATH, KV_ROUTING_ID ARGS, [&] { return OLDER ARGS; }, \
            [&] { return NEWER ARGS; });                                 \
    }
#include "api/operations.def"

#undef KV_ROUTING_ID
#undef KV_ROUTING_ID_OF

}  // namespace Dispatch
