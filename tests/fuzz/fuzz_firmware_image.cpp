// A firmware image through its examination and compatibility check
// against a controller of the firmware fixture's host (header byte 0,
// which the examination does not read, chooses it), and an image that
// passes is downloaded to the emulated controller, which takes it apart
// again. The image is served from memory.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "api/api.h"
#include "api/driver.h"
#include "fuzz_support.h"

namespace {

// The fixture's host, discovered; made again only after a download
// changed it.
ObjectIdList16 FreshHost(bool changed) {
    static ObjectIdList16 controllers{};
    static Driver discovered;
    if (changed || controllers.count == 0) {
        fuzz::InstallHost(fuzz::FixtureHost("firmware/host.json"));
        if (Api::GetControllerIdList(&controllers) != 0 || controllers.count == 0)
            __builtin_trap();  // the fixture's controllers are always found
        discovered = TheDriver();
    }
    fuzz::ResetLibrary();
    TheDriver() = discovered;
    return controllers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    fuzz::InFolder inFolder;
    static fuzz::MemoryFile file;
    static bool downloaded = false;
    file.Set(data, size);
    const ObjectIdList16 controllers = FreshHost(downloaded);
    downloaded = false;
    const ObjectId controller = controllers.ids[(size > 0 ? data[0] : 0) % controllers.size()];

    FirmwareCompatRecord record;
    std::memset(&record, 0xA5, sizeof record);
    if (Api::GetFirmwareImageCompatibility(controller, file.path().c_str(), 0, &record) != 0)
        return 0;
    // The record's texts are always terminated.
    for (const char* text : {record.apiVersion, record.driverVersion, record.firmwareVersion})
        (void)std::strlen(text);
    if (std::memchr(record.newFirmwareVersion, 0, sizeof record.newFirmwareVersion) == nullptr)
        __builtin_trap();
    if (record.controllerCompatible != 0 && size <= UINT32_MAX) {
        downloaded = true;
        (void)Api::DownloadFirmwareImage(controller, data, static_cast<uint32_t>(size));
    }
    return 0;
}
