#include "platform/host_system.h"

#include <utility>

namespace platform {

namespace {
std::unique_ptr<HostSystem>& current() {
    static std::unique_ptr<HostSystem> host;
    return host;
}
}  // namespace

HostSystem& Host() {
    auto& host = current();
    if (!host)
        host = MakeDefaultHost();
    return *host;
}

void SetHost(std::unique_ptr<HostSystem> host) {
    current() = std::move(host);
}

}  // namespace platform
