// The newer family's SAS operations: the phys of a controller (count, SAS
// address, link speeds and the settable link speed limit), the wiring
// between a phy and the drive port behind it, a drive's world wide name,
// the link speed limits for drives behind enclosures and the controller's
// own unit and drive-count limits. Family 8 has all of them; a family-7
// controller with SAS phys has the phy count and the per-phy link speeds.
//
// Every operation reads or writes one parameter at a time through
// RhoskFamily::GetParam / SetParam; nothing is cached. Outputs are written
// only on success, except where an operation says otherwise.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/object_id.h"

// SAS phys and the limits of family 8 (and family 7 with SAS phys). Same
// layout and constructor as RhoskFamily; the process-wide object is built
// with the driver's other start-up objects (api/driver.cpp).
class SasFamily {
  public:
    constexpr SasFamily() = default;

    // Bytes of a SAS address and of a world wide name.
    static constexpr std::size_t kNameSize = 8;

    // The number of phys (PhySummaryTable parameter 2); any id of the
    // controller.
    [[nodiscard]] static int32_t GetNumPhys(ObjectId id, uint32_t* count);
    // The link speed limits for SATA and SAS drives behind enclosures
    // (ControllerSettingsTable parameters 37 and 38).
    [[nodiscard]] static int32_t GetSataEnclosureLinkSpeedLimit(ObjectId controller,
                                                                uint8_t* speed);
    [[nodiscard]] static int32_t GetSasEnclosureLinkSpeedLimit(ObjectId controller, uint8_t* speed);

    // Per phy (PhyTable 0x80 + byte 2). A phy number of 128 or more names
    // no PhyTable (the id would run into the drive tables that follow it)
    // and is refused with API error 120 before anything is sent.
    // The SAS address: kNameSize bytes in the order the controller sends them.
    [[nodiscard]] static int32_t GetPhySasAddress(ObjectId phy, uint8_t* address);
    [[nodiscard]] static int32_t GetPhyLinkSpeedSupported(ObjectId phy, uint8_t* speed);
    [[nodiscard]] static int32_t GetPhyLinkSpeed(ObjectId phy, uint8_t* speed);
    [[nodiscard]] static int32_t GetPhyLinkSpeedControl(ObjectId phy, uint8_t* speed);
    // Writes the code as given: the command class passes only 0, 1 and 2.
    [[nodiscard]] static int32_t SetPhyLinkSpeedControl(ObjectId phy, uint8_t speed);

    // The world wide name of the port's drive (DriveTable 0x200 + byte 2,
    // parameter 27): kNameSize bytes as the controller sends them.
    [[nodiscard]] static int32_t GetDriveWwn(ObjectId drive, uint8_t* wwn);

    // The controller's limits (ControllerSettingsTable 39, 40, 41; two
    // bytes each, so 0 to 0xFFFF).
    [[nodiscard]] static int32_t GetMaxUnitCount(ObjectId controller, uint32_t* count);
    [[nodiscard]] static int32_t GetMaxDrivesPerUnit(ObjectId controller, uint32_t* count);
    [[nodiscard]] static int32_t GetMaxActiveUnitCount(ObjectId controller, uint32_t* count);

    // The phy through which the port's drive is attached (DriveTable 32).
    // A bad port or controller number: API error 11; no drive on the port
    // or no phy for it: API error 101.
    [[nodiscard]] static int32_t GetPortPhyId(ObjectId port, ObjectId* phy);
    // The lowest present port whose drive is in no enclosure and is
    // attached through the phy. A bad phy number: API error 120 (output
    // untouched); no such port: API error 101. Once the phy number has
    // passed its test the output is set to eight 0xFF bytes first, so a
    // later failure leaves it so.
    [[nodiscard]] static int32_t GetPhyPortId(ObjectId phy, ObjectId* port);
};
