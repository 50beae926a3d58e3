#include "controllers/controller_vantor.h"

#include "api/api.h"

namespace {

constexpr uint32_t kMaxConnections = 128;

}  // namespace

ControllerVantor::ControllerVantor(const std::string& controllerName, uint32_t controllerNumber,
                                   ObjectId id)
    : ControllerWescal(controllerName, controllerNumber, id) {
    family = 8;
}

ControllerVantor::~ControllerVantor() = default;

int ControllerVantor::setIgnoreFuaWrite(std::istream&, const std::string&) {
    refuse();
}

std::string ControllerVantor::getIgnoreFuaWrite() {
    return kNotSupported;
}

int ControllerVantor::setOnDegrade(const std::string&) {
    refuse();
}

std::string ControllerVantor::getOnDegrade() {
    return kNotSupported;
}

uint32_t ControllerVantor::getMaxConnections() {
    return kMaxConnections;
}

uint32_t ControllerVantor::getUnitLimit() {
    return readCount([this](uint32_t* count) { return Api::GetMaxUnitCount(objectId, count); });
}

uint32_t ControllerVantor::getMaxUnits() {
    return readCount([this](uint32_t* count) { return Api::GetMaxUnits(objectId, count); });
}

uint32_t ControllerVantor::getMaxDrives() {
    return readCount([this](uint32_t* count) { return Api::GetMaxDrives(objectId, count); });
}

uint32_t ControllerVantor::getMaxActiveUnits() {
    return readCount(
        [this](uint32_t* count) { return Api::GetMaxActiveUnitCount(objectId, count); });
}

uint32_t ControllerVantor::getMaxDrivesPerUnit() {
    return readCount([this](uint32_t* count) { return Api::GetMaxDrivesPerUnit(objectId, count); });
}

uint32_t ControllerVantor::getNumPhys() {
    return readCount([this](uint32_t* count) { return Api::GetNumPhys(objectId, count); });
}

std::string ControllerVantor::getSasEnclosureLimit() {
    return readLinkSpeedLimit(Api::GetSasEnclosureLinkSpeedLimit);
}

std::string ControllerVantor::getSataEnclosureLimit() {
    return readLinkSpeedLimit(Api::GetSataEnclosureLinkSpeedLimit);
}

uint32_t ControllerVantor::getNumActiveDrives() {
    return readCount([this](uint32_t* count) { return Api::GetNumActiveDrives(objectId, count); });
}

uint32_t ControllerVantor::getNumActiveUnits() {
    ObjectIdList128 list{};
    list.clear();
    if (Api::GetUnitIdList(objectId, &list) != 0)
        return 0;
    uint32_t active = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        uint32_t type = 0xFFFFFFFFu;
        if (Api::GetUnitType(list.ids[i], &type) != 0)
            continue;
        if (type != 12 && type != 13 && type != 0xFFFFFFFFu)
            ++active;
    }
    return active;
}

template <class Read>
uint32_t ControllerVantor::readCount(Read read) {
    uint32_t count = 0;
    if (read(&count) != 0)
        throwFailedApiError();
    return count;
}

std::string ControllerVantor::readLinkSpeedLimit(int (*read)(ObjectId, uint8_t*)) {
    uint8_t speed = 0;
    if (read(objectId, &speed) != 0)
        throwFailedApiError();
    return linkSpeedLimitText(speed);
}

std::string ControllerVantor::linkSpeedLimitText(uint32_t code) {
    switch (code) {
        case 0:
            return "Auto";
        case 1:
            return "1.5 Gbps";
        case 2:
            return "3.0 Gbps";
        default:
            return "N/A";
    }
}
