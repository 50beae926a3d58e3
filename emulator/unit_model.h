// The units as a newer-family controller keeps them, derived from one
// compact description of each unit in the host file (type, stripe, member
// ports, state): the UnitDescriptor array, the capacity, the volume table,
// which unit holds a drive, and the disks Windows sees for the units.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

#include "emulator/wire.h"

namespace emulator {

constexpr size_t kUnitDescriptorSize = 20;
constexpr size_t kVolumeEntrySize = 20;
// The controller keeps at most this many volumes per unit.
constexpr size_t kMaxVolumes = 64;
constexpr uint8_t kNoUnit = 255;

class ControllerModel;
struct UnitLayout;

// The unit's layout built from its description: its descriptors in
// pre-order (kUnitDescriptorSize bytes each) and the capacity its members
// give. ControllerModel::layout keeps it once built.
[[nodiscard]] UnitLayout layoutUnit(const ControllerModel& ctl, const nlohmann::json& unit);

// The unit's descriptors and their count.
[[nodiscard]] Bytes unitDescriptors(const ControllerModel& ctl, const nlohmann::json& unit);
[[nodiscard]] Bytes unitDescriptors(const nlohmann::json& ctl, const nlohmann::json& unit);
[[nodiscard]] size_t unitDescriptorCount(const ControllerModel& ctl, const nlohmann::json& unit);

// The unit's capacity in 512-byte sectors ("capacity" overrides what the
// members give).
[[nodiscard]] uint64_t unitCapacity(const ControllerModel& ctl, const nlohmann::json& unit);
[[nodiscard]] uint64_t unitCapacity(const nlohmann::json& ctl, const nlohmann::json& unit);
// The capacity of a migrating unit's destination layout (UnitTable
// parameter 19; "migrate_capacity" overrides it, other units have 0).
[[nodiscard]] uint64_t unitMigrateCapacity(const ControllerModel& ctl, const nlohmann::json& unit);

// The volume sizes of the unit in sectors: "volumes", else one volume of
// the whole unit; at most kMaxVolumes.
[[nodiscard]] std::vector<uint64_t> unitVolumes(const ControllerModel& ctl,
                                                const nlohmann::json& unit);
// How many volumes unitVolumes gives, without sizing the unit.
[[nodiscard]] size_t unitVolumeCount(const nlohmann::json& unit);
// The VolumeEntry table of the unit.
[[nodiscard]] Bytes volumeTable(const ControllerModel& ctl, const nlohmann::json& unit);

// The member ports of a unit, every layout of a migrating unit included; a
// missing member reads as port 255.
[[nodiscard]] std::vector<uint8_t> unitMemberPorts(const nlohmann::json& unit);

// The number of the unit whose members include `port`, kNoUnit when none.
[[nodiscard]] uint8_t unitOfPort(const nlohmann::json& ctl, uint64_t port);

// The description in the controller's "drives" of the drive on `port`,
// present or not; null when there is none.
[[nodiscard]] const nlohmann::json* driveOnPort(const nlohmann::json& ctl, int64_t port);
[[nodiscard]] nlohmann::json* driveOnPort(nlohmann::json& ctl, int64_t port);
// The description in the controller's "units" of unit `number`; null when
// there is none.
[[nodiscard]] nlohmann::json* unitNumbered(nlohmann::json& ctl, int64_t number);

// Whether a unit the controller creates starts with its write cache on
// (the controller's "new_unit_write_cache").
[[nodiscard]] bool newUnitWriteCache(const nlohmann::json& ctl);

// Gives every unit of every controller that Windows sees one disk per
// volume (SCSI target = unit number), unless the disks list has them
// already or the unit says "os_visible": false. A spare is never seen.
// Disks added for a unit that no longer exists become not present.
// Answers whether the disks list changed.
bool attachUnitDisks(nlohmann::json& state);

}  // namespace emulator
