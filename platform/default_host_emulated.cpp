// The Linux build: the host system is always the emulated host.
#include "emulator/emulated_host.h"
#include "platform/host_system.h"

namespace platform {

std::unique_ptr<HostSystem> MakeDefaultHost() {
    return emulator::EmulatedHost::fromEnvironment();
}

}  // namespace platform
