// The controller's phy table ("show phy"): one row per SAS phy with its SAS
// address, the attached device and the link speeds.
#include <cstdio>
#include <iostream>
#include <string>

#include "api/api.h"
#include "controllers/controller.h"
#include "shell/shell.h"

namespace {

constexpr int kCliNotSupported = 149;

// The cells of one phy, read from the library by the phy's identifier.
// The phy objects of the tree print the same row for /cN/phyM; the
// controller's table reads the cells itself so that it needs no phy
// objects.
class PhyRow {
  public:
    PhyRow(std::string controllerName, ObjectId id)
        : controller_(std::move(controllerName)), id_(id) {}

    std::string sasAddress() const {
        uint8_t address[kWorldWideNameSize] = {};
        if (Api::GetPhySasAddress(id_, address) != 0 || address[0] == 0)
            return "-";
        std::string text;
        for (uint8_t byte : address) {
            char digits[3];
            std::snprintf(digits, sizeof digits, "%02x", byte);
            text += digits;
        }
        return text;
    }

    std::string deviceType() const {
        uint8_t type = 0;
        if (Api::GetPhyDeviceType(id_, &type) != 0)
            return "-";
        static const char* const kTypes[] = {"-", "SATA", "SAS", "ENCL", "ENCL-ERR"};
        return type < sizeof kTypes / sizeof kTypes[0] ? kTypes[type] : "-";
    }

    // The drive port behind a SATA or SAS phy; "-" when the library names
    // no port.
    std::string device(const std::string& type) const {
        if (type == "ENCL")
            return "N/A";
        if (type != "SATA" && type != "SAS")
            return "-";
        ObjectId port{};
        uint8_t controllerNumber = 0;
        uint8_t portNumber = 0;
        if (Api::GetPhyPortId(id_, &port) != 0 ||
            Api::ParsePortId(port, &controllerNumber, &portNumber) != 0)
            return "-";
        return "/" + controller_ + "/p" + std::to_string(portNumber);
    }

    std::string supportedSpeeds() const {
        uint8_t speed = 0;
        if (Api::GetPhyLinkSpeedSupported(id_, &speed) != 0)
            return "Unknown";
        switch (speed) {
            case kLinkSpeed1_5:
                return "1.5";
            case kLinkSpeed3_0:
                return "3.0";
            case kLinkSpeedBoth:
                return "1.5-3.0";
            default:
                return "";
        }
    }

    // The current speed and the limit end the table with the library's
    // error when they cannot be read.
    std::string currentSpeed() const {
        uint8_t speed = 0;
        if (Api::GetPhyLinkSpeed(id_, &speed) != 0)
            Controller::throwApiError();
        return speed == kLinkSpeed1_5 ? "1.5" : speed == kLinkSpeed3_0 ? "3.0" : "-";
    }

    std::string speedLimit() const {
        uint8_t speed = 0;
        if (Api::GetPhyLinkSpeedControl(id_, &speed) != 0)
            Controller::throwApiError();
        switch (speed) {
            case kLinkSpeedAuto:
                return "Auto";
            case kLinkSpeed1_5:
                return "1.5";
            case kLinkSpeed3_0:
                return "3.0";
            default:
                return "-";
        }
    }

  private:
    std::string controller_;
    ObjectId id_;
};

}  // namespace

void Controller::showPhys() {
    uint32_t level36 = 0;
    if (Api::HasFirmwareCompatLevel36(objectId, &level36) != 0 || level36 == 0)
        throwError(kCliNotSupported);
    std::cout << "\n"
              << "                             Device              --- Link Speed (Gbps) ---\n"
              << "Phy     SAS Addesss          Type     Device     Supported  Enabled  Control\n"
              << std::string(77, '-') << "\n";
    uint32_t count = 0;
    if (Api::GetNumPhys(objectId, &count) != 0)
        throwApiError();
    for (uint32_t i = 0; i < count; ++i) {
        ObjectId id{};
        if (Api::MakePhyId(static_cast<uint8_t>(number), static_cast<uint8_t>(i), &id) != 0)
            throwApiError();
        const PhyRow row(name, id);
        const std::string type = row.deviceType();
        std::cout << Shell::padText("phy" + std::to_string(i), 8)
                  << Shell::padText(row.sasAddress(), 21) << Shell::padText(type, 9)
                  << Shell::padText(row.device(type), 11)
                  << Shell::padText(row.supportedSpeeds(), 11);
        const std::string current = row.currentSpeed();
        const std::string limit = row.speedLimit();
        std::cout << Shell::padText(current, 9) << Shell::padText(limit, 7) << "\n";
    }
}
