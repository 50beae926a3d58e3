// The host file's text through the emulated host's loader: the JSON parse
// and the field check, and for a host that passes them the machine built
// from it and every controller object discovered on it, which reads each
// controller's units, drives, enclosures and battery through the model.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "controllers/controller_mgr.h"
#include "emulator/host_schema.h"
#include "fuzz_support.h"
#include "platform/host_system.h"
#include "shell/kv_exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    fuzz::InFolder inFolder;
    nlohmann::json state;
    try {
        state = emulator::parseHostFile(std::string(reinterpret_cast<const char*>(data), size),
                                        "host.json");
    } catch (const platform::HostUnusable&) {
        return 0;
    }
    // No input writes a request log beside the host.
    state.erase("request_log");
    try {
        fuzz::InstallHost(state);
        ControllerMgr manager;
    } catch (KV_Exception&) {
    } catch (const platform::HostUnusable&) {
    }
    return 0;
}
