// The generation of the newer family with families 6 and 7.
#pragma once

#include "controllers/controller_wescal.h"

class ControllerSolvane : public ControllerWescal {
  public:
    ControllerSolvane(const std::string& controllerName, uint32_t controllerNumber, ObjectId id);
    ~ControllerSolvane() override;

    int setIgnoreFuaWrite(std::istream& words, const std::string& word) override;
    std::string getIgnoreFuaWrite() override;
    int setOnDegrade(const std::string& word) override;
    std::string getOnDegrade() override;
};
