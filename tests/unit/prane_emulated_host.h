// The older family's operations through the real library over the
// emulated host: an older-family controller with drives and units, the
// command packets it received and the host's state after them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "api/prane/prane_family.h"
#include "rhosk_emulated_host.h"

namespace prane_emulated {

using integration::json;
using rhosk_emulated::DriveId;
using rhosk_emulated::LastApiCode;
using rhosk_emulated::UnitId;

constexpr uint64_t kDriveBlocks = 976773168;  // a 500 GB drive

inline json Drive(int port, uint64_t blocks = kDriveBlocks, const json& extra = json::object()) {
    json drive = {{"port", port},
                  {"capacity", blocks},
                  {"model", "Torvex TX500-S5"},
                  {"serial", "TQ0A00120" + std::to_string(port)},
                  {"firmware", "TX0.93"}};
    drive.merge_patch(extra);
    return drive;
}

// An older-family controller of `ports` ports with these drives and units.
inline json OlderController(int ports, const json& drives, const json& units,
                            const json& extra = json::object()) {
    json ctl = rhosk_emulated::FamilyController(
        3, 0, {{"settings", {{"ports", ports}}}, {"drives", drives}, {"units", units}});
    ctl.merge_patch(extra);
    return ctl;
}

class PraneEmulatedTest : public rhosk_emulated::RhoskEmulatedTest {
  protected:
    // The older-family packets other than parameter reads and writes that
    // were sent since the traffic was last cleared: 512 bytes each.
    std::vector<std::vector<uint8_t>> Commands() const {
        std::vector<std::vector<uint8_t>> out;
        for (const integration::SentRequest& r : sent_) {
            if (r.size() < 544 || r.signature().rfind("Kivra  ", 0) != 0)
                continue;
            const uint8_t opcode = r.bytes[32];
            if (opcode == 0x52 || opcode == 0x53)
                continue;
            out.emplace_back(r.bytes.begin() + 32, r.bytes.begin() + 544);
        }
        return out;
    }

    // The opcodes (byte 0) of those packets, in order.
    std::vector<int> CommandOpcodes() const {
        std::vector<int> out;
        for (const auto& packet : Commands())
            out.push_back(packet[0]);
        return out;
    }

    static const json& Units(emulator::EmulatedHost& host) { return HostController(host)["units"]; }
};

}  // namespace prane_emulated
