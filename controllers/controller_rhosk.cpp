#include "controllers/controller_rhosk.h"

#include "api/api.h"
#include "base/shell_words.h"

ControllerRhosk::ControllerRhosk(const std::string& controllerName, uint32_t controllerNumber,
                                 ObjectId id)
    : ControllerWescal(controllerName, controllerNumber, id) {
    family = 4;
}

ControllerRhosk::~ControllerRhosk() = default;

int ControllerRhosk::setIgnoreFuaWrite(std::istream& words, const std::string& word) {
    words >> std::ws;
    const std::string value = shell_words::valueAfterEquals(word);
    if (!words.eof())
        throwError(kInvalidSetCommand);
    if (value == "on")
        return enableIgnoreFuaWrite();
    if (value == "off")
        return disableIgnoreFuaWrite();
    throwError(kInvalidSetCommand);
}

int ControllerRhosk::enableIgnoreFuaWrite() {
    runWithProgress(
        "Enabling controller /c" + std::to_string(number) + " ignore FUA write policy ... ",
        [this] { return Api::EnableIgnoreFuaWrite(objectId); });
    return 0;
}

int ControllerRhosk::disableIgnoreFuaWrite() {
    runWithProgress(
        "Disabling controller /c" + std::to_string(number) + " ignore FUA write policy ... ",
        [this] { return Api::DisableIgnoreFuaWrite(objectId); });
    return 0;
}

std::string ControllerRhosk::getIgnoreFuaWrite() {
    uint8_t value = 0;
    if (Api::GetIgnoreFuaWrite(objectId, &value) != 0)
        throwFailedApiError();
    return value == 1 ? "ON" : "OFF";
}

int ControllerRhosk::setOnDegrade(const std::string& word) {
    if (word == "ondegrade=cacheoff" || word == "ondegrade=wrcacheoff") {
        runWithProgress("Disabling Cache On Degrade Policy on /" + name + "... ",
                        [this] { return Api::SetOnDegradeCacheOff(objectId); });
    } else if (word == "ondegrade=follow") {
        runWithProgress("Unsetting Disable Cache On Degrade Policy on /" + name + "... ",
                        [this] { return Api::SetOnDegradeFollow(objectId); });
    } else {
        throwError(kInvalidControllerCommandValue);
    }
    return 0;
}

std::string ControllerRhosk::getOnDegrade() {
    uint8_t value = 0;
    if (Api::GetOnDegradePolicy(objectId, &value) != 0)
        throwApiError();
    return value != 0 ? "Cache Off" : "Follow Unit Policy";
}
