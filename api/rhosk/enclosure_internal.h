// What the enclosure services' own files share: the bounded reading of SES
// pages and SAF-TE buffers, the location of an SES element in the status
// page, and the SAF-TE configuration.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/api.h"
#include "api/api_error.h"
#include "api/rhosk/enclosure_services.h"
#include "api/rhosk/management_lock.h"
#include "api/rhosk/rhosk_family.h"

namespace enclosure {

// Allocation and transfer lengths of the pages and buffers.
constexpr uint32_t kInquiryLength = kPageSize;
constexpr uint32_t kSafteConfigLength = 64;
constexpr uint32_t kSlotOperationLength = 64;

// SES page codes.
constexpr uint8_t kPageSupported = 0;
constexpr uint8_t kPageConfiguration = 1;
constexpr uint8_t kPageStatus = 2;  // enclosure status (read) and control (written)
constexpr uint8_t kPageHelpText = 3;

// SAF-TE buffer ids and WRITE BUFFER commands.
constexpr uint8_t kSafteConfiguration = 0;
constexpr uint8_t kSafteStatus = 1;
constexpr uint8_t kSafteSlotStatus = 4;
constexpr uint8_t kSafteGlobalFlags = 5;
constexpr uint8_t kSafteSlotOperation = 0x12;
constexpr uint8_t kSafteSetFanSpeed = 0x13;
constexpr uint8_t kSafteSendGlobalFlags = 0x15;

// The first element descriptor of page 2 and the size of one descriptor.
constexpr std::size_t kFirstElement = 8;
constexpr std::size_t kElementSize = 4;
// An element status code.
constexpr uint8_t kStatusUnsupported = 0;
constexpr uint8_t kStatusOk = 1;
constexpr uint8_t kStatusCritical = 2;
constexpr uint8_t kStatusNotInstalled = 5;
// Control byte 0: SELECT; DISABLE and RST SWAP are never requested.
constexpr uint8_t kSelect = 0x80;
constexpr uint8_t kDisableAndSwap = 0x30;
constexpr uint8_t kIdentifyBit = 0x80;  // byte 1 of every element but the device

// The management lock time of the SAF-TE writes.
constexpr uint32_t kSafteLockTime = 5000;

// The element status code of a descriptor.
constexpr uint8_t StatusCode(const uint8_t* element) {
    return element[0] & 0x0F;
}

// The SES element type of an element kind (the device type for a slot);
// false for a kind that is no enclosure element.
bool SesTypeOfKind(uint8_t kind, uint8_t* sesType);

inline int32_t Fail(uint32_t apiCode) {
    return ApiError::Fail(apiCode);
}

inline bool IsSes(const ObjectId& id) {
    return id[ObjectId::kProtocol] == kProtocolSes;
}

inline uint16_t GetBe16(const Page& page, std::size_t at) {
    return at + 2 <= page.size() ? static_cast<uint16_t>(page[at] << 8 | page[at + 1]) : 0;
}
inline uint32_t GetBe32(const Page& page, std::size_t at) {
    return at + 4 <= page.size()
               ? static_cast<uint32_t>(page[at]) << 24 | static_cast<uint32_t>(page[at + 1]) << 16 |
                     static_cast<uint32_t>(page[at + 2]) << 8 | page[at + 3]
               : 0;
}

// The bytes of an SES page the enclosure declared and the buffer holds:
// the page length (bytes 2-3) + 4, never more than the buffer.
inline std::size_t SesPageExtent(const Page& page) {
    const std::size_t declared = std::size_t{GetBe16(page, 2)} + 4;
    return declared < page.size() ? declared : page.size();
}

// True when `width` bytes at `offset` lie inside the first `extent` bytes.
constexpr bool Inside(std::size_t extent, uint64_t offset, std::size_t width) {
    return offset <= extent && width <= extent - offset;
}

// The page offset of individual element k of a type whose overall element
// has index `first` (64-bit, so that no index from a reply can wrap).
constexpr uint64_t ElementOffset(uint32_t first, uint32_t k) {
    return kFirstElement + kElementSize * (uint64_t{first} + 1 + k);
}

// An SES element located in the status page just read.
struct SesElement {
    Page page;
    std::size_t offset = 0;  // of the element's 4 bytes in `page`

    uint8_t* bytes() { return page.data() + offset; }
};

// Takes the type range of the element's sub-enclosure, reads page 2 and
// finds element k of the type (the enclosure element for type 14). An
// element past the type's count or past the page the enclosure returned
// does not exist (API error 127).
[[nodiscard]] int32_t LocateElement(const ObjectId& id, uint8_t sesType, SesElement* element);

// Sends the status page back as a control page with the element changed
// (page code 2, length = page length + 4).
[[nodiscard]] int32_t SendControlPage(const ObjectId& id, SesElement* element);

// The enclosure configuration of a SAF-TE enclosure (buffer 0).
struct SafteConfig {
    uint8_t fans = 0;
    uint8_t supplies = 0;
    uint8_t slots = 0;
    uint8_t doorLocks = 0;  // 1 when the door lock byte is nonzero
    uint8_t sensors = 0;
    uint8_t alarms = 0;  // 1 when the alarm byte is nonzero
    bool celsius = false;

    // Offsets of the status buffer (buffer 1).
    std::size_t fanByte(uint32_t fan) const { return fan; }
    std::size_t slotByte(uint32_t slot) const { return std::size_t{fans} + supplies + slot; }
    std::size_t doorByte(uint32_t door) const {
        return std::size_t{fans} + supplies + slots + door;
    }
    std::size_t alarmByte(uint32_t alarm) const { return doorByte(1) + alarm; }
    std::size_t sensorByte(uint32_t sensor) const { return doorByte(2) + sensor; }
};

[[nodiscard]] int32_t ReadSafteConfig(const ObjectId& id, SafteConfig* config);

// Runs a SAF-TE write under the controller management lock and releases
// the lock on every path; the write's error stays in the record, and a
// failed release after a write that succeeded does not undo its success.
template <typename Write>
int32_t UnderManagementLock(const ObjectId& id, Write write) {
    return rhosk::UnderManagementLock(id.controllerId(), kSafteLockTime, write);
}

// Builds the element ids 0 to count - 1 with `make` into `list` (whose
// entries are 0xFF past the count); -1 at the first id that fails.
template <typename List, typename Make>
int32_t BuildIdList(const ObjectId& enclosureId, uint32_t count, Make make, List* out) {
    List list;
    list.clear();
    // Each builder refuses the number equal to its list's capacity, so the
    // loop stops there before the list could overflow or the number wrap.
    for (uint32_t n = 0; n < count; ++n) {
        ObjectId id = ObjectId::Blank();
        if (make(enclosureId, static_cast<uint8_t>(n < 0xFF ? n : 0xFE), &id) != 0)
            return -1;
        if (!list.add(id))
            return Fail(kApiElementMissing);
    }
    *out = list;
    return 0;
}

}  // namespace enclosure
