// The unit descriptor walk and the unit state derived from it.
#include "api/rhosk/rhosk_descriptors.h"

#include "api/api.h"
#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/rhosk/rhosk_codes.h"

namespace rhosk {

namespace {

// A walk keeps at most this many descriptors on its stack.
constexpr int kMaxNesting = 10;
// Unit paths have four levels: the unit and three levels of children.
constexpr uint8_t kMaxDepth = 4;
constexpr uint8_t kMaxChildren = 32;
// The state of an element whose descriptor is not of the expected type.
constexpr uint8_t kUnknownStatus = kUnitStatusOther;

bool ValidDepth(uint8_t depth) {
    return depth >= 1 && depth <= kMaxDepth;
}

// The id byte that holds the index of a path level (level 1: the unit).
std::size_t LevelByte(uint8_t depth) {
    return ObjectId::kDepth + depth;
}

// The member index of a unit element: its last level byte.
uint8_t MemberIndex(const ObjectId& id) {
    return id[LevelByte(id[ObjectId::kDepth])];
}

// A unit, subunit or member state that concerns one member.
bool IsTroubled(uint8_t status) {
    return status == kUnitStatusDegraded || status == kUnitStatusRebuilding ||
           status == kUnitStatusRecovery || status == kUnitStatusInoperable;
}

// A state in which a task is running on the element.
bool IsBusy(uint8_t status) {
    return status == kUnitStatusVerifying || status == kUnitStatusInitializing ||
           status == kUnitStatusRebuilding;
}

// Types whose own descriptor carries progress, initialisation and task state.
bool HasOwnTaskState(uint32_t type) {
    switch (type) {
        case kUnitRaid0:
        case kUnitRaid1:
        case kUnitRaid1Mirror:
        case kUnitRaid5:
        case kUnitRaid6:
        case kUnitSingle:
        case kUnitSpare:
        case kUnitJbod:
        case kUnitMigrating:
            return true;
        default:
            return false;
    }
}

bool IsCompound(uint32_t type) {
    return type == kUnitRaid10 || type == kUnitRaid50;
}

}  // namespace

// --- The table ---

bool UnitDescriptorTable::Fits(uint32_t count, uint32_t size) {
    return size == kDescriptorSize && count <= kDescriptorSlots;
}

void UnitDescriptorTable::MarkEnd(uint8_t* table, uint32_t count) {
    // Four end-marker bytes after the last descriptor, so a walk that runs
    // past it meets an end; a full table has its end at the buffer's end.
    std::size_t offset = std::size_t{count} * kDescriptorSize;
    for (std::size_t i = 0; i < 4; ++i) {
        (void)bytes::PutU8(table, kDescriptorTableSize, offset + i, 0xFF);
    }
}

uint8_t UnitDescriptorTable::byte(std::size_t index, std::size_t field) const {
    if (index >= kDescriptorSlots)
        return 0xFF;
    return bytes::GetU8(bytes_.data(), bytes_.size(), index * kDescriptorSize + field);
}

uint16_t UnitDescriptorTable::u16(std::size_t index, std::size_t field) const {
    if (index >= kDescriptorSlots)
        return 0xFFFF;
    return bytes::GetU16(bytes_.data(), bytes_.size(), index * kDescriptorSize + field);
}

uint32_t UnitDescriptorTable::u32(std::size_t index, std::size_t field) const {
    if (index >= kDescriptorSlots)
        return 0xFFFFFFFFu;
    return bytes::GetU32(bytes_.data(), bytes_.size(), index * kDescriptorSize + field);
}

void UnitDescriptorTable::put(std::size_t index,
                              const std::array<uint8_t, kDescriptorSize>& descriptor) {
    if (index >= kDescriptorSlots)
        return;
    bytes::PutBytes(bytes_.data(), bytes_.size(), index * kDescriptorSize, descriptor.data(),
                    descriptor.size());
}

// --- Ids ---

ObjectId MakeRaid6SubunitId(const ObjectId& unit, uint8_t index) {
    ObjectId id = unit;
    id[ObjectId::kKind] = kKindRaid6Subunit;
    id[ObjectId::kNumber] = index;
    return id;
}

ObjectId MakeVolumeId(const ObjectId& unit, uint8_t index) {
    ObjectId id = unit;
    id[ObjectId::kKind] = kKindVolume;
    id[ObjectId::kNumber] = index;
    return id;
}

bool ChildId(const ObjectId& parent, uint8_t index, ObjectId* child) {
    uint8_t depth = parent[ObjectId::kDepth];
    if (parent.kind() != kKindUnit || !ValidDepth(depth) || depth >= kMaxDepth)
        return false;
    *child = parent;
    (*child)[ObjectId::kDepth] = static_cast<uint8_t>(depth + 1);
    (*child)[LevelByte(static_cast<uint8_t>(depth + 1))] = index;
    return true;
}

bool ParentId(const ObjectId& element, ObjectId* parent) {
    uint8_t depth = element[ObjectId::kDepth];
    if (!ValidDepth(depth) || depth == 1)
        return false;
    *parent = element;
    (*parent)[LevelByte(depth)] = ObjectId::kNone;
    (*parent)[ObjectId::kDepth] = static_cast<uint8_t>(depth - 1);
    return true;
}

// --- Status combination ---

uint8_t CombineSubunitStatuses(const uint8_t* statuses, std::size_t count) {
    uint8_t k = kUnitStatusOther;
    auto keepIf = [&k](std::initializer_list<uint8_t> states, uint8_t otherwise) {
        for (uint8_t s : states) {
            if (k == s)
                return;
        }
        k = otherwise;
    };
    for (std::size_t i = 0; i < count; ++i) {
        uint8_t s = statuses[i];
        if (k == kUnitStatusOther)
            k = s;
        switch (s) {
            case kUnitStatusOk:
                break;
            case kUnitStatusVerifying:
                keepIf({223, 239, 0, 191}, s);
                break;
            case kUnitStatusInitializing:
                keepIf({251, 223, 239, 0, 191}, s);
                break;
            case kUnitStatusDegraded:
                keepIf({0, 191}, s);
                break;
            case kUnitStatusRebuilding:
                keepIf({239, 0, 191}, s);
                break;
            case kUnitStatusRecovery:
                return kUnitStatusRecovery;
            case kUnitStatusMigrating:
                keepIf({247, 251, 223, 239, 0, 191}, s);
                break;
            case kUnitStatusOther:
                // A subunit whose state was not determined degrades the unit.
                keepIf({0, 191}, kUnitStatusDegraded);
                break;
            case kUnitStatusInoperable:
                keepIf({191}, s);
                break;
            default:
                k = kUnitStatusOther;
                break;
        }
    }
    return k;
}

// --- The walk ---

// The walk's state: the path of the descriptor last visited and its
// position (the cursor, shared by the whole walk).
struct UnitTree::Walk {
    ObjectId path;
    uint8_t depth;
    std::size_t cursor;

