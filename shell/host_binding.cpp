// Where the program chooses the host system it runs against: the emulated
// host (the emulator's model of a machine, kept in a host file) or the
// machine's own calls. Only this file knows both; the library reaches the
// chosen host through platform::Host().
#include <cstdlib>

#include "emulator/emulated_host.h"
#include "platform/host_system.h"

namespace {

bool emulatedHostNamed() {
    const char* named = std::getenv("KV_EMULATED_HOST");
    return named != nullptr && named[0] != '\0';
}

}  // namespace

// The emulated host when KV_EMULATED_HOST names a host file or the build
// has no real calls (Linux); otherwise the real calls.
std::unique_ptr<platform::HostSystem> platform::MakeDefaultHost() {
    if (!emulatedHostNamed()) {
        if (auto native = MakeNativeHost())
            return native;
    }
    return emulator::EmulatedHost::fromEnvironment();
}
