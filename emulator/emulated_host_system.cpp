// The emulated host's system information: the host name, the Windows
// version and architecture, the product type and the user's rights.
#include <cstdint>
#include <string>

#include "emulator/emulated_host.h"
#include "emulator/emulated_host_calls.h"
#include "emulator/host_store.h"

namespace emulator {

using nlohmann::json;

bool EmulatedHost::getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) {
    const json& m = machine();
    std::string text = m.value("host_name", localHostName());
    std::string domain = m.value("domain", "");
    if (fullyQualified && !domain.empty())
        text += "." + domain;
    if (size == nullptr) {
        lastError_ = platform::kErrorInvalidParameter;
        return false;
    }
    if (!copyOut(text, name, *size)) {
        *size = static_cast<uint32_t>(text.size() + 1);
        lastError_ = kErrorMoreData;
        return false;
    }
    *size = static_cast<uint32_t>(text.size());
    return true;
}

bool EmulatedHost::getVersionEx(platform::OsVersionInfo* info) {
    if (info == nullptr)
        return false;
    const json v = machine().value("version", json::object());
    info->major = v.value("major", 10u);
    info->minor = v.value("minor", 0u);
    info->build = v.value("build", 20348u);
    info->platformId = v.value("platform_id", 2u);
    info->servicePack = v.value("service_pack", "").substr(0, 127);
    info->servicePackMajor = v.value("service_pack_major", uint16_t{0});
    info->servicePackMinor = v.value("service_pack_minor", uint16_t{0});
    info->suiteMask = v.value("suite_mask", uint16_t{0});
    info->productType = v.value("product_type", uint8_t{3});
    return true;
}

bool EmulatedHost::getNativeSystemInfo(uint16_t* architecture) {
    const json v = machine().value("version", json::object());
    if (!v.value("native_system_info", true) || architecture == nullptr)
        return false;
    *architecture = v.value("architecture", platform::kArchAmd64);
    return true;
}

uint16_t EmulatedHost::getSystemInfo() {
    const json v = machine().value("version", json::object());
    return v.value("architecture", platform::kArchAmd64);
}

bool EmulatedHost::getProductInfo(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t* productType) {
    const json v = machine().value("version", json::object());
    if (!v.value("get_product_info", true) || productType == nullptr)
        return false;
    *productType = v.value("product_info", 0u);
    return true;
}

int EmulatedHost::getSystemMetrics(int index) {
    if (index != platform::kSmServerR2)
        return 0;
    return machine().value("version", json::object()).value("server_r2", 0);
}

bool EmulatedHost::isUserAnAdmin() {
    return machine().value("administrator", true);
}

// The emulated machine does not wait: tests run at full speed.
void EmulatedHost::sleep(uint32_t) {}

}  // namespace emulator
