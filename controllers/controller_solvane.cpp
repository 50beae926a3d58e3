#include "controllers/controller_solvane.h"

#include "api/api.h"

ControllerSolvane::ControllerSolvane(const std::string& controllerName, uint32_t controllerNumber,
                                     ObjectId id)
    : ControllerWescal(controllerName, controllerNumber, id) {
    uint32_t reported = 0;
    if (Api::GetControllerFamily(objectId, &reported) != 0)
        throwApiError();
    if (reported == 6 || reported == 7)
        family = static_cast<int32_t>(reported);
}

ControllerSolvane::~ControllerSolvane() = default;

int ControllerSolvane::setIgnoreFuaWrite(std::istream&, const std::string&) {
    refuse();
}

std::string ControllerSolvane::getIgnoreFuaWrite() {
    return kNotSupported;
}

int ControllerSolvane::setOnDegrade(const std::string&) {
    refuse();
}

std::string ControllerSolvane::getOnDegrade() {
    return kNotSupported;
}
