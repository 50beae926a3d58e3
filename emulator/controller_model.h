// What the firmware reads of one controller's description, gathered once
// instead of walking the host file's JSON for every request: the drives by
// port, the units by number and the unit that holds each port, and every
// unit's descriptors and capacity, each built when first asked for.
//
// What the enclosures behind the controller answer is gathered the same
// way, as they are addressed (emulator/enclosure_model.h).
//
// The model points into the description it was built from, so it is valid
// until that description changes; the emulated host drops its models with
// every change and every new version of the host file. Code that changes
// a controller works on the JSON and never reads a model after its change.
#pragma once

#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <unordered_map>
#include <vector>

#include "emulator/wire.h"

namespace emulator {

class EnclosureAnswers;

// A unit's descriptors in pre-order and the capacity its members give.
struct UnitLayout {
    Bytes descriptors;
    uint64_t capacity = 0;
};

class ControllerModel {
  public:
    // Where an element of a list lies: its position and its node.
    struct Element {
        size_t position;
        const nlohmann::json* node;
    };

    explicit ControllerModel(const nlohmann::json& ctl);
    ~ControllerModel();
    ControllerModel(const ControllerModel&) = delete;
    ControllerModel& operator=(const ControllerModel&) = delete;

    [[nodiscard]] const nlohmann::json& json() const { return *ctl_; }
    // Whether the controller is in the machine, and its PCI device type.
    [[nodiscard]] bool present() const;
    [[nodiscard]] int64_t deviceType() const;

    // The first description in "drives" of the drive on `port`, present or
    // not, and its position there; null and -1 when there is none.
    [[nodiscard]] const nlohmann::json* drive(int64_t port) const;
    [[nodiscard]] int64_t drivePosition(int64_t port) const;
    // The same for the first unit in "units" numbered `number`.
    [[nodiscard]] const nlohmann::json* unit(int64_t number) const;
    [[nodiscard]] int64_t unitPosition(int64_t number) const;
    // The number of the first unit whose members (every layout of a
    // migrating unit included) hold `port`; 255 when none.
    [[nodiscard]] uint8_t unitOfPort(uint64_t port) const;
    // The layout of `unit` (a description in this controller's "units", or
    // a part of one), built on first use.
    [[nodiscard]] const UnitLayout& layout(const nlohmann::json& unit) const;
    // Where each description in "drives" puts its drive: the enclosure and
    // slot (255 when not given) and the port (-1 when not given).
    struct DrivePlace {
        int64_t enclosure;
        int64_t slot;
        int64_t port;
    };
    [[nodiscard]] const std::vector<DrivePlace>& drivePlaces() const;
    // A value of the controller's own tables derived from its description
    // alone, kept under `key` (its parameter): built by `build` when first
    // asked for.
    template <typename Build>
    [[nodiscard]] const Bytes& ownValue(const void* key, Build build) const {
        for (const OwnValue& kept : ownValues_) {
            if (kept.key == key)
                return kept.value;
        }
        ownValues_.push_back({key, build()});
        return ownValues_.back().value;
    }
    // What the controller's enclosures have answered in this version.
    [[nodiscard]] EnclosureAnswers& enclosureAnswers() const;
    // After a change to enclosure elements alone: the rest still holds
    // (but the derived values, some of which the enclosures give).
    void forgetEnclosureAnswers() const;

  private:
    using Positions = std::unordered_map<int64_t, Element>;
    [[nodiscard]] const Positions& drivePositions() const;
    [[nodiscard]] const Positions& unitPositions() const;

    const nlohmann::json* ctl_;
    // Each part is built when first asked for.
    mutable std::optional<bool> present_;
    mutable std::optional<int64_t> deviceType_;
    mutable std::optional<Positions> drives_;
    mutable std::optional<Positions> units_;
    mutable std::optional<std::vector<int16_t>> holders_;  // by port; -1: no unit
    mutable std::optional<std::vector<DrivePlace>> places_;
    mutable std::unordered_map<const nlohmann::json*, UnitLayout> layouts_;
    struct OwnValue {
        const void* key;
        Bytes value;
    };
    mutable std::vector<OwnValue> ownValues_;
    mutable std::unique_ptr<EnclosureAnswers> enclosures_;
};

// The models of a machine's controllers, built when first asked for and
// dropped all at once when the machine changes.
class ModelCache {
  public:
    [[nodiscard]] const ControllerModel& controller(const nlohmann::json& ctl, size_t index);
    void clear() { models_.clear(); }
    void forgetEnclosureAnswers();

  private:
    std::vector<std::unique_ptr<ControllerModel>> models_;
};

}  // namespace emulator
