#include "emulator/controller_model.h"

#include "emulator/enclosure_model.h"
#include "emulator/faults.h"
#include "emulator/fields.h"
#include "emulator/unit_model.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr size_t kPortSlots = 128;

using Element = ControllerModel::Element;

// Each `key` of the list `name` of `ctl` to its first element.
std::unordered_map<int64_t, Element> firstPositions(const json& ctl, const char* name,
                                                    const char* key) {
    std::unordered_map<int64_t, Element> positions;
    auto list = ctl.find(name);
    if (list == ctl.end() || !list->is_array())
        return positions;
    for (size_t i = 0; i < list->size(); ++i)
        positions.emplace(numberField((*list)[i], key, -1), Element{i, &(*list)[i]});
    return positions;
}

const Element* elementOf(const std::unordered_map<int64_t, Element>& positions, int64_t key) {
    auto it = positions.find(key);
    return it == positions.end() ? nullptr : &it->second;
}

const json* nodeOf(const Element* element) {
    return element != nullptr ? element->node : nullptr;
}

int64_t positionOf(const Element* element) {
    return element != nullptr ? static_cast<int64_t>(element->position) : -1;
}

// The number of the first unit holding each port; -1 where none does.
std::vector<int16_t> unitHolders(const json& ctl) {
    std::vector<int16_t> holders(kPortSlots, -1);
    auto units = ctl.find("units");
    if (units == ctl.end() || !units->is_array())
        return holders;
    for (const json& unit : *units) {
        const auto number = static_cast<uint8_t>(numberField(unit, "number", kNoUnit));
        for (uint8_t port : unitMemberPorts(unit)) {
            if (port < kPortSlots && holders[port] < 0)
                holders[port] = number;
        }
    }
    return holders;
}

std::vector<ControllerModel::DrivePlace> drivePlacesOf(const json& ctl) {
    constexpr int64_t kNotGiven = 255;
    std::vector<ControllerModel::DrivePlace> places;
    auto drives = ctl.find("drives");
    if (drives == ctl.end() || !drives->is_array())
        return places;
    places.reserve(drives->size());
    for (const json& d : *drives) {
        places.push_back({numberField(d, "enclosure", kNotGiven), numberField(d, "slot", kNotGiven),
                          numberField(d, "port", -1)});
    }
    return places;
}

// `part` of a model, built by `build` when first asked for.
template <typename T, typename Build>
const T& builtOnce(std::optional<T>& part, Build build) {
    if (!part)
        part = build();
    return *part;
}

}  // namespace

ControllerModel::ControllerModel(const nlohmann::json& ctl) : ctl_(&ctl) {}

ControllerModel::~ControllerModel() = default;

bool ControllerModel::present() const {
    return builtOnce(present_, [&] { return flagField(*ctl_, "present", true); });
}

int64_t ControllerModel::deviceType() const {
    return builtOnce(deviceType_, [&] { return numberField(*ctl_, "device_type", 2); });
}

const ControllerModel::Positions& ControllerModel::drivePositions() const {
    return builtOnce(drives_, [&] { return firstPositions(*ctl_, "drives", "port"); });
}

const ControllerModel::Positions& ControllerModel::unitPositions() const {
    return builtOnce(units_, [&] { return firstPositions(*ctl_, "units", "number"); });
}

const std::vector<ControllerModel::DrivePlace>& ControllerModel::drivePlaces() const {
    return builtOnce(places_, [&] { return drivePlacesOf(*ctl_); });
}

const nlohmann::json* ControllerModel::drive(int64_t port) const {
    return nodeOf(elementOf(drivePositions(), port));
}

int64_t ControllerModel::drivePosition(int64_t port) const {
    return positionOf(elementOf(drivePositions(), port));
}

const nlohmann::json* ControllerModel::unit(int64_t number) const {
    return nodeOf(elementOf(unitPositions(), number));
}

int64_t ControllerModel::unitPosition(int64_t number) const {
    return positionOf(elementOf(unitPositions(), number));
}

uint8_t ControllerModel::unitOfPort(uint64_t port) const {
    const std::vector<int16_t>& holders = builtOnce(holders_, [&] { return unitHolders(*ctl_); });
    return port < kPortSlots && holders[port] >= 0 ? static_cast<uint8_t>(holders[port]) : kNoUnit;
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

void ControllerModel::forgetEnclosureAnswers() const {
    enclosures_.reset();
    ownValues_.clear();
}

void ModelCache::forgetEnclosureAnswers() {
    for (const std::unique_ptr<ControllerModel>& model : models_) {
        if (model)
            model->forgetEnclosureAnswers();
    }
}

const ControllerModel& ModelCache::controller(const json& ctl, size_t index) {
    if (models_.size() <= index)
        models_.resize(index + 1);
    if (!models_[index] || &models_[index]->json() != &ctl)
        models_[index] = std::make_unique<ControllerModel>(ctl);
    return *models_[index];
}

}  // namespace emulator
