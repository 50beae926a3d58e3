// The controller's phy table ("show phy"): its own header, then one row per
// SAS phy of the tree, printed by the phy objects.
#include <iostream>
#include <string>

#include "api/api.h"
#include "controllers/controller.h"
#include "devices/phy.h"

void Controller::showPhys() {
    uint32_t level36 = 0;
    if (Api::HasFirmwareCompatLevel36(objectId, &level36) != 0 || level36 == 0)
        throwError(kFeatureNotSupported);
    // The controller's header names the address column in its own words;
    // a phy's own table has the phy's header.
    std::cout << "\n"
              << "                             Device              --- Link Speed (Gbps) ---\n"
              << "Phy     SAS Addesss          Type     Device     Supported  Enabled  Control\n"
              << std::string(77, '-') << "\n";
    uint32_t count = 0;
    if (Api::GetNumPhys(objectId, &count) != 0)
        throwApiError();
    for (uint32_t i = 0; i < count; ++i)
        getPhy("phy" + std::to_string(i))->showRow(true);
}
