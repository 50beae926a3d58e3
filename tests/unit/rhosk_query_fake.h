// A newer-family controller for the query tests, behind the scripted fake
// host: it answers the parameter get and set commands from a map keyed by
// (table, parameter), records every access, and answers the lock, unlock
// and commit requests. Discovery finds it as controller 0 of the family
// that its model code and bus bits give.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "api/object_id.h"
#include "controllers/controller_rhosk.h"
#include "fake_host.h"

class RhoskQueryFirmware {
  public:
    struct Access {
        bool set;
        uint16_t table;  // as sent: bit 15 set
        uint16_t parameter;
        uint16_t size;
        std::vector<uint8_t> value;  // written bytes of a set
    };

    // Installs a fresh fake host with one controller of `family` (4, 6, 7
    // or 8) at firmware compatibility level `level`.
    RhoskQueryFirmware(int family, uint32_t level);
    ~RhoskQueryFirmware();

    // Parameter values, little-endian.
    void put(uint16_t table, uint16_t parameter, std::vector<uint8_t> value) {
        params_[{Key(table), parameter}] = std::move(value);
    }
    void remove(uint16_t table, uint16_t parameter) { params_.erase({Key(table), parameter}); }
    void putValue(uint16_t table, uint16_t parameter, uint64_t value, size_t size);
    std::vector<uint8_t>& get(uint16_t table, uint16_t parameter) {
        return params_[{Key(table), parameter}];
    }
    uint64_t value(uint16_t table, uint16_t parameter);

    // The accesses since the last clear (discovery's own reads excluded).
    std::vector<Access> accesses;
    int locks = 0;
    int unlocks = 0;
    ObjectId controller() const;

    // Tables are sent with bit 15 set.
    static uint16_t Key(uint16_t table) { return static_cast<uint16_t>(table | 0x8000); }

  private:
    std::map<std::pair<uint16_t, uint16_t>, std::vector<uint8_t>> params_;
};

// A family-4 controller object c0 over the fake controller at level 30:
// no ports and the BBU disabled, then whatever `prepare` sets (which may
// change those two) before the object is built.
struct FakeRhoskController {
    RhoskQueryFirmware fw{4, 30};
    std::unique_ptr<ControllerRhosk> controller;

    explicit FakeRhoskController(const std::function<void(RhoskQueryFirmware&)>& prepare = {});
};
