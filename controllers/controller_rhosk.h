// The oldest generation of the newer family: it alone has the ignore-FUA
// write and cache-on-degrade policies.
#pragma once

#include "controllers/controller_wescal.h"

class ControllerRhosk : public ControllerWescal {
  public:
    ControllerRhosk(const std::string& controllerName, uint32_t controllerNumber, ObjectId id);
    ~ControllerRhosk() override;

    int setIgnoreFuaWrite(std::istream& words, const std::string& word) override;
    std::string getIgnoreFuaWrite() override;
    int setOnDegrade(const std::string& word) override;
    std::string getOnDegrade() override;

  private:
    int enableIgnoreFuaWrite();
    int disableIgnoreFuaWrite();
};
