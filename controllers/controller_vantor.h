// The newest generation of the newer family (family 8): SAS phys, its own
// enclosures and the connection, unit and drive counts and limits.
#pragma once

#include "controllers/controller_wescal.h"

class ControllerVantor : public ControllerWescal {
  public:
    ControllerVantor(const std::string& controllerName, uint32_t controllerNumber, ObjectId id);
    ~ControllerVantor() override;

    int setIgnoreFuaWrite(std::istream& words, const std::string& word) override;
    std::string getIgnoreFuaWrite() override;
    int setOnDegrade(const std::string& word) override;
    std::string getOnDegrade() override;
    uint32_t getMaxConnections() override;
    uint32_t getUnitLimit() override;
    uint32_t getMaxUnits() override;
    uint32_t getMaxDrives() override;
    uint32_t getMaxActiveUnits() override;
    uint32_t getMaxDrivesPerUnit() override;
    uint32_t getNumPhys() override;
    uint32_t getNumActiveDrives() override;
    std::string getSasEnclosureLimit() override;
    std::string getSataEnclosureLimit() override;
    uint32_t getNumActiveUnits() override;

    // "Auto", "1.5 Gbps", "3.0 Gbps" or "N/A" for a link speed limit code.
    static std::string linkSpeedLimitText(uint32_t code);

  private:
    // Reads one count of the controller; a failure prints "Failed." and
    // throws the library's error.
    template <class Read>
    uint32_t readCount(Read read);
    // The text of one of the enclosure link speed limits; a failure prints
    // "Failed." and throws the library's error.
    std::string readLinkSpeedLimit(int (*read)(ObjectId, uint8_t*));
};
