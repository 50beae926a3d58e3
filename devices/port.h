// The command object of one drive port of a controller, /cN/pK. It holds no
// drive state: every status and attribute is read from the library when it
// is shown.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>

#include "api/object_id.h"
#include "base/controller_view.h"
#include "base/object.h"

struct DpmStats;

class Port : public Object {
  public:
    // The controller's port `portNumber`, named "p" + number, with the
    // identifier the library made for it.
    Port(ControllerView* owner, const std::string& portName, uint32_t portNumber, ObjectId portId);
    ~Port() override;
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    int execute(std::istream& words) override;

    // Takes the port's drive out of use, asking first unless `quiet` (the
    // controller's own remove command passes true).
    int remove(bool quiet);

    // The drive table row; with the header of the port's own table first.
    void showRow(bool withHeader);
    // The row of the controller's I/O statistics table with the port's
    // pending-I/O count.
    void showIostatRow(uint16_t pending);

    // --- Drive performance monitor rows (devices/port_dpmstat.cpp); the
    // controller's views print their own header and pass false ---
    void showDpmstatInst(bool withHeader);
    void showDpmstatRa(bool withHeader, uint32_t onDisk);
    void showDpmstatExt(bool withHeader);

    // --- Single attribute lines (also the old-style info command's) ---
    // Each needs a drive on the port (CLI 20 for an empty port); a failed
    // read ends the command with the library's error.
    void showStatus();
    void showModel();
    void showSerial();
    void showCapacity();
    void showFirmware();
    // The drive's SMART data; CLI 142 for a SAS drive.
    void showSmart();

    // --- Drive queries shared by the port's lines ---
    // No drive on the port (or its status cannot be read).
    bool isEmpty();
    // The name ("u" + number, or "-") and status text of the drive's unit.
    void getUnitInfo(std::string& unitName, std::string& unitStatus);
    // The drive's unit name, "N/A" for none; CLI 20 for an empty port.
    std::string getUnitName();
    // The drive type (which 0) or attachment (which 1) of the drive's link.
    std::string getDriveInterfaceText(int which);
    // The number of the phy through which the drive is attached, 255 for a
    // drive attached through none; a failed lookup ends the command with
    // the library's error.
    uint8_t getPhyNumber();

    [[nodiscard]] const std::string& getName() const { return name; }
    [[nodiscard]] uint32_t getNumber() const { return number; }
    [[nodiscard]] ObjectId getObjectId() const { return id; }
    [[nodiscard]] const std::string& getPath() const { return path; }

    // The text of a drive link code: the drive type (which 0) or the
    // attachment (which 1); empty for an unknown code.
    static std::string interfaceText(uint8_t code, int which);

  private:
    // --- The command grammars ---
    void show(std::istream& words);
    void setCommand(std::istream& words);
    void removeCommand(std::istream& words);
    void setIdentify(const std::string& word, std::istream& words);

    // --- Attributes (devices/port_attributes.cpp) ---
    // One attribute line (or lines) of "show"; an unknown word prints a
    // note and is not an error.
    void showAttribute(const std::string& word);
    // The words "show all" stands for, each followed by a blank.
    void getShowAllWords(std::ostream& out);
    // A count line: the label first, a failed read caught and printed.
    template <class Read>
    void showCountLine(const char* label, Read read);
    void showWwn();
    void showPowerOnHours();
    void showIdentifyStatus();
    void showQueuing();
    void showLinkSpeed();
    void showDriveInterface();
    // The family and presence checks of an attribute word.
    void requireFamily6();
    void requireNotEmpty();
    // The drive sits in an enclosure slot (false when the lookup fails).
    bool isInEnclosureSlot();

    // --- Statistics views (devices/port_dpmstat.cpp) ---
    void showDpmstatCommand(std::istream& words);
    void showDpmstat(const std::string& type, bool withHeader);
    void showDpmstatHistogram(bool withHeader, uint32_t onDisk);
    void showDpmstatLongCommands(bool withHeader, uint32_t onDisk);
    // The port, status and unit columns; false when the rest of the row
    // has nothing to show (no drive, or a drive in no unit).
    bool showDpmstatPortColumns(bool full);
    // One row of the instantaneous or running-average statistics.
    void showStatisticsRow(bool withHeader, const std::function<int(DpmStats*)>& read);
    void setDpmstatCommand(std::istream& words);
    void clearDpmstat(const std::string& type);
    void showIostat();

    // The drive status for an attribute line: a failed read ends the
    // command with the library's error, an empty port with CLI 20.
    uint8_t requireDriveStatus();
    // One attribute line: path, label, value and a line end.
    void printLine(const std::string& label, const std::string& value) const;
    // The top-level unit number of the drive (255 for none) and the id of
    // the (sub)unit it belongs to; false when the lookup fails.
    bool driveUnit(uint8_t* unitNumber, ObjectId* unitId);
    // Reads the type of the drive's top-level unit; false when there is
    // none (no unit, "Invalid unit ID", "No unit" or a CBOD unit). Other
    // failures throw when `strict`, else count as no unit.
    bool hasUnit(uint8_t unitNumber, bool strict);
    // The enclosure slot that holds the drive: "/c0/e1/slt5" from the
    // newest family on, "/e1/slt5" below it; "-" when the port is in no
    // slot or the lookup fails.
    std::string getEnclosureSlotText();

    ControllerView* controller;  // not owned
    std::string name;
    uint32_t number;
    ObjectId id;
    std::string path;
};
