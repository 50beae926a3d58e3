// The older-family controller's own behaviour beyond the plain parameter
// tables: the unit descriptor and the raw unit states it derives from the
// host file's units, the progress table, the event queue, and the command
// packets that create, delete, rebuild and verify units, find and remove
// drives, and answer the driver version, SMART data, error log and
// firmware image.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>

#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

class ControllerModel;

// UnitSummaryTable parameter 3: one raw state byte per unit 0-15.
void derivePraneUnitStates(const ControllerModel& model, const nlohmann::json* object, Bytes& out);
// UnitTable parameter 5: the descriptor's length + 3.
void derivePraneDescriptorLength(const ControllerModel& model, const nlohmann::json* unit,
                                 Bytes& out);
// UnitTable parameter 6: the unit descriptor, sized by praneDescriptorSize.
void derivePraneDescriptor(const ControllerModel& model, const nlohmann::json* unit, Bytes& out);
[[nodiscard]] uint32_t praneDescriptorSize(const ControllerModel& model,
                                           const nlohmann::json* unit);

// A read of ProgressTable (0x406) parameter 2 for the unit in the packet's
// host byte; false when the packet is no such read.
bool answerPraneProgress(const nlohmann::json& ctl, const Bytes& packet, Bytes& data,
                         FirmwareResult* result);

// Every packet other than the parameter reads and writes. The caller sets
// the status byte from the result's code.
FirmwareResult executePraneTask(nlohmann::json& ctl, Bytes& packet, Bytes& data);

}  // namespace emulator
