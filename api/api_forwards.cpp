// The facade entries that only pass their arguments on to the dispatcher,
// made from the operation lists (api/operations/*.def): to the dispatcher
// entry of the same name, or a shared entry's to another with its fixed
// value.
#include "api/api.h"
#include "api/dispatch.h"

namespace Api {

#define KV_DEFINE_API(NAME, PARAMS, CALL) \
    int NAME PARAMS {                     \
        return Dispatch::CALL;            \
    }
#include "api/operations.def"

}  // namespace Api
