#include "emulator/packet_rules.h"

#include <cstdio>

#include "emulator/controller_codes.h"

namespace emulator {

namespace {

// How a command's bytes 6-7 are fixed. `Update`: the unit update's word
// 6 is the data length of a new layout (action 0, checked with the
// layout itself) and 0 for every other action, whose data it does not
// read (the split and the join of a mirror).
enum class Field6 : uint8_t { Free, Word, Byte, Update };

// Byte 10 of the unit update: its action.
constexpr size_t kUpdateActionByte = 10;
constexpr uint8_t kUpdateNewLayout = 0;

// Byte 1 of a command that carries something else there (the SCSI
// pass-through's target).
constexpr uint8_t kAnySize = 0xFF;

struct PacketRule {
    uint8_t opcode;     // bits 0-4 of byte 0
    uint8_t byte0;      // the whole byte 0
    uint8_t byte0Data;  // the whole byte 0 of the command with a data area
    uint8_t size;       // byte 1
    uint8_t sizeAlt;    // another byte 1 the command may carry
    Field6 field6;
    uint16_t value6;
};

constexpr PacketRule kRhoskRules[] = {
    {0x00, 0x00, 0x00, 2, 2, Field6::Free, 0},                // probe after a unit change
    {0x05, 0x05, 0x05, 2, 2, Field6::Byte, 0},                // verify
    {0x06, 0x06, 0x06, 3, 6, Field6::Free, 0},                // port detection
    {0x07, 0x07, 0x07, 3, 6, Field6::Word, 0},                // import scan
    {0x09, 0x09, 0x09, 2, 2, Field6::Free, 0},                // attach replacement
    {0x0A, 0x0A, 0x0A, 2, 2, Field6::Byte, 0},                // remove drive
    {0x0E, 0x0E, 0x0E, 2, 2, Field6::Word, 0},                // flush
    {0x0F, 0x6F, 0x6F, 3, 3, Field6::Update, 0},              // unit update
    {0x10, 0x10, 0x10, kAnySize, kAnySize, Field6::Word, 0},  // SCSI pass-through
    {0x11, 0x11, 0xB1, 5, 5, Field6::Free, 0},                // ATA pass-through
    {0x12, 0x52, 0x52, 2, 2, Field6::Word, 1},                // get parameter
    {0x13, 0x53, 0x53, 2, 2, Field6::Word, 1},                // set parameter
    {0x14, 0x74, 0x74, 3, 3, Field6::Free, 0},                // create unit
    {0x15, 0x15, 0x15, 2, 2, Field6::Byte, 0},                // delete, export, release
    {0x16, 0x56, 0x56, 2, 2, Field6::Word, 8},                // firmware image chunk
    {0x17, 0x17, 0x17, 2, 2, Field6::Byte, 0x80},             // start rebuild
    {0x1E, 0x1E, 0x1E, 2, 2, Field6::Word, 1},                // battery test
};

constexpr PacketRule kPraneRules[] = {
    {0x05, 0x05, 0x05, 2, 2, Field6::Free, 0},  // verify
    {0x06, 0x06, 0x06, 3, 3, Field6::Free, 0},  // port detection
    {0x07, 0x07, 0x07, 3, 3, Field6::Free, 0},  // import scan
    {0x09, 0x09, 0x09, 2, 2, Field6::Free, 0},  // attach replacement
    {0x0A, 0x0A, 0x0A, 2, 2, Field6::Byte, 0},  // remove drive
    {0x0E, 0x0E, 0x0E, 2, 2, Field6::Free, 0},  // flush
    {0x11, 0xB1, 0xB1, 5, 5, Field6::Free, 0},  // ATA pass-through
    {0x12, 0x52, 0x52, 2, 2, Field6::Word, 1},  // 'R' get parameter
    {0x13, 0x53, 0x53, 2, 2, Field6::Word, 1},  // 'S' set parameter
    {0x14, 0x54, 0x54, 2, 2, Field6::Free, 0},  // 'T' create unit
    {0x15, 0x15, 0x15, 2, 2, Field6::Free, 0},  // delete or export
    {0x16, 0x56, 0x56, 2, 2, Field6::Word, 8},  // 'V' firmware image
    {0x17, 0x17, 0x17, 2, 2, Field6::Free, 0},  // unit task
    {0x18, 0x18, 0x18, 2, 2, Field6::Free, 0},  // media scan
    {0x19, 0x59, 0x59, 2, 2, Field6::Word, 2},  // 'Y' error log
    {0x1C, 0x5C, 0x5C, 4, 4, Field6::Free, 0},  // read next event
    {0x1D, 0x1D, 0x1D, 0, 0, Field6::Free, 0},  // driver version
    {0x1E, 0x1E, 0x1E, 0, 0, Field6::Free, 0},  // commit
};

template <size_t N>
const PacketRule* ruleFor(const PacketRule (&rules)[N], uint8_t opcode) {
    for (const PacketRule& rule : rules) {
        if (rule.opcode == opcode)
            return &rule;
    }
    return nullptr;
}

std::string describe(const char* field, unsigned sent, const char* format, unsigned expected) {
    char text[96];
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, format, expected);
    std::snprintf(text, sizeof text, format, sent);
    return std::string("packet ") + field + " is " + text + ", expected " + wanted;
}

// Why the packet breaks its rule; empty when it does not. `opcodeByte`
// tells whether the fault lies in byte 0.
std::string breach(const PacketRule& rule, ConstByteSpan bytes, size_t packet, bool withData,
                   bool* opcodeByte) {
    const uint8_t byte0 = get8(bytes, packet);
    const uint8_t expected0 = withData ? rule.byte0Data : rule.byte0;
    *opcodeByte = byte0 != expected0;
    if (*opcodeByte)
        return describe("byte 0", byte0, "0x%02X", expected0);
    const uint8_t size = get8(bytes, packet + 1);
    if (rule.size != kAnySize && size != rule.size && size != rule.sizeAlt) {
        std::string reason = describe("byte 1", size, "%u", rule.size);
        if (rule.sizeAlt != rule.size)
            reason += " or " + std::to_string(rule.sizeAlt);
        return reason;
    }
    const bool wordFixed = rule.field6 == Field6::Word ||
                           (rule.field6 == Field6::Update &&
                            get8(bytes, packet + kUpdateActionByte) != kUpdateNewLayout);
    if (wordFixed && get16(bytes, packet + 6) != rule.value6)
        return describe("word 6", get16(bytes, packet + 6), "%u", rule.value6);
    if (rule.field6 == Field6::Byte && get8(bytes, packet + 6) != rule.value6)
        return describe("byte 6", get8(bytes, packet + 6), "%u", rule.value6);
    return std::string();
}

}  // namespace

PacketFault checkPacket(Family family, ConstByteSpan bytes, size_t packet, bool withData) {
    const uint8_t opcode = get8(bytes, packet) & 0x1F;
    const PacketRule* rule =
        family == Family::Rhosk ? ruleFor(kRhoskRules, opcode) : ruleFor(kPraneRules, opcode);
    PacketFault fault;
    if (rule == nullptr)
        return fault;
    bool opcodeByte = false;
    fault.reason = breach(*rule, bytes, packet, withData, &opcodeByte);
    if (fault.reason.empty())
        return fault;
    if (family == Family::Rhosk)
        fault.code = opcodeByte ? kFwInvalidOpcode : kFwInvalidField;
    else
        fault.code = opcodeByte ? kPraneUnsupportedOpcode : kPraneUnsupportedCommand;
    return fault;
}

}  // namespace emulator
