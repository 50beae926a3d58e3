// The settings that every controller class carries itself, as "show" reads
// them: JBOD export, disk spin-up and spin-up stagger time. The older
// family has none of them.
#include <string>

#include "api/api.h"
#include "controllers/controller.h"

namespace {

constexpr int32_t kFamilyNewer = 4;
constexpr const char* kNotSupported = "Not Supported";
// A spin-up count of 255 means the controller does not stagger spin-ups.
constexpr uint32_t kSpinupDisabled = 255;

}  // namespace

std::string Controller::getExportJbod() {
    if (family < kFamilyNewer)
        return kNotSupported;
    uint8_t policy = 0;
    if (Api::GetExportJbodPolicy(objectId, &policy) != 0)
        throwFailedApiError();
    return policy != 0 ? "on" : "off";
}

std::string Controller::getSpinup() {
    if (family < kFamilyNewer)
        return kNotSupported;
    uint32_t count = 0;
    if (Api::GetNumberSpinupsAllowed(objectId, &count) != 0)
        throwApiError();
    return count == kSpinupDisabled ? "Disabled" : std::to_string(count);
}

std::string Controller::getStagger() {
    if (family < kFamilyNewer)
        return kNotSupported;
    uint32_t seconds = 0;
    if (Api::GetStaggerTime(objectId, &seconds) != 0)
        throwApiError();
    // Without spin-up staggering a stagger time of 0 has no meaning.
    uint32_t count = 0;
    if (Api::GetNumberSpinupsAllowed(objectId, &count) == 0 && count == kSpinupDisabled &&
        seconds == 0)
        return "N/A";
    return std::to_string(seconds);
}
