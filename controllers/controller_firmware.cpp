// The firmware update of a newer-family controller: the library examines
// the image against the controller, its driver and the management library,
// the versions and a recommendation are shown, the user confirms, and the
// image is downloaded.
#include <iostream>
#include <string>

#include "api/api.h"
#include "api/audit_log.h"
#include "base/shell_services.h"
#include "controllers/controller_wescal.h"

namespace {

// The download takes the file name as a terminated text of this field.
constexpr std::size_t kFileNameFieldSize = 256;

// One verdict of the compatibility table: the library's (A) and the
// driver's (D) answer, the two lines printed and whether to go on.
struct Verdict {
    uint8_t api;
    uint8_t driver;
    const char* first;
    const char* second;
    int result;
};

constexpr Verdict kVerdicts[] = {
    {1, 1, "Both API and Driver are compatible with the new firmware.",
     "Recommendation: proceed to update.", 0},
    {1, 0, "Current driver is not compatible with the new firmware.  ",
     "Recommendation: Update driver and then update the firmware.", -1},
    {0, 1, "Current management tools are not compatible with the new firmware.",
     "Recommendation: Update tools and then update the firmware.", 0},
    {0, 0, "Neither management tools nor drive are compatible with the new firmware.",
     "Recommendation: Update tools and driver and then update the firmware.", -1},
};

void printUpdateWarning() {
    std::cout << "\n"
              << "Warning: Updating the firmware can render the device driver and/or\n"
              << "management tools incompatible. Before you update the firmware,\n"
              << "it is recommended that you:\n\n"
              << "1) Back up your data.\n\n"
              << "2) Make sure you have a copy of the current firmware image so that\n"
              << "you can roll back, if necessary.\n\n"
              << "3) Close all applications.\n";
}

}  // namespace

int ControllerWescal::examineFirmwareImage(const std::string& fileName,
                                           FirmwareCompatRecord* record) {
    std::cout << "\n";
    printProgress("Examining compatibility data from firmware image and /" + name + " ... ");
    if (Api::GetFirmwareImageCompatibility(objectId, fileName.c_str(), 0, record) != 0)
        throwFailedApiError();
    if (record->controllerCompatible != 0) {
        std::cout << "Done." << std::endl;
        return 0;
    }
    std::cout << "incompatible, skipping." << std::endl;
    return -1;
}

int ControllerWescal::showFirmwareCompatibility(const std::string& fileName) {
    FirmwareCompatRecord record{};
    if (examineFirmwareImage(fileName, &record) != 0)
        return -1;
    std::cout << "\n"
              << "New-Firmware        Current-Firmware    Current-Driver      Current-API "
              << "\n"
              << std::string(72, '-') << "\n";
    std::cout << ShellServices::padText(record.newFirmwareVersion, 20)
              << ShellServices::padText(record.firmwareVersion, 20)
              << ShellServices::padText(record.driverVersion, 20)
              << ShellServices::padText(record.apiVersion, 18) << "\n\n";
    for (const Verdict& verdict : kVerdicts) {
        if (verdict.api == record.apiCompatible && verdict.driver == record.driverCompatible) {
            std::cout << verdict.first << "\n" << verdict.second << "\n\n";
            return verdict.result;
        }
    }
    std::cout << "Failed firmware image compatibility check [API: "
              << static_cast<unsigned>(record.apiCompatible)
              << ", DRV: " << static_cast<unsigned>(record.driverCompatible) << "].\n";
    return -1;
}

int ControllerWescal::updateFirmware(const std::string& fileName, uint8_t force, uint8_t warning) {
    // The download takes the name as a text of 255 characters at most: a
    // longer name would download another file than the one examined.
    if (fileName.size() >= kFileNameFieldSize)
        throwError(kInvalidImageFileName);

    if (force != 0) {
        FirmwareCompatRecord record{};
        if (examineFirmwareImage(fileName, &record) != 0)
            return 0;
        if (record.driverCompatible == 0) {
            std::cout << "Current driver is not compatible with the new firmware.  Skipping..."
                      << std::endl;
            return 0;
        }
    } else {
        if (warning != 0)
            printUpdateWarning();
        if (showFirmwareCompatibility(fileName) != 0)
            return 0;
        if (!ShellServices::confirm("Given the above recommendation..."))
            return 0;
    }

    printProgress("Downloading the firmware from file " + fileName + " ... ");
    char field[kFileNameFieldSize] = {};
    fileName.copy(field, sizeof field - 1);
    const int result = theAuditLog != nullptr ? theAuditLog->DownloadFirmware(objectId, field)
                                              : Api::DownloadFirmware(objectId, field);
    if (result < 0)
        throwFailedApiError();
    std::cout << "Done. \nThe new image will take effect after reboot." << std::endl;
    requireLockReleased(result);
    return 0;
}
