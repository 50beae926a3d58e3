// Object identifiers: the 8-byte value by which every library operation
// names a controller, unit, volume, RAID-6 subunit, drive or port, phy,
// enclosure or enclosure element, and the fixed-size lists they travel in.
//
// The byte layout crosses every layer of the library and is part of its
// interface: byte 0 is the ObjectKind, byte 1 the controller number, and a
// byte that a kind does not use holds 0xFF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Byte 0 of an ObjectId.
enum ObjectKind : uint8_t {
    kKindController = 1,
    kKindUnit = 2,
    kKindDrive = 3,  // drive or port: one layout
    kKindEnclosure = 4,
    kKindFan = 5,
    kKindPowerSupply = 6,
    kKindDoorLock = 7,
    kKindAlarm = 8,
    kKindSlot = 9,
    kKindRaid6Subunit = 11,
    kKindVolume = 12,
    kKindTempSensor = 13,
    kKindPhy = 14,
};

struct ObjectId {
    // Byte positions.
    static constexpr std::size_t kKind = 0;
    static constexpr std::size_t kController = 1;
    static constexpr std::size_t kNumber = 2;  // port, phy, element, volume or subunit index
    static constexpr std::size_t kDepth = 3;   // unit path depth; SES element position
    static constexpr std::size_t kUnit = 4;    // unit number; 0x40 + enclosure number
    static constexpr std::size_t kLevel2 = 5;  // SES: sub-enclosure index
    static constexpr std::size_t kLevel3 = 6;  // enclosure: SES mode of the port
    static constexpr std::size_t kLevel4 = 7;  // enclosure: protocol (0 SAF-TE, 1 SES)
    static constexpr std::size_t kSesMode = 6;
    static constexpr std::size_t kProtocol = 7;
    static constexpr uint8_t kNone = 0xFF;
    static constexpr uint8_t kEnclosureBase = 0x40;

    uint8_t bytes[8];

    // An identifier with all eight bytes 0xFF: the start of every builder.
    static constexpr ObjectId Blank() {
        return ObjectId{{kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone}};
    }

    uint8_t& operator[](std::size_t i) { return bytes[i]; }
    constexpr uint8_t operator[](std::size_t i) const { return bytes[i]; }
    constexpr uint8_t kind() const { return bytes[kKind]; }
    constexpr uint8_t controller() const { return bytes[kController]; }

    // The controller identifier of any identifier: byte 0 set to 1, the
    // other bytes as they stand.
    constexpr ObjectId controllerId() const {
        ObjectId id = *this;
        id.bytes[kKind] = kKindController;
        return id;
    }

    // Controller number × 16 + enclosure number (modulo 256), or 255 when
    // the identifier names no enclosure (byte 4 is 0xFF).
    constexpr uint8_t globalEnclosureIndex() const {
        return bytes[kUnit] == kNone
                   ? kNone
                   : static_cast<uint8_t>(bytes[kUnit] + bytes[kController] * 16 - kEnclosureBase);
    }

    friend bool operator==(const ObjectId& a, const ObjectId& b) {
        return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
    }
    friend bool operator!=(const ObjectId& a, const ObjectId& b) { return !(a == b); }
};
static_assert(sizeof(ObjectId) == 8, "ObjectId is 8 bytes");

// N identifiers followed by an unsigned 32-bit count of the valid ones. The
// count is the only length: entries past it carry no identifier.
template <std::size_t N>
struct ObjectIdList {
    static constexpr std::size_t kCapacity = N;

    ObjectId ids[N];
    uint32_t count;

    // Empties the list the way most producers do: every entry 0xFF.
    void clear() {
        for (auto& id : ids)
            id = ObjectId::Blank();
        count = 0;
    }
    // Empties the list with every entry zero (the controller list).
    void zero() {
        std::memset(ids, 0, sizeof ids);
        count = 0;
    }
    // Appends an identifier; false when the list is full.
    [[nodiscard]] bool add(const ObjectId& id) {
        if (count >= N)
            return false;
        ids[count++] = id;
        return true;
    }
    // The valid entries (count capped at the capacity).
    std::size_t size() const { return count < N ? count : N; }
};

// Controllers, enclosures, fans, door locks, alarms and power supplies.
using ObjectIdList16 = ObjectIdList<16>;
// Temperature sensors.
using ObjectIdList32 = ObjectIdList<32>;
// Units, subunits, drives of a unit, ports, slots, volumes, rescan results
// and the drive lists of create, migrate and rebuild.
using ObjectIdList128 = ObjectIdList<128>;

static_assert(sizeof(ObjectIdList16) == 16 * 8 + 4, "16-entry list layout");
static_assert(sizeof(ObjectIdList32) == 32 * 8 + 4, "32-entry list layout");
static_assert(sizeof(ObjectIdList128) == 1028, "128-entry list layout");
