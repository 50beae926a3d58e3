// A logged library operation: through the audit logger's wrapper when the
// program has made the logger, else the library operation itself (tools
// and tests that run without a log).
#pragma once

#include <utility>

#include "api/audit_log.h"

template <class... Params, class... Args>
int AuditedCall(int (AuditLog::*wrapper)(Params...), int (*direct)(Params...), Args&&... args) {
    if (theAuditLog != nullptr)
        return (theAuditLog->*wrapper)(std::forward<Args>(args)...);
    return direct(std::forward<Args>(args)...);
}
