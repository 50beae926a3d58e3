// The host file's text through the emulated host's loader: the JSON parse
// and the field check, and for a host that passes them the machine built
// from it and every controller object discovered on it, which reads each
// controller's units, drives, enclosures and battery through the model.
// The host file's own reader, which takes plain texts, must read each as
// the JSON library does; and what the host file's writer writes of a state
// (its texts of any bytes too) must read back as that state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/kv_exception.h"
#include "controllers/controller_mgr.h"
#include "emulator/host_schema.h"
#include "emulator/host_text.h"
#include "fuzz_support.h"
#include "platform/host_system.h"
#include "same_json.h"

namespace {

// Stops the run when the reader takes a text the library refuses or reads
// it otherwise.
void CheckPlainReading(const std::string& text) {
    const auto plain = emulator::readPlainHostText(text);
    if (!plain)
        return;
    const nlohmann::json library = nlohmann::json::parse(text, nullptr, false);
    if (library.is_discarded() || !SameJson(*plain, library))
        std::abort();
}

// Stops the run when the state, written as the host file, reads back
// otherwise (numbers compare by value: "-0" reads back as 0).
void CheckRewriting(const nlohmann::json& state) {
    const std::string text = emulator::hostFileText(state);
    if (emulator::parseHostFile(text, "host.json") != state)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    fuzz::InFolder inFolder;
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckPlainReading(text);
    nlohmann::json state;
    try {
        state = emulator::parseHostFile(text, "host.json");
    } catch (const platform::HostUnusable&) {
        return 0;
    }
    CheckRewriting(state);
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