    void descend() {
        ++depth;
        if (depth <= kMaxDepth) {
            path[ObjectId::kDepth] = depth;
            path[LevelByte(depth)] = 0;
        }
    }
    void nextSibling() {
        if (depth <= kMaxDepth)
            ++path[LevelByte(depth)];  // wraps past 255 to 0
    }
    void ascend() {
        if (depth == 1)
            return;
        if (depth <= kMaxDepth)
            path[LevelByte(depth)] = ObjectId::kNone;
        --depth;
        if (depth <= kMaxDepth)
            path[ObjectId::kDepth] = depth;
    }
};

bool UnitTree::matches(const Walk& walk, const ObjectId& target) const {
    if (walk.depth > kMaxDepth)
        return false;
    if (target.kind() == kKindDrive) {
        return walk.path.controller() == target.controller() &&
               table_.byte(walk.cursor, kDescChildren) == 0 &&
               table_.byte(walk.cursor, kDescPort) == target[ObjectId::kNumber];
    }
    uint8_t depth = target[ObjectId::kDepth];
    if (walk.path.controller() != target.controller() || walk.depth != depth)
        return false;
    for (uint8_t level = 1; level <= depth; ++level) {
        if (walk.path[LevelByte(level)] != target[LevelByte(level)])
            return false;
    }
    return true;
}

UnitTree::Step UnitTree::visit(Walk& walk, const ObjectId& target, int nesting) const {
    if (matches(walk, target))
        return Step::kFound;
    uint8_t type = table_.type(walk.cursor);
    if (type == kDescriptorEnd)
        return Step::kEnd;
    uint8_t children = table_.byte(walk.cursor, kDescChildren);
    for (uint8_t i = 0; i < children; ++i) {
        ++walk.cursor;
        if (type == kUnitRaid6) {
            while (table_.type(walk.cursor) == kDescriptorExtension)
                ++walk.cursor;
        }
        if (walk.cursor >= kDescriptorSlots || nesting + 1 >= kMaxNesting)
            return Step::kEnd;
        if (i == 0) {
            walk.descend();
        } else {
            walk.nextSibling();
        }
        Step step = visit(walk, target, nesting + 1);
        if (step != Step::kGoOn)
            return step;
    }
    if (children > 0)
        walk.ascend();
    return Step::kGoOn;
}

int UnitTree::find(const ObjectId& target, std::size_t* index, ObjectId* path) const {
    if (target.kind() != kKindUnit && target.kind() != kKindDrive) {
        return ApiError::Fail(kApiUnitIdFailed);
    }
    if (target.kind() == kKindUnit && !ValidDepth(target[ObjectId::kDepth]))
        return -1;
    Walk walk{ObjectId::Blank(), 1, 0};
    walk.path[ObjectId::kKind] = kKindUnit;
    walk.path[ObjectId::kController] = controller_;
    walk.path[ObjectId::kDepth] = 1;
    walk.path[ObjectId::kUnit] = unit_;
    if (visit(walk, target, 0) != Step::kFound)
        return -1;
    *index = walk.cursor;
    if (path != nullptr)
        *path = walk.path;
    return 0;
}

std::size_t UnitTree::subtreeEnd(std::size_t index, int nesting) const {
    if (index >= kDescriptorSlots)
        return kDescriptorSlots;
    uint8_t type = table_.type(index);
    if (type == kDescriptorEnd)
        return index;
    std::size_t next = index + 1;
    if (type == kUnitRaid6) {
        while (table_.type(next) == kDescriptorExtension)
            ++next;
    }
    uint8_t children = table_.byte(index, kDescChildren);
    for (uint8_t i = 0; i < children && next < kDescriptorSlots; ++i) {
        if (nesting + 1 >= kMaxNesting)
            return kDescriptorSlots;
        next = subtreeEnd(next, nesting + 1);
    }
    return next < kDescriptorSlots ? next : kDescriptorSlots;
}

bool UnitTree::extension(uint8_t index, std::size_t* position) const {
    if (index > table_.byte(0, kDescExtensions) || index >= kDescriptorSlots)
        return false;
    *position = index;
    return true;
}

bool UnitTree::troubledExtension(std::size_t parent, uint8_t member, bool rebuildingOnly,
                                 std::size_t* position) const {
    std::size_t last = parent + table_.byte(parent, kDescExtensions);
    for (std::size_t i = parent; i <= last && i < kDescriptorSlots; ++i) {
        uint8_t s = table_.byte(i, kDescStatus);
        bool wanted = rebuildingOnly ? s == kUnitStatusRebuilding : IsTroubled(s);
        if (wanted && table_.byte(i, kDescPort) == member) {
            *position = i;
            return true;
        }
    }
    return false;
}

bool UnitTree::memberParent(const ObjectId& id, std::size_t* parent) const {
    ObjectId parentId;
    return ParentId(id, &parentId) && find(parentId, parent) == 0;
}

int UnitTree::progressPercent(std::size_t index, uint32_t* out) const {
    uint32_t value = table_.u16(index, kDescProgress) & kProgressMask;
    if (table_.type(index) == kDescriptorEnd || value > kProgressFull) {
        return ApiError::Fail(kApiPercentFailed);
    }
    *out = value * 100 / kProgressFull;
    return 0;
}

// --- Unit state ---

int UnitTree::type(const ObjectId& id, uint32_t* out) const {
    std::size_t index = 0;
    if (find(id, &index) != 0)
        return -1;
    uint32_t type = table_.type(index);
    if (type == kUnitRaid0) {
        // A RAID-0 element over RAID-1 or RAID-5 elements is a RAID-10 or
        // RAID-50 unit.
        ObjectId child;
        std::size_t childIndex = 0;
        if (!ChildId(id, 0, &child) || find(child, &childIndex) != 0)
            return -1;
        uint8_t childType = table_.type(childIndex);
        if (childType == kUnitRaid1 || childType == kUnitRaid1Mirror) {
            type = kUnitRaid10;
        } else if (childType == kUnitRaid5) {
            type = kUnitRaid50;
        } else {
            type = kUnitRaid0;
        }
    }
    *out = type;
    return 0;
}

void UnitTree::subunits(const ObjectId& id, ObjectIdList128* out) const {
    out->clear();
    for (uint8_t i = 0; i < kMaxChildren; ++i) {
        ObjectId child;
        std::size_t index = 0;
        if (!ChildId(id, i, &child) || find(child, &index) != 0)
            break;
        (void)out->add(child);
    }
}

int UnitTree::subunitStatuses(const ObjectId& id, ObjectIdList128* subs, uint8_t* statuses) const {
    subunits(id, subs);
    for (std::size_t i = 0; i < subs->size(); ++i) {
        if (status(subs->ids[i], &statuses[i]) != 0)
            return -1;
    }
    return 0;
}

int UnitTree::status(const ObjectId& id, uint8_t* out) const {
    if (id.kind() == kKindRaid6Subunit) {
        std::size_t index = 0;
        if (!extension(id[ObjectId::kNumber], &index))
            return -1;
        uint8_t type = table_.type(index);
        bool known = type == kUnitRaid6 || type == kDescriptorExtension;
        *out = known ? table_.byte(index, kDescStatus) : kUnknownStatus;
        return 0;
    }
    uint32_t type = 0;
    if (this->type(id, &type) != 0)
        return -1;
    if (id[ObjectId::kDepth] >= 2 && type == kUnitCbod)
        return memberStatus(id, out);
    if (IsCompound(type)) {
        ObjectIdList128 subs;
        subunits(id, &subs);
        uint8_t statuses[kMaxChildren] = {};
        std::size_t n = 0;
        for (; n < subs.size() && n < kMaxChildren; ++n) {
            if (status(subs.ids[n], &statuses[n]) != 0)
                return -1;
            if (statuses[n] == kUnitStatusRecovery) {
                ++n;  // the unit is in recovery whatever follows
                break;
            }
        }
        *out = CombineSubunitStatuses(statuses, n);
        return 0;
    }
    std::size_t index = 0;
    if (find(id, &index) != 0)
        return -1;
    *out = table_.type(index) < kDescriptorEnd ? table_.byte(index, kDescStatus) : kUnknownStatus;
    return 0;
}

int UnitTree::memberStatus(const ObjectId& id, uint8_t* out) const {
    std::size_t index = 0;
    if (find(id, &index) != 0)
        return -1;
    uint8_t s = table_.byte(index, kDescStatus);
    if (s == kUnitStatusInoperable)
        s = kUnitStatusDegraded;
    if (s == kUnitStatusOk) {
        // A member that reports itself OK may still be the one its array
        // is degraded or rebuilding for.
        std::size_t parent = 0;
        if (!memberParent(id, &parent))
            return -1;
        uint8_t member = MemberIndex(id);
        if (table_.type(parent) == kUnitRaid6) {
            std::size_t found = 0;
            s = troubledExtension(parent, member, false, &found) ? kUnitStatusDegraded
                                                                 : kUnitStatusOk;
        } else if (IsTroubled(table_.byte(parent, kDescStatus))) {
            s = table_.byte(parent, kDescPort) == member ? kUnitStatusDegraded : kUnitStatusOk;
        }
    }
    *out = s;
    return 0;
}

int UnitTree::taskDescriptor(const ObjectId& id, uint32_t notRebuilding, uint32_t invalidConfig,
                             std::size_t* index, bool* compound) const {
    *compound = false;
    if (id.kind() == kKindRaid6Subunit)
        return extension(id[ObjectId::kNumber], index) ? 0 : -1;
    uint32_t type = 0;
    if (this->type(id, &type) != 0)
        return -1;
    if (HasOwnTaskState(type))
        return find(id, index) != 0 ? -1 : 0;
    if (IsCompound(type)) {
        *compound = true;
        return 0;
    }
    if (type == kUnitCbod && id[ObjectId::kDepth] >= 2) {
        std::size_t parent = 0;
        if (!memberParent(id, &parent))
            return -1;
        if (table_.type(parent) == kUnitRaid6) {
            if (!troubledExtension(parent, MemberIndex(id), true, index))
                return ApiError::Fail(notRebuilding);
            return 0;
        }
    }
    return ApiError::Fail(invalidConfig);
}

int UnitTree::percentComplete(const ObjectId& id, uint32_t* out) const {
    std::size_t index = 0;
    bool compound = false;
    if (taskDescriptor(id, kApiNotRebuilding, kApiPercentInvalidConfig, &index, &compound) != 0)
        return -1;
    if (!compound) {
        const uint8_t type = table_.type(index);
        if (id.kind() == kKindRaid6Subunit && type != kUnitRaid6 && type != kDescriptorExtension)
            return ApiError::Fail(kApiPercentFailed);
        return progressPercent(index, out);
    }
    ObjectIdList128 subs;
    uint8_t statuses[kMaxChildren] = {};
    if (subunitStatuses(id, &subs, statuses) != 0)
        return -1;
    // Without subunits there is nothing to average.
    if (subs.size() == 0)
        return ApiError::Fail(kApiPercentFailed);
    uint32_t sum = 0;
    for (std::size_t i = 0; i < subs.size(); ++i) {
        uint32_t percent = 100;
        if (IsBusy(statuses[i]) && percentComplete(subs.ids[i], &percent) != 0)
            return -1;
        sum += percent;
    }
    *out = sum / static_cast<uint32_t>(subs.size());
    return 0;
}

int UnitTree::capacity(const ObjectId& id, CapacitySource* out) const {
    if (id[ObjectId::kDepth] == 1) {
        *out = CapacitySource{true, 12, 0};
        return 0;
    }
    std::size_t index = 0;
    if (find(id, &index) != 0)
        return -1;
    if (table_.type(0) == kUnitMigrating && id[ObjectId::kDepth] == 2) {
        // The two halves of a migrating unit: source and destination.
        uint8_t half = id[LevelByte(2)];
        if (half == 0 || half == 1) {
            *out = CapacitySource{true, static_cast<uint16_t>(half == 0 ? 12 : 19), 0};
            return 0;
        }
    }
    if (table_.type(index) == kDescriptorEnd)
        return ApiError::Fail(kApiCapacityFailed);
    *out = CapacitySource{false, 0, table_.u32(index, kDescCapacity)};
    return 0;
}

int UnitTree::stripeSize(const ObjectId& id, uint32_t* out) const {
    uint32_t type = 0;
    if (this->type(id, &type) != 0)
        return -1;
    if (type != kUnitRaid0 && type != kUnitRaid5 && !IsCompound(type) && type != kUnitRaid6) {
        return ApiError::Fail(kApiInvalidStripeForUnit);
    }
    std::size_t index = 0;
    if (find(id, &index) != 0)
        return -1;
    // A RAID-50 unit reports the stripe of its first RAID-5 element.
    uint8_t code = table_.byte(type == kUnitRaid50 ? index + 1 : index, kDescStripe);
    if (code > 32)
        return ApiError::Fail(kApiInvalidStripeForUnit);
    *out = StripeSizeKb(code);
    return 0;
}

int UnitTree::initialized(const ObjectId& id, uint8_t* out) const {
    uint32_t type = 0;
    if (this->type(id, &type) != 0)
        return -1;
    if (HasOwnTaskState(type)) {
        std::size_t index = 0;
        if (find(id, &index) != 0)
            return -1;
        if (table_.type(index) == kDescriptorEnd)
            return ApiError::Fail(kApiInitInfoFailed);
        *out = (table_.byte(index, kDescFlags) & kInitializedBit) != 0 ? 1 : 0;
        return 0;
    }
    if (!IsCompound(type))
        return ApiError::Fail(kApiInitInfoInvalidConfig);
    ObjectIdList128 subs;
    subunits(id, &subs);
    uint8_t result = 1;
    for (std::size_t i = 0; i < subs.size() && result == 1; ++i) {
        uint8_t s = 0;
        if (status(subs.ids[i], &s) != 0 || initialized(subs.ids[i], &result) != 0)
            return -1;
    }
    *out = result;
    return 0;
}

int UnitTree::taskRunning(const ObjectId& id, uint8_t* out) const {
    auto runningBit = [this, out](std::size_t index) {
        if (table_.type(index) == kDescriptorEnd)
            return ApiError::Fail(kApiTaskInfoFailed);
        *out = (table_.u16(index, kDescProgress) & kTaskRunningBit) != 0 ? 1 : 0;
        return 0;
    };
    std::size_t index = 0;
    bool compound = false;
    if (taskDescriptor(id, kApiPercentFailed, kApiTaskInfoInvalidConfig, &index, &compound) != 0)
        return -1;
    if (!compound)
        return runningBit(index);
    ObjectIdList128 subs;
    uint8_t statuses[kMaxChildren] = {};
    if (subunitStatuses(id, &subs, statuses) != 0)
        return -1;
    for (std::size_t i = 0; i < subs.size(); ++i) {
        if (!IsBusy(statuses[i]))
            continue;
        uint8_t running = 0;
        if (taskRunning(subs.ids[i], &running) != 0)
            return -1;
        if (running != 0) {
            *out = 1;
            return 0;
        }
    }
    *out = 0;
    return 0;
}

int UnitTree::raid6State(const ObjectId& id, Raid6UnitState* out) const {
    uint32_t type = 0;
    if (this->type(id, &type) != 0 || type != kUnitRaid6)
        return -1;
    std::size_t index = 0;
    if (find(id, &index) != 0)
        return -1;
    out->unitStatus =
        table_.type(index) == kUnitRaid6 ? table_.byte(index, kDescStatus) : kUnknownStatus;
    out->extensionStatus = table_.type(index + 1) == kDescriptorExtension
                               ? table_.byte(index + 1, kDescStatus)
                               : kUnknownStatus;
    return 0;
}

int UnitTree::raid6Subunits(const ObjectId& id, ObjectIdList128* out) const {
    uint32_t type = 0;
    if (this->type(id, &type) != 0)
        return -1;
    if (type != kUnitRaid6)
        return ApiError::Fail(kApiFeatureNotSupported);
    out->clear();
    (void)out->add(MakeRaid6SubunitId(id, 0));
    uint8_t extensions = table_.byte(0, kDescExtensions);
    for (std::size_t k = 1; k <= extensions && k < kDescriptorSlots; ++k) {
        if (table_.type(k) == kDescriptorExtension) {
            (void)out->add(MakeRaid6SubunitId(id, static_cast<uint8_t>(k)));
        }
    }
    return 0;
}

int UnitTree::driveList(const ObjectId& id, ObjectIdList128* out) const {
    uint32_t type = 0;
    if (this->type(id, &type) != 0)
        return -1;
    if (id[ObjectId::kDepth] == 1 && type == kUnitMigrating) {
        // A migrating unit holds the drives of the larger of its layouts.
        ObjectId source, destination;
        ObjectIdList128 sourceDrives, destinationDrives;
        if (!ChildId(id, 0, &source) || !ChildId(id, 1, &destination) ||
            driveList(source, &sourceDrives) != 0 ||
            driveList(destination, &destinationDrives) != 0) {
            return -1;
        }
        *out = destinationDrives.size() > sourceDrives.size() ? destinationDrives : sourceDrives;
        return 0;
    }
    std::size_t index = 0;
    if (find(id, &index) != 0)
        return -1;
    out->clear();
    // The drives of the element's own subtree: RAID-6 extension descriptors
    // are not drives, and the scan never runs into a sibling's subtree.
    std::size_t end = subtreeEnd(index, 0);
    for (std::size_t i = index; i < end; ++i) {
        if (table_.byte(i, kDescChildren) == 0xFF)
            break;
        if (table_.byte(i, kDescChildren) != 0 || table_.type(i) == kDescriptorExtension)
            continue;
        uint8_t port = table_.byte(i, kDescPort);
        bool listed = false;
        for (std::size_t j = 0; j < out->size() && port != ObjectId::kNone; ++j) {
            listed = listed || out->ids[j][ObjectId::kNumber] == port;
        }
        // A port outside 0-127 that is not the missing-member 255 is no drive.
        bool valid = port < 128 || port == ObjectId::kNone;
        ObjectId drive;
        if (listed || !valid || Api::MakeDriveId(controller_, port, &drive) != 0)
            continue;
        (void)out->add(drive);
    }
    return 0;
}

}  // namespace rhosk
