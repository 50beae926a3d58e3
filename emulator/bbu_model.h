// The battery backup unit of a newer-family controller: the status word
// and the status its BbuTable (0x8006) reports, and the battery capacity
// test (firmware opcode 0x1E).
#pragma once

#include <nlohmann/json.hpp>

#include "emulator/controller_model.h"
#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

// The status word: present, battery, ready, voltage and temperature
// levels ("status_word" stands for all of them). No "bbu": no BBU.
void deriveBbuStatusWord(const ControllerModel& model, const nlohmann::json* object, Bytes& out);
// The battery's status code.
void deriveBbuStatus(const ControllerModel& model, const nlohmann::json* object, Bytes& out);

// Starts the battery capacity test: the BBU must be there, enabled, hold
// a battery, be ready and not be testing already. A started test shows
// as the status "Testing" until the host file says otherwise.
FirmwareResult startBatteryTest(nlohmann::json& ctl, const ControllerModel& model,
                                ConstByteSpan command);

}  // namespace emulator
