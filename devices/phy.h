// The command object of one SAS phy of a controller, /cN/phyM. It holds no
// phy state: the address, attached device and link speeds are read from
// the library whenever they are shown.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "api/object_id.h"
#include "base/controller_view.h"
#include "base/object.h"

class Phy : public Object {
  public:
    // The controller's phy `phyNumber`, named "phy" + number, with the
    // identifier the library made for it. Makes no library call.
    Phy(ControllerView* owner, const std::string& phyName, uint32_t phyNumber, ObjectId phyId);
    ~Phy() override;
    Phy(const Phy&) = delete;
    Phy& operator=(const Phy&) = delete;

    // "show", "set", "help" or "?"; CLI 137 for anything else.
    int execute(std::istream& words) override;

    // The words after "show": none or "all" print the table of this phy.
    void show(std::istream& words);
    // The words after "set": "link=" values and help requests.
    void set(std::istream& words);

    // The phy's row of the phy table, after the table header unless
    // `omitHeader`. A failed read of the current speed or the limit ends
    // the command with the library's error, in the middle of the row.
    void showRow(bool omitHeader);
    static void showHeader();

    // Sets the link speed limit to "auto", "1.5" or "3.0" (CLI 137 for any
    // other value, after the progress line has begun).
    void setLinkSpeedControl(const std::string& value);

    // --- The cells of the row ---
    // "SATA", "SAS", "ENCL", "ENCL-ERR"; "-" for any other type or a failed
    // read.
    std::string getDeviceTypeText();
    // The drive port attached through the phy, "/cN/pK"; "-" when the
    // library names no port.
    std::string getDeviceText();
    // "Unknown" when the read fails.
    std::string getLinkSpeedSupportedText();
    // These two throw the library's error when the read fails.
    std::string getLinkSpeedText();
    std::string getLinkSpeedControlText();

    [[nodiscard]] const std::string& getName() const { return name; }
    [[nodiscard]] uint32_t getNumber() const { return number; }
    [[nodiscard]] ObjectId getObjectId() const { return id; }
    [[nodiscard]] const std::string& getPath() const { return path; }

  private:
    // The SAS address as 16 hexadecimal digits; "-" when the read fails or
    // the first byte is 0.
    std::string getSasAddressText();

    ControllerView* owner;  // not owned
    std::string name;
    uint32_t number;
    ObjectId id;
    std::string path;
};
