#include "emulator/controller_model.h"

#include "emulator/enclosure_model.h"
#include "emulator/faults.h"
#include "emulator/unit_model.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr size_t kPortSlots = 128;

// Each `key` of the list `name` of `ctl` to the position of its first
// element.
std::unordered_map<int64_t, size_t> firstPositions(const json& ctl, const char* name,
                                                   const char* key) {
    std::unordered_map<int64_t, size_t> positions;
    auto list = ctl.find(name);
    if (list == ctl.end() || !list->is_array())
        return positions;
    for (size_t i = 0; i < list->size(); ++i)
        positions.emplace(numberField((*list)[i], key, -1), i);
    return positions;
}

const json* elementAt(const json& ctl, const char* name, int64_t position) {
    return position < 0 ? nullptr : &ctl.at(name)[static_cast<size_t>(position)];
}

int64_t positionIn(const std::unordered_map<int64_t, size_t>& positions, int64_t key) {
    auto it = positions.find(key);
    return it == positions.end() ? -1 : static_cast<int64_t>(it->second);
}

}  // namespace

ControllerModel::ControllerModel(const nlohmann::json& ctl)
    : ctl_(&ctl),
      drives_(firstPositions(ctl, "drives", "port")),
      units_(firstPositions(ctl, "units", "number")),
      holders_(kPortSlots, -1) {
    noteDrivePlaces(ctl);
    auto units = ctl.find("units");
    if (units == ctl.end() || !units->is_array())
        return;
    for (const nlohmann::json& unit : *units) {
        const auto number = static_cast<uint8_t>(numberField(unit, "number", kNoUnit));
        for (uint8_t port : unitMemberPorts(unit)) {
            if (port < kPortSlots && holders_[port] < 0)
                holders_[port] = number;
        }
    }
}

ControllerModel::~ControllerModel() = default;

void ControllerModel::noteDrivePlaces(const nlohmann::json& ctl) {
    constexpr int64_t kNotGiven = 255;
    auto drives = ctl.find("drives");
    if (drives == ctl.end() || !drives->is_array())
        return;
    places_.reserve(drives->size());
    for (const nlohmann::json& d : *drives) {
        places_.push_back({numberField(d, "enclosure", kNotGiven), numberField(d, "slot", kNotGiven),
                           numberField(d, "port", -1)});
    }
}

const nlohmann::json* ControllerModel::drive(int64_t port) const {
    return elementAt(*ctl_, "drives", drivePosition(port));
}

int64_t ControllerModel::drivePosition(int64_t port) const {
    return positionIn(drives_, port);
}

const nlohmann::json* ControllerModel::unit(int64_t number) const {
    return elementAt(*ctl_, "units", unitPosition(number));
}

int64_t ControllerModel::unitPosition(int64_t number) const {
    return positionIn(units_, number);
}

uint8_t ControllerModel::unitOfPort(uint64_t port) const {
    return port < kPortSlots && holders_[port] >= 0 ? static_cast<uint8_t>(holders_[port])
                                                    : kNoUnit;
}

const UnitLayout& ControllerModel::layout(const nlohmann::json& unit) const {
    auto it = layouts_.find(&unit);
    if (it == layouts_.end())
        it = layouts_.emplace(&unit, layoutUnit(*this, unit)).first;
    return it->second;
}

EnclosureAnswers& ControllerModel::enclosureAnswers() const {
    if (!enclosures_)
        enclosures_ = std::make_unique<EnclosureAnswers>();
    return *enclosures_;
}

const ControllerModel& ModelCache::controller(const json& ctl, size_t index) {
    if (models_.size() <= index)
        models_.resize(index + 1);
    if (!models_[index] || &models_[index]->json() != &ctl)
        models_[index] = std::make_unique<ControllerModel>(ctl);
    return *models_[index];
}

}  // namespace emulator
