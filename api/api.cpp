// Public entries of the error record and the library version.
#include "api/api.h"

namespace Api {

int GetLastErrorRecord(ApiErrorRecord* record) {
    ApiError::Get(record, "", 0);
    return 0;
}

const char* GetApiVersion() {
    return "2.06.00.012";
}

}  // namespace Api
