// A small scripted controller firmware for the transport tests: it answers
// the driver requests that reach a FakeHost controller path (slot query,
// parameter get and set of both families, lock, unlock, commit) from a
// parameter map, and lets a test override what comes back.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fake_host.h"

struct FakeFirmware {
    // Parameters by (table without bit 15, parameter number).
    std::map<std::pair<uint16_t, uint16_t>, std::vector<uint8_t>> params;
    std::optional<uint16_t> slot = 0;  // none: the slot query fails
    // Applied to every answered request buffer last (ReturnCode, status ...).
    std::function<void(std::vector<uint8_t>& buf)> tamper;
    // Every parameter set: (table, parameter, value).
    std::vector<std::tuple<uint16_t, uint16_t, std::vector<uint8_t>>> sets;

    void setU32(uint16_t table, uint16_t parameter, uint32_t value);
    void setText(uint16_t table, uint16_t parameter, const std::string& text, size_t size);
};

// Instance id of a controller of PCI device type 1-6.
std::string ControllerInstanceId(int deviceType, int n);

// Adds a controller to the fake host whose driver is answered by `firmware`.
std::shared_ptr<FakeFirmware> AddFirmwareController(FakeHost& host, const std::string& path,
                                                    int deviceType, uint32_t devInst);

// A newer-family controller of `model` (ControllerInfoTable parameter 14),
// with bus bits (parameter 26 of the settings table) and a serial number.
std::shared_ptr<FakeFirmware> AddRhoskController(FakeHost& host, const std::string& path,
                                                 uint32_t model, std::optional<uint32_t> busBits,
                                                 uint32_t devInst);
// An older-family controller with a serial number.
std::shared_ptr<FakeFirmware> AddPraneController(FakeHost& host, const std::string& path,
                                                 uint32_t devInst);
