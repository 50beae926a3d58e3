// The storage enclosures behind an emulated newer-family controller: SES
// enclosures (one or several sub-enclosures, each an SES device on its own
// LUN) and SAF-TE enclosures, described compactly under the controller's
// "enclosures" (see emulator/README.md) and answering the SCSI commands the
// controller passes through to them (firmware opcode 0x10): INQUIRY,
// RECEIVE DIAGNOSTIC RESULTS and SEND DIAGNOSTIC for SES pages 0-3, READ
// BUFFER and WRITE BUFFER for the SAF-TE buffers and commands.
#pragma once

#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

class ControllerModel;

// What the devices behind one controller answer, gathered once per
// version of its description as they are addressed: where each device is
// described, its page layout and every reply it has given. The
// controller's model keeps it, so every change drops it; a command that
// changes an enclosure works on the JSON.
class EnclosureAnswers {
  public:
    EnclosureAnswers();
    ~EnclosureAnswers();
    EnclosureAnswers(const EnclosureAnswers&) = delete;
    EnclosureAnswers& operator=(const EnclosureAnswers&) = delete;

    struct Device;
    // The device at a pass-through target and LUN, found when first asked for.
    [[nodiscard]] Device& device(const ControllerModel& model, uint8_t target, uint8_t lun);

  private:
    std::unordered_map<uint16_t, std::unique_ptr<Device>> devices_;
};

// The firmware opcode of the SCSI pass-through.
constexpr uint8_t kScsiPassThroughOpcode = 0x10;

// Carries out one pass-through command: `command` is the command area (the
// FirmwareCommandHeader and the packet with the target, the LUN field and
// the CDB), `data` the data area, answered in place. A command that finds
// no device, or that the enclosure refuses, fails with a controller code.
FirmwareResult executeScsiPassThrough(nlohmann::json& controller, const ControllerModel& model,
                                      ByteSpan command, ByteSpan data);

// True for the pass-through commands that only read (INQUIRY, RECEIVE
// DIAGNOSTIC RESULTS, READ BUFFER): they change no enclosure.
[[nodiscard]] bool scsiCommandReads(uint8_t cdbOpcode);

// The request log's fields of a pass-through: "scsi" (the CDB opcode),
// "target", "lun", and "page" (SES page) or "buffer" (SAF-TE buffer id, or
// the WRITE BUFFER command code) and "length".
void describeScsiPassThrough(ConstByteSpan command, ConstByteSpan data, nlohmann::json& record);

// EnclosureDiscoveryTable parameters 2 (the controller's enclosure
// protocol) and 4 (the SES addressing mode of each port), derived from the
// description; the firmware's parameter table reads them through these.
void deriveEnclosureProtocol(const ControllerModel& model, const nlohmann::json* object,
                             Bytes& out);
void deriveEnclosureModes(const ControllerModel& model, const nlohmann::json* object, Bytes& out);

}  // namespace emulator
