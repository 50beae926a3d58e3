// The audit log wrapper of the firmware download.
#include "api/api.h"
#include "api/api_error.h"
#include "api/audit_log.h"

int AuditLog::DownloadFirmware(ObjectId controller, const char* fileName) {
    return record(Api::DownloadFirmware(controller, fileName), [&](int r) {
        return ApiUtil::FormatText("Download firmware(controller=%d, filename=%s): %s",
                                   controller[ObjectId::kController],
                                   fileName != nullptr ? fileName : "", ResultWord(r));
    });
}
