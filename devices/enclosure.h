// The command object of one storage enclosure, managed over SES or SAF-TE,
// and the enclosure's element objects, which it owns: fans, drive slots,
// temperature sensors, power supplies, alarms and door locks.
//
// Enclosure objects are built afresh for every command:
// - EnclosureVantor: by a controller of the newest family, one per
//   enclosure it reports, named "e" + the enclosure number (/cN/eM);
// - EnclosureTevrin: by the controller manager for the enclosures of
//   family 6 and 7 controllers, named "e" + a running number (/eN);
// - a plain Enclosure: by the controller manager for the newest family's
//   enclosures, named "/cN/eM", for the enclosure summary only.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <string>

#include "api/object_id.h"
#include "base/controller_view.h"
#include "base/object.h"

class Alarm;
class Door;
class Fan;
class PowerSupply;
class Slot;
class TempSensor;

// What the status text and the summary rows of an enclosure show.
struct EnclosureSummary {
    std::string status;
    std::string protocol;
    uint32_t slots = 0;
    uint32_t drives = 0;
    uint32_t fans = 0;
    uint32_t tempSensors = 0;
    uint32_t powerSupplies = 0;
    uint32_t alarms = 0;
};

class Enclosure : public Object {
  public:
    // Element names are a prefix and a decimal number without leading
    // zeros ("slot2", "slot10"), ordered as text as the controller orders
    // its tree (slot10 before slot2); the tables walk them by number.
    template <class T>
    using ElementMap = std::map<std::string, std::unique_ptr<T>>;

    // Builds the enclosure `enclosureName` and loads its elements. Throws
    // the library's error when the protocol, the alarm list or an alarm's
    // number cannot be read.
    Enclosure(const std::string& enclosureName, uint32_t enclosureNumber, ObjectId enclosureId);
    ~Enclosure() override;
    Enclosure(const Enclosure&) = delete;
    Enclosure& operator=(const Enclosure&) = delete;

    // "help", "?" or "show"; CLI 115 without a word, 116 for another.
    int execute(std::istream& words) override;

    // --- Identity ---
    [[nodiscard]] std::string getPath() const { return path; }
    [[nodiscard]] const std::string& getName() const { return name; }
    [[nodiscard]] uint32_t getNumber() const { return number; }
    [[nodiscard]] ObjectId getObjectId() const { return id; }
    // "SES", "SAF-TE" or "Unknown", as read when the enclosure was built.
    [[nodiscard]] const std::string& getProtocol() const { return protocol; }
    // The number N of the controller /cN behind the enclosure.
    [[nodiscard]] uint32_t getControllerNumber() const { return controllerNumber; }
    // The family code of the enclosure's controller.
    [[nodiscard]] int32_t getFamily() const { return family; }
    // 1 when none of the fan, slot, power-supply and temperature-sensor
    // lists could be read.
    [[nodiscard]] uint32_t getNoElements() const { return noElements; }

    // The protocol as the library reports it now; a failed read throws the
    // library's error.
    std::string getProtocolText();

    // --- Elements by name; a missing name throws its CLI code ---
    Object* getSlot(const std::string& elementName);         // 113
    Object* getFan(const std::string& elementName);          // 114
    Object* getTempSensor(const std::string& elementName);   // 127
    Object* getPowerSupply(const std::string& elementName);  // 129
    Object* getAlarm(const std::string& elementName);        // 111
    Object* getDoor(const std::string& elementName);         // 111

    // Deletes the named element; the name must be in its map.
    int removeSlot(const std::string& elementName);
    int removeFan(const std::string& elementName);
    int removeTempSensor(const std::string& elementName);
    int removePowerSupply(const std::string& elementName);
    int removeAlarm(const std::string& elementName);
    int removeDoor(const std::string& elementName);

    [[nodiscard]] const ElementMap<Fan>& getFans() const { return fans; }
    [[nodiscard]] const ElementMap<Slot>& getSlots() const { return slots; }
    [[nodiscard]] const ElementMap<Door>& getDoors() const { return doors; }
    [[nodiscard]] const ElementMap<Alarm>& getAlarms() const { return alarms; }
    [[nodiscard]] const ElementMap<TempSensor>& getTempSensors() const { return tempSensors; }
    [[nodiscard]] const ElementMap<PowerSupply>& getPowerSupplies() const { return powerSupplies; }

    // --- Views (all read the library when they print) ---
    int show(std::istream& words);
    void showAttribute(const std::string& word);
    void showAllTables();
    void showStatusTable();
    void showFans();
    void showTempSensors();
    void showPowerSupplies();
    void showSlots();
    void showAlarms();
    void showHelpText();
    std::string getStatusText();
    void getSummary(EnclosureSummary& summary);
    uint32_t countDrives();
    std::string getVendor();
    std::string getProductId();
    std::string getProductRevision();
    // One row of the controller manager's enclosure summary: the newest
    // family's enclosures, and (legacy) the enclosures below the host.
    void showSummaryRow(bool withHeader);
    void showLegacySummaryRow(bool withHeader);

    // The enclosures the library lists for a controller; none when the
    // list cannot be read.
    static ObjectIdList16 readEnclosureIds(ObjectId controllerId);
    // The controller and enclosure numbers of an enclosure's id.
    struct Numbers {
        uint8_t controller = 0;
        uint8_t enclosure = 0;
    };
    static Numbers numbersOf(ObjectId enclosureId);

  protected:
    std::string protocol;
    uint32_t controllerNumber = 0;
    uint32_t noElements = 0;
    std::string path;
    std::string name;
    uint32_t number = 0;
    ObjectId id{};
    int32_t family = 0;
    ElementMap<Fan> fans;
    ElementMap<Slot> slots;
    ElementMap<Door> doors;
    ElementMap<Alarm> alarms;
    ElementMap<TempSensor> tempSensors;
    ElementMap<PowerSupply> powerSupplies;

  private:
    // Each loader reads its element list and makes one element per listed
    // identifier; false when the list or a number cannot be read (alarms
    // throw instead).
    bool loadFans();
    bool loadSlots();
    bool loadPowerSupplies();
    bool loadTempSensors();
    bool loadAlarms();
    bool loadDoors();
    // The help topic of the enclosure for "all".
    void showHelp();
};

// An enclosure of a newest-family controller, /cN/eM.
class EnclosureVantor : public Enclosure {
  public:
    EnclosureVantor(ControllerView* owner, const std::string& enclosureName,
                    uint32_t enclosureNumber, ObjectId enclosureId);
    ~EnclosureVantor() override;
};

// An enclosure of a family 6 or 7 controller, addressed below the host,
// /eN; the manager hands it its controller's number and family.
class EnclosureTevrin : public Enclosure {
  public:
    EnclosureTevrin(const std::string& enclosureName, uint32_t enclosureNumber,
                    uint32_t controllerNumberOfEnclosure, int32_t familyOfController,
                    ObjectId enclosureId);
    ~EnclosureTevrin() override;
};
