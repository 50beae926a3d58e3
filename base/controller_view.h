// What a unit, port, phy or enclosure sees of the controller that owns it:
// the controller's identity and family, its ports and battery, the texts
// of the library's codes it prints with, the unit changes the controller
// carries out for a unit, and the drive performance monitor's settings.
// The controller implements it, so that its parts need not know it.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "api/object_id.h"

struct DpmConfig;

class ControllerView {
  public:
    virtual ~ControllerView() = default;

    // --- Identity ---
    [[nodiscard]] virtual std::string getName() const = 0;
    [[nodiscard]] virtual uint32_t getNumber() const = 0;
    [[nodiscard]] virtual int32_t getFamily() const = 0;
    virtual void getObjectId(ObjectId* id) const = 0;
    [[nodiscard]] virtual uint32_t getBasicVerifySupported() const = 0;
    // True when `number` names a drive port of the controller.
    [[nodiscard]] virtual bool hasPort(int64_t number) const = 0;

    // --- The battery backup unit ---
    // False when the controller has no battery object or no battery is
    // there.
    virtual bool isBatteryPresent(bool useCached) = 0;
    // The battery's online state and readiness texts; "-" when the
    // controller has no battery object.
    virtual std::string getBatteryOnlineState() = 0;
    virtual std::string getBatteryReady() = 0;

    // --- Texts ---
    [[nodiscard]] virtual std::string getUnitTypeText(uint32_t type) const = 0;
    [[nodiscard]] virtual std::string getUnitStatusText(uint8_t status) const = 0;
    [[nodiscard]] virtual std::string getDriveStatusText(uint8_t status) const = 0;
    [[nodiscard]] virtual std::string getCapacityText(uint64_t blocks) const = 0;
    virtual void toLower(std::string& text) = 0;

    // --- Unit changes that the controller carries out ---
    virtual int removeUnit(const std::string& unitName, bool makeOsAware, bool unitOnly,
                           bool quiet) = 0;
    virtual int deleteUnit(const std::string& unitName, bool makeOsAware, bool quiet) = 0;
    virtual int migrateUnit(const std::string& unitName, const std::string& targetType,
                            std::istream& options) = 0;

    // --- Drive performance monitor ---
    virtual int getPmstatConfig(DpmConfig* config) = 0;
    virtual void showIostatHeader() = 0;
};
