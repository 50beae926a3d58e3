// The Linux build makes no real host calls: every host it runs against is
// an emulated one, which the program chooses (see MakeDefaultHost).
#include "platform/host_system.h"

namespace platform {

std::unique_ptr<HostSystem> MakeNativeHost() {
    return nullptr;
}

}  // namespace platform
