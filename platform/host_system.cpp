#include "platform/host_system.h"

#include <utility>

namespace platform {

namespace {
// The host in use. It is never destroyed at exit: the system takes back
// its memory at once, where its destructor would walk all of it, and the
// library's objects destroyed at exit still close their handles through
// it. It stays reachable from here, so a leak checker does not count it.
HostSystem*& current() {
    static HostSystem* host = nullptr;
    return host;
}
}  // namespace

HostSystem& Host() {
    HostSystem*& host = current();
    if (host == nullptr)
        host = MakeDefaultHost().release();
    return *host;
}

void SetHost(std::unique_ptr<HostSystem> host) {
    // The host replaced goes now.
    std::unique_ptr<HostSystem> replaced(std::exchange(current(), host.release()));
}

}  // namespace platform
