// The unit descriptor table of a newer-family controller and the walk over
// it. The controller describes each top-level unit as a flat array of
// 20-byte descriptors: the unit itself, then its subunits and drives in
// pre-order; a RAID-6 element is followed by its extension descriptors
// (type 0x30) before its children. UnitTree answers, from one table, what
// an element of the unit is and in which state: type, status, progress,
// capacity, stripe, initialisation, task state, subunits and drives.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "api/object_id.h"
#include "api/rhosk/rhosk_codes.h"

namespace rhosk {

constexpr std::size_t kDescriptorSize = 20;
constexpr std::size_t kDescriptorSlots = 99;
constexpr std::size_t kDescriptorTableSize = kDescriptorSize * kDescriptorSlots;
static_assert(kDescriptorTableSize == 1980, "the descriptor table buffer is 1980 bytes");

// Byte offsets inside one descriptor.
enum DescriptorField : std::size_t {
    kDescChildren = 0,     // child elements that follow in pre-order (0 for a drive)
    kDescType = 1,         // UnitType; 0x30 RAID-6 extension, 0xFF end of table
    kDescStripe = 2,       // StripeCode
    kDescPort = 3,         // drive: its port; troubled array: the member concerned
    kDescStatus = 5,       // UnitStatus
    kDescProgress = 6,     // u16: bits 0-14 progress 0-1024, bit 15 task running
    kDescCapacity = 12,    // u32 sectors
    kDescExtensions = 18,  // extension descriptors that directly follow
    kDescFlags = 19,       // bit 7: initialised
};

constexpr uint16_t kProgressMask = 0x7FFF;
constexpr uint16_t kTaskRunningBit = 0x8000;
constexpr uint32_t kProgressFull = 1024;
constexpr uint8_t kInitializedBit = 0x80;

// Where an element's capacity comes from: a UnitTable parameter (the whole
// unit, and the two halves of a migrating unit) or the descriptor itself.
struct CapacitySource {
    bool fromParam;
    uint16_t param;    // UnitTable parameter when fromParam
    uint64_t sectors;  // the descriptor's capacity otherwise
};

// The descriptors of one top-level unit as the controller delivered them.
// An unread tail reads as end markers, and so does every index past the
// buffer.
class UnitDescriptorTable {
  public:
    UnitDescriptorTable() { bytes_.fill(0xFF); }

    uint8_t* data() { return bytes_.data(); }
    static constexpr std::size_t size() { return kDescriptorTableSize; }

    // Checks what the controller declared before its descriptors are read
    // into the buffer: the size must be 20 bytes and the count must fit.
    // The end marker after the last descriptor is written only when there
    // is room for it.
    [[nodiscard]] static bool Fits(uint32_t count, uint32_t size);
    void markEnd(uint32_t count) { MarkEnd(bytes_.data(), count); }
    // The same on a raw 1980-byte table.
    static void MarkEnd(uint8_t* table, uint32_t count);

    uint8_t byte(std::size_t index, std::size_t field) const;
    uint16_t u16(std::size_t index, std::size_t field) const;
    uint32_t u32(std::size_t index, std::size_t field) const;
    uint8_t type(std::size_t index) const { return byte(index, kDescType); }

    // Writes one descriptor (building tables in tests and create data).
    void put(std::size_t index, const std::array<uint8_t, kDescriptorSize>& descriptor);

  private:
    std::array<uint8_t, kDescriptorTableSize> bytes_;
};

// The ids of a unit's parts that the back end makes itself.
ObjectId MakeRaid6SubunitId(const ObjectId& unit, uint8_t index);
ObjectId MakeVolumeId(const ObjectId& unit, uint8_t index);
// The id of child `index` of a unit element (depth + 1); false when the id
// is not a unit id or already at depth 4.
[[nodiscard]] bool ChildId(const ObjectId& parent, uint8_t index, ObjectId* child);
// The id of an element's parent (depth - 1); false at depth 1.
[[nodiscard]] bool ParentId(const ObjectId& element, ObjectId* parent);

// The status of a RAID-10 or RAID-50 unit from the statuses of its
// subunits, in their order (17 when there is none).
uint8_t CombineSubunitStatuses(const uint8_t* statuses, std::size_t count);

// One unit's tree over its descriptor table. Every operation returns 0 or
// -1; an error of its own is recorded in the library's error record, a
// descriptor that is not found fails without one.
class UnitTree {
  public:
    UnitTree(const UnitDescriptorTable& table, uint8_t controller, uint8_t unit)
        : table_(table), controller_(controller), unit_(unit) {}

    // Finds a unit element (kind 2, by its path) or a drive (kind 3, the
    // leaf that holds its port); the walk's path is the element's unit id.
    [[nodiscard]] int find(const ObjectId& target, std::size_t* index,
                           ObjectId* path = nullptr) const;

    [[nodiscard]] int type(const ObjectId& id, uint32_t* out) const;
    [[nodiscard]] int status(const ObjectId& id, uint8_t* out) const;
    [[nodiscard]] int percentComplete(const ObjectId& id, uint32_t* out) const;
    [[nodiscard]] int capacity(const ObjectId& id, CapacitySource* out) const;
    [[nodiscard]] int stripeSize(const ObjectId& id, uint32_t* out) const;
    [[nodiscard]] int initialized(const ObjectId& id, uint8_t* out) const;
    [[nodiscard]] int taskRunning(const ObjectId& id, uint8_t* out) const;
    [[nodiscard]] int raid6State(const ObjectId& id, Raid6UnitState* out) const;

    // The existing children 0-31 of an element, up to the first missing one.
    void subunits(const ObjectId& id, ObjectIdList128* out) const;
    [[nodiscard]] int raid6Subunits(const ObjectId& id, ObjectIdList128* out) const;
    [[nodiscard]] int driveList(const ObjectId& id, ObjectIdList128* out) const;

  private:
    enum class Step { kFound, kEnd, kGoOn };
    struct Walk;

    Step visit(Walk& walk, const ObjectId& target, int nesting) const;
    bool matches(const Walk& walk, const ObjectId& target) const;
    std::size_t subtreeEnd(std::size_t index, int nesting) const;
    bool extension(uint8_t index, std::size_t* position) const;
    int memberStatus(const ObjectId& id, uint8_t* out) const;
    // The first descriptor of a RAID-6 parent's extension range that is in
    // trouble (`rebuildingOnly`: rebuilding) and names `member`.
    bool troubledExtension(std::size_t parent, uint8_t member, bool rebuildingOnly,
                           std::size_t* position) const;
    // The parent descriptor of a member drive; false when it is not found.
    bool memberParent(const ObjectId& id, std::size_t* parent) const;
    int progressPercent(std::size_t index, uint32_t* out) const;
    // Where the task state (progress and running bit) of `id` is kept: the
    // descriptor at `*index`, or, with `*compound` set, the subunits of a
    // compound unit. An element that keeps none fails with API error
    // `invalidConfig`, a RAID-6 member that no extension rebuilds with
    // `notRebuilding`.
    int taskDescriptor(const ObjectId& id, uint32_t notRebuilding, uint32_t invalidConfig,
                       std::size_t* index, bool* compound) const;
    int subunitStatuses(const ObjectId& id, ObjectIdList128* subs, uint8_t* statuses) const;

    const UnitDescriptorTable& table_;
    uint8_t controller_;
    uint8_t unit_;
};

}  // namespace rhosk
